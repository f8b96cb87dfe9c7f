// One record's bytes (zero-padded to 508) stepped as a serial number many times: the counter must
// stay inside str, keep its NUL and never overflow, whatever step, mode and content it holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/Element.h"
#include "model/Serial.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    etiqo::Element element{};
    std::memcpy(&element, data, std::min(size, sizeof element));
    for (int i = 0; i < 64; ++i) {
        etiqo::AdvanceSerial(element);
    }
    return 0;
}
