#include "print/TextFormat.h"

#include <vector>

namespace etiqo {

std::string TrFormat(TextId id, std::initializer_list<std::string_view> arguments) {
    const std::vector<std::string_view> values(arguments);
    const std::string_view text = Tr(id);
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool placeholder =
            text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        if (!placeholder) {
            filled += text[i];
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(text[i + 1] - '1');
        if (index < values.size()) {
            filled += values[index];
        }
        ++i;
    }
    return filled;
}

}  // namespace etiqo
