#include "model/RecordIo.h"

namespace etiqo {

void AppendRecords(std::vector<std::byte>& out, std::span<const std::unique_ptr<Element>> elements,
                   bool skipCut) {
    out.reserve(out.size() + elements.size() * kElementSize);
    for (const auto& element : elements) {
        if (skipCut && element->bCut != 0) {
            continue;
        }
        const ElementBytes bytes = BytesOf(*element);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

std::vector<std::unique_ptr<Element>> RecordsFromBytes(std::span<const std::byte> bytes) {
    std::vector<std::unique_ptr<Element>> elements;
    elements.reserve(bytes.size() / kElementSize);
    while (bytes.size() >= kElementSize) {
        elements.push_back(std::make_unique<Element>(ElementFromBytes(bytes.first<kElementSize>())));
        bytes = bytes.subspan(kElementSize);
    }
    return elements;
}

}  // namespace etiqo
