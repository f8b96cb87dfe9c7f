#pragma once
// The symbologies the barcode and 2D-code dialogs offer, in list order. The value is what
// nSymbology stores: zint's symbology number, or 113 for our own EAN-13 painter.

#include <cstdint>
#include <span>

namespace etiqo {

struct SymbologyChoice {
    const char* name;  // shown as it stands in both languages
    std::int32_t value;
};

inline constexpr SymbologyChoice kBarcodeSymbologies[] = {
    {"CODE_128", 20}, {"CODE_128B", 60}, {"CODE_39", 8},  {"EXCODE_39", 9}, {"CODE_93", 25},
    {"EAN_X", 13},    {"EAN_128", 16},   {"UPC_A", 34},   {"UPC_E", 37},    {"ITF_14", 89},
    {"CODE_32", 129}, {"CODEBAR", 18},   {"EAN-13", 113}, {"EAN-14", 72},
};

inline constexpr SymbologyChoice k2DSymbologies[] = {
    {"QRCode", 58},    {"PDF417", 55},       {"PDF417TRUNC", 56}, {"DATA_MATRIX", 71},
    {"MAXI CODE", 57}, {"GRID MATRIX", 142}, {"MICROPDF417", 84},
};

// The list position holding value, or -1 (the list then opens with nothing selected).
inline int SymbologyPosition(std::span<const SymbologyChoice> list, std::int32_t value) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].value == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace etiqo
