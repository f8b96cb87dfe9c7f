#include "model/Label.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace etiqo {
namespace {

// Positions of hostile records may sit at the int32 limits; pasting must not overflow them.
std::int32_t Nudged(std::int32_t value, std::int32_t delta) {
    const std::int64_t sum = std::int64_t{value} + delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

}  // namespace

Label::Label() : Label(SnapshotStore::ForCurrentUser()) {}

Label::Label(SnapshotStore snapshots) : m_snapshots(std::move(snapshots)) {}

void Label::SetLabelSize(int widthMM, int heightMM) {
    m_elements.clear();
    m_nLabelWidthMM = widthMM;
    m_nLabelHeightMM = heightMM;
}

void Label::Adopt(LabelFileContents contents, std::string fileName) {
    SetLabelSize(contents.widthMM, contents.heightMM);
    m_elements = std::move(contents.elements);
    m_strPrinterName = std::move(contents.printerName);
    m_strFileName = std::move(fileName);
}

void Label::SaveSnapshot() {
    if (m_elements.empty()) {
        return;
    }
    m_bModified = true;
    const int number = ++m_nUndoCount;
    // A folder that cannot be written still counts the label as changed; undo then steps only
    // among the snapshots that exist.
    if (!m_snapshots.Write(number, m_elements)) {
        m_snapshotFailed = true;
        return;
    }
    m_nUndoMax = number;
    m_nUndoPos = number;
}

bool Label::WriteBaseSnapshot() const {
    const bool written = m_snapshots.Write(0, m_elements);
    m_snapshotFailed = m_snapshotFailed || !written;
    return written;
}

bool Label::TakeSnapshotFailure() {
    if (!m_snapshotFailed || m_snapshotFailureTaken) {
        return false;
    }
    m_snapshotFailureTaken = true;
    return true;
}

void Label::StepUndo(int direction) {
    if (direction < 0) {
        if (m_nUndoPos <= 0) {
            return;
        }
        --m_nUndoPos;
        --m_nUndoCount;
    } else {
        ++m_nUndoCount;
        if (m_nUndoCount > m_nUndoMax) {
            m_nUndoCount = m_nUndoMax;
            return;
        }
        ++m_nUndoPos;
    }
    m_bModified = true;
    m_elements.clear();
    // A new label has no snapshot 0: before its first snapshot it was empty.
    if (m_nUndoPos == 0 && m_strFileName.empty()) {
        return;
    }
    if (auto restored = m_snapshots.Read(m_nUndoPos)) {
        m_elements = std::move(*restored);
    }
    if (m_nUndoPos < 0) {
        m_nUndoPos = 0;
    }
}

bool Label::HasSelection() const {
    return std::any_of(m_elements.begin(), m_elements.end(),
                       [](const ElementPtr& e) { return e->bSelected; });
}

void Label::CopySelection(CopyMark mark) {
    m_cutBuffer.clear();
    for (const ElementPtr& element : m_elements) {
        if (element->bSelected) {
            m_copyBuffer.push_back(std::make_unique<Element>(CopyElement(*element)));
            element->bCut = static_cast<std::int32_t>(mark);
        }
    }
}

void Label::CutSelection() {
    SaveSnapshot();
    auto selected = std::stable_partition(m_elements.begin(), m_elements.end(),
                                          [](const ElementPtr& e) { return !e->bSelected; });
    std::move(selected, m_elements.end(), std::back_inserter(m_cutBuffer));
    m_elements.erase(selected, m_elements.end());
}

bool Label::PasteBuffers() {
    const bool pasted = !m_copyBuffer.empty() || !m_cutBuffer.empty();
    for (ElementPtr& element : m_copyBuffer) {
        element->nPosX = Nudged(element->nPosX, 10);
        element->nPosY = Nudged(element->nPosY, 10);
        m_elements.push_back(std::move(element));
    }
    m_copyBuffer.clear();
    for (ElementPtr& element : m_cutBuffer) {
        m_elements.push_back(std::move(element));
    }
    m_cutBuffer.clear();
    return pasted;
}

bool Label::DeleteSelection() {
    const auto removed = std::erase_if(m_elements, [](const ElementPtr& e) { return e->bSelected != 0; });
    if (removed == 0) {
        return false;
    }
    SaveSnapshot();
    return true;
}

Element& Label::Append(const Element& e) {
    return *m_elements.emplace_back(std::make_unique<Element>(CopyElement(e)));
}

}  // namespace etiqo
