#pragma once
// Qt's 1-bit images keep the first dot of a byte in its high bit; libzint's module rows and the
// G4 coder keep it in the low bit.

#include <cstdint>

namespace etiqo {

constexpr std::uint8_t ReversedBits(std::uint8_t byte) {
    byte = static_cast<std::uint8_t>((byte & 0xF0) >> 4 | (byte & 0x0F) << 4);
    byte = static_cast<std::uint8_t>((byte & 0xCC) >> 2 | (byte & 0x33) << 2);
    return static_cast<std::uint8_t>((byte & 0xAA) >> 1 | (byte & 0x55) << 1);
}

}  // namespace etiqo
