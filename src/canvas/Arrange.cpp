#include "canvas/Arrange.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <vector>

#include "canvas/EditTypes.h"
#include "model/Geometry.h"

namespace etiqo {
namespace {

bool Placeable(const Element& e) {
    return e.bSelected && e.nEscapement == 0;
}

// The extent a group alignment measures. A barcode counts by its hit size when a renderer has
// filled it, else by the box it is drawn into, so it never aligns by its left edge alone.
std::int32_t AlignWidth(const Element& e) {
    return e.nKind == ElementKind::Barcode && e.nHitWidth != 0 ? e.nHitWidth : e.nWidth;
}
std::int32_t AlignHeight(const Element& e) {
    return e.nKind == ElementKind::Barcode && e.nHitHeight != 0 ? e.nHitHeight : e.nHeight;
}

void AlignEdges(ElementList& elements, AlignMode mode) {
    std::int64_t reference = 0;
    bool first = true;
    for (const auto& item : elements) {
        const Element& e = *item;
        if (!Placeable(e)) {
            continue;
        }
        std::int64_t edge = 0;
        switch (mode) {
            case AlignMode::Left:
                edge = e.nPosX;
                break;
            case AlignMode::Right:
                edge = static_cast<std::int64_t>(e.nPosX) + AlignWidth(e);
                break;
            case AlignMode::Top:
                edge = e.nPosY;
                break;
            default:
                edge = static_cast<std::int64_t>(e.nPosY) + AlignHeight(e);
                break;
        }
        const bool smallest = mode == AlignMode::Left || mode == AlignMode::Top;
        if (first || (smallest ? edge < reference : edge > reference)) {
            reference = edge;
            first = false;
        }
    }
    for (auto& item : elements) {
        Element& e = *item;
        if (!Placeable(e)) {
            continue;
        }
        switch (mode) {
            case AlignMode::Left:
                e.nPosX = SaturatedInt(reference);
                break;
            case AlignMode::Right:
                e.nPosX = SaturatedInt(reference - AlignWidth(e));
                break;
            case AlignMode::Top:
                e.nPosY = SaturatedInt(reference);
                break;
            default:
                e.nPosY = SaturatedInt(reference - AlignHeight(e));
                break;
        }
    }
}

bool Reorder(ElementList& elements, AlignMode mode) {
    const auto found =
        std::find_if(elements.begin(), elements.end(), [](const ElementPtr& e) { return e->bSelected != 0; });
    if (found == elements.end()) {
        return false;
    }
    const auto i = static_cast<std::size_t>(std::distance(elements.begin(), found));
    const std::size_t last = elements.size() - 1;
    std::size_t to = i;
    switch (mode) {
        case AlignMode::MoveToFront:
            to = last;
            break;
        case AlignMode::MoveToBack:
            to = 0;
            break;
        case AlignMode::BringForward:
            if (i == last) {
                return false;
            }
            to = i + 1;
            break;
        default:  // AlignMode::SendBackward
            if (i == 0) {
                return false;
            }
            to = i - 1;
            break;
    }
    ElementPtr moving = std::move(elements[i]);
    elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(i));
    elements.insert(elements.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
    return true;
}

// Spaces the left (or top) edges evenly between the first and the last, in edge order.
void SpaceEvenly(ElementList& elements, bool horizontal) {
    const auto coordinate = [horizontal](const Element* e) -> std::int32_t {
        return horizontal ? e->nPosX : e->nPosY;
    };
    std::vector<Element*> ordered;
    for (auto& item : elements) {
        if (!item->bSelected) {
            continue;
        }
        // Among equal edges the later element goes first.
        const auto before = std::find_if(ordered.begin(), ordered.end(), [&](const Element* other) {
            return coordinate(other) >= coordinate(item.get());
        });
        ordered.insert(before, item.get());
    }
    if (ordered.size() < 2) {
        return;
    }
    const auto n = static_cast<std::int64_t>(ordered.size());
    const std::int64_t step =
        (static_cast<std::int64_t>(coordinate(ordered.back())) - coordinate(ordered.front())) / (n - 1);
    for (std::size_t k = 1; k < ordered.size(); ++k) {
        const std::int32_t value = SaturatedInt(coordinate(ordered[k - 1]) + step);
        (horizontal ? ordered[k]->nPosX : ordered[k]->nPosY) = value;
    }
}

}  // namespace

std::int32_t LabelDotsWhole(int dpi, int mm) {
    return TruncToInt(static_cast<double>(dpi) * mm / 25.4 + 0.5);
}

void PositionElement(ElementList& elements, PositionMode mode, std::int32_t labelWidth,
                     std::int32_t labelHeight) {
    for (auto& item : elements) {
        Element& e = *item;
        if (!Placeable(e)) {
            continue;
        }
        switch (mode) {
            case PositionMode::Top:
                e.nPosY = 0;
                break;
            case PositionMode::Bottom:
                e.nPosY = SaturatedInt(static_cast<std::int64_t>(labelHeight) - e.nHeight);
                break;
            case PositionMode::Left:
                e.nPosX = 0;
                break;
            case PositionMode::Right:
                e.nPosX = SaturatedInt(static_cast<std::int64_t>(labelWidth) - e.nWidth);
                break;
            case PositionMode::VerticalCenter:
                e.nPosY = SaturatedInt((static_cast<std::int64_t>(labelHeight) - e.nHeight) / 2);
                break;
            case PositionMode::HorizontalCenter:
                e.nPosX = SaturatedInt((static_cast<std::int64_t>(labelWidth) - e.nWidth) / 2);
                break;
        }
    }
}

bool AlignElement(ElementList& elements, AlignMode mode) {
    switch (mode) {
        case AlignMode::Left:
        case AlignMode::Right:
        case AlignMode::Top:
        case AlignMode::Bottom:
            AlignEdges(elements, mode);
            return true;
        case AlignMode::MoveToFront:
        case AlignMode::MoveToBack:
        case AlignMode::BringForward:
        case AlignMode::SendBackward:
            return Reorder(elements, mode);
        case AlignMode::SpaceHorizontally:
        case AlignMode::SpaceVertically:
            SpaceEvenly(elements, mode == AlignMode::SpaceHorizontally);
            return true;
        default:
            return false;
    }
}

bool RotateSelection(ElementList& elements, std::int32_t delta,
                     const std::function<void(std::uint32_t handle)>& releaseSymbol) {
    bool any = false;
    for (auto& item : elements) {
        Element& e = *item;
        if (!e.bSelected) {
            continue;
        }
        any = true;
        // C++ remainder takes the sign of the dividend, as the stored angles expect.
        e.nEscapement = static_cast<std::int32_t>((static_cast<std::int64_t>(e.nEscapement) + delta) % 3600);
        e.lfFont.lfEscapement = e.nEscapement;
        if (e.hImage != 0) {
            if (releaseSymbol) {
                releaseSymbol(e.hImage);
            }
            e.hImage = 0;  // encoded again at the new angle
        }
    }
    return any;
}

}  // namespace etiqo
