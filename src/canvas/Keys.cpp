#include "canvas/Keys.h"

#include <algorithm>
#include <iterator>

#include "canvas/EditTypes.h"

namespace etiqo {

KeyOutcome HandleEditKey(ElementList& elements, EditKey key) {
    const auto found =
        std::find_if(elements.begin(), elements.end(), [](const ElementPtr& e) { return e->bSelected != 0; });
    if (found == elements.end()) {
        return {};
    }
    Element& e = **found;
    const bool line = e.nKind == ElementKind::Line;
    const auto step = [](std::int32_t& field, int by) {
        field = SaturatedInt(static_cast<std::int64_t>(field) + by);
    };
    switch (key) {
        case EditKey::Up:
            if (line) {
                step(e.nPosY, -1);
                step(e.nEndY, -1);
            } else if (e.nPosY >= 0) {
                step(e.nPosY, -1);  // the top can reach -1 and no further
            }
            break;
        case EditKey::Down:
            step(e.nPosY, 1);
            if (line) {
                step(e.nEndY, 1);
            }
            break;
        case EditKey::Right:
            step(e.nPosX, 1);
            if (line) {
                step(e.nEndX, 1);
            }
            break;
        case EditKey::Left:
            step(e.nPosX, -1);
            if (line) {
                step(e.nEndX, -1);
            }
            break;
        case EditKey::Delete:
            return {true, static_cast<std::size_t>(std::distance(elements.begin(), found))};
    }
    return {true, std::nullopt};
}

}  // namespace etiqo
