#pragma once
// Choosing a QR code's mask. libzint 2.11 scores the eight masks one module at a time, four fifths
// of its time for a small code, and a data run encodes a fresh QR code for every label. So the
// code is taken from libzint drawn with one mask it was told, and the masks are scored here on
// rows of bits, by libzint's rules and with its ties: the result is the symbol libzint would have
// chosen, dot for dot (checked against libzint in the tests).

#include <array>
#include <cstdint>
#include <vector>

namespace etiqo {

// A QR code's modules, row by row; module x of a row is bit x % 64 of word x / 64, dark = 1, and
// the bits past the last module are 0.
struct QrModules {
    using Row = std::array<std::uint64_t, 3>;  // 177 modules, version 40, at most
    static constexpr int kMaxSize = 177;

    int size = 0;
    std::vector<Row> rows;

    bool Dark(int x, int y) const { return (rows[y][x / 64] >> (x % 64)) & 1U; }
};

// Re-masks a QR code drawn with drawnMask to the mask with the lowest penalty, the lowest number
// among equals, and returns it. The penalties are ISO/IEC 18004's four, as libzint counts them:
// runs of five or more in a row or column, 2 × 2 blocks, 1:1:3:1:1 patterns with four light
// modules (or the edge) on either side, and the distance of the dark share from half in steps of
// 5 %, each mask scored with its format information in place. Returns -1, the modules untouched,
// when they are no QR code drawn with that mask.
int ChooseQrMask(QrModules& modules, int drawnMask);

}  // namespace etiqo
