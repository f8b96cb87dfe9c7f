// Any bytes given as a snapshot file: the records read back must be safe to decode, re-encode and
// write out again, whatever their fields hold.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/RecordIo.h"
#include "model/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto elements = etiqo::RecordsFromBytes(std::as_bytes(std::span(data, size)));
    for (const auto& element : elements) {
        (void)etiqo::ContentUtf8(*element);
        (void)etiqo::FaceNameUtf8(element->lfFont);
    }
    std::vector<std::byte> again;
    etiqo::AppendRecords(again, elements, /*skipCut=*/true);
    return 0;
}
