#pragma once
// The label being edited: everything the canvas owns apart from its window.
// Plain C++: the canvas widget, the print job, the command-line side and the tests all use it.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/Element.h"
#include "model/LabelContents.h"
#include "model/PrintSettings.h"
#include "model/SnapshotStore.h"

namespace etiqo {

// What Copy stores in the bCut of each element it copied: Keep (the Copy command) leaves it in
// the file, LeftOut makes the file writer leave it out.
enum class CopyMark : std::int32_t {
    Keep = 0,
    LeftOut = 1,
};

class Label {
public:
    Label();  // 50 × 80 mm at 203 dpi, snapshots in the private per-user folder
    // m_PrintSettings keeps its defaults: the canvas loads the settings file at its creation.
    explicit Label(SnapshotStore snapshots);

    // Label file state.
    std::string m_strFileName;     // UTF-8 path; empty for a new label
    std::string m_strPrinterName;  // UTF-8; empty until printed or opened from a file that names one

    int m_nLabelWidthMM = 50;
    int m_nLabelHeightMM = 80;
    int m_nDpiX = 203;  // a print job replaces both with the printer's resolution
    int m_nDpiY = 203;

    ElementList m_elements;
    ElementList m_copyBuffer;
    ElementList m_cutBuffer;

    // Undo counters: m_nUndoCount > 0 also means "changed since opened".
    int m_nUndoMax = 0;
    int m_nUndoPos = 0;
    int m_nUndoCount = 0;
    // Changed since opened or saved, kept apart from the counters: with snapshots failing the
    // counters can fall back to 0 while the label holds edits.
    bool m_bModified = false;
    // Whether closing must offer to save.
    bool HasUnsavedChanges() const { return m_nUndoCount > 0 || m_bModified; }

    std::deque<std::string> m_arrBatchFiles;  // UTF-8 paths queued for batch printing
    PrintSettings m_PrintSettings;

    // Deletes every element and sets the size (the canvas then lays itself out anew).
    void SetLabelSize(int widthMM, int heightMM);
    // Takes what a label file holds: size, elements and printer; fileName (UTF-8) becomes the
    // label's file name. Undo counters, buffers and the resolution stay as they are.
    void Adopt(LabelFileContents contents, std::string fileName);

    // Undo and redo over whole-label snapshot files. SaveSnapshot does nothing for an empty
    // list; StepUndo takes -1 (undo) or +1 (redo), and stepping beyond either end does nothing.
    void SaveSnapshot();
    void StepUndo(int direction);
    // Snapshot 0, the label as opened: written after every open attempt, the counters untouched.
    bool WriteBaseSnapshot() const;
    const SnapshotStore& Snapshots() const { return m_snapshots; }
    // True once per label, after the first snapshot that could not be written (the reason is in
    // Snapshots().LastError()): the user is told once that undo is not available.
    bool TakeSnapshotFailure();

    // Edit buffers. Copy empties the cut buffer, appends copies of the selected elements to the
    // copy buffer and marks the originals; Cut moves the selected elements to the cut buffer; Paste moves
    // both buffers' records to the end of the list (copies 10 dots down and right) and returns whether it
    // added anything. Only Cut takes a snapshot.
    bool HasSelection() const;
    void CopySelection(CopyMark mark);
    void CutSelection();  // snapshot before the change
    bool PasteBuffers();

    // Removes every selected element; one snapshot when something was removed.
    bool DeleteSelection();

    Element& Append(const Element& e);  // appends a copy at the end of the list (on top)

private:
    SnapshotStore m_snapshots;
    mutable bool m_snapshotFailed = false;
    bool m_snapshotFailureTaken = false;
};

}  // namespace etiqo
