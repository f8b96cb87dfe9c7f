// Any bytes given as a label file: reading, decoding the texts, stepping serials and encoding
// EAN-13 contents must never crash or read past a field.
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/Ean13.h"
#include "model/LabelFile.h"
#include "model/Serial.h"
#include "model/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const etiqo::LabelReadResult read = etiqo::ParseLabelFile(bytes, "fuzz.lab");
    if (!read) {
        return 0;
    }
    for (const etiqo::ElementPtr& element : read.contents->elements) {
        (void)etiqo::ContentUtf8(*element);
        (void)etiqo::FaceNameUtf8(element->lfFont);
        (void)etiqo::Ean13Code::Encode(etiqo::ContentBytes(*element));
        etiqo::AdvanceSerial(*element);
        const std::string reencoded = etiqo::Gb18030FromUtf8(etiqo::ContentUtf8(*element));
        etiqo::StoreGb18030(element->str, reencoded, etiqo::Overflow::Cut);
    }
    return 0;
}
