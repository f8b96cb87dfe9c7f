#include "render/QrMask.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <mutex>

namespace etiqo {

namespace {

using Row = QrModules::Row;

constexpr int kVersions = 40;

int VersionOf(int size) {
    const int version = (size - 17) / 4;
    return (size - 17) % 4 == 0 && version >= 1 && version <= kVersions ? version : 0;
}

void Set(Row& row, int x) {
    row[x / 64] |= std::uint64_t{1} << (x % 64);
}

// The format information, 5 data bits (error correction level, mask) and 10 BCH bits, XOR 0x5412.
constexpr std::array<std::uint16_t, 32> kFormatWords = [] {
    std::array<std::uint16_t, 32> words{};
    for (unsigned data = 0; data < 32; ++data) {
        unsigned rest = data << 10;
        for (int bit = 14; bit >= 10; --bit) {
            if (rest & (1U << bit)) {
                rest ^= 0x537U << (bit - 10);
            }
        }
        words[data] = static_cast<std::uint16_t>(((data << 10) | rest) ^ 0x5412U);
    }
    return words;
}();

// Where bit i of the format word stands, both copies: {bit, row, column}, a row or column counted
// from the far side when negative.
struct FormatCell {
    int bit, row, column;
};
constexpr std::array<FormatCell, 30> kFormatCells = [] {
    std::array<FormatCell, 30> cells{};
    int n = 0;
    for (int i = 0; i < 6; ++i) {
        cells[n++] = {i, i, 8};
    }
    cells[n++] = {6, 7, 8};
    cells[n++] = {7, 8, 8};
    cells[n++] = {8, 8, 7};
    for (int i = 0; i < 6; ++i) {
        cells[n++] = {i + 9, 8, 5 - i};
    }
    for (int i = 0; i < 8; ++i) {
        cells[n++] = {i, 8, -1 - i};
    }
    for (int i = 0; i < 7; ++i) {
        cells[n++] = {i + 8, -7 + i, 8};
    }
    return cells;
}();

int CellIndex(int index, int size) {
    return index < 0 ? size + index : index;
}

bool MaskFlips(int mask, int x, int y) {
    switch (mask) {
        case 0:
            return (y + x) % 2 == 0;
        case 1:
            return y % 2 == 0;
        case 2:
            return x % 3 == 0;
        case 3:
            return (y + x) % 3 == 0;
        case 4:
            return (y / 2 + x / 3) % 2 == 0;
        case 5:
            return (y * x) % 6 == 0;
        case 6:
            return ((y * x) % 2 + (y * x) % 3) % 2 == 0;
        default:
            return ((y + x) % 2 + (y * x) % 3) % 2 == 0;
    }
}

// Centres of the alignment patterns along one axis.
std::vector<int> AlignmentCentres(int version) {
    if (version == 1) {
        return {};
    }
    const int size = 17 + 4 * version;
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres(count);
    centres[0] = 6;
    for (int i = count - 1, at = size - 7; i >= 1; --i, at -= step) {
        centres[i] = at;
    }
    return centres;
}

// What one version's masks flip, by row and by column, and where its format bits stand.
struct VersionTables {
    std::array<std::vector<Row>, 8> maskRows;
    std::array<std::vector<Row>, 8> maskColumns;
    std::vector<Row> formatRows;
};

VersionTables MakeTables(int version) {
    const int size = 17 + 4 * version;
    std::vector<std::vector<bool>> function(size, std::vector<bool>(size, false));
    const auto mark = [&](int y0, int x0, int height, int width) {
        for (int y = y0; y < y0 + height; ++y) {
            for (int x = x0; x < x0 + width; ++x) {
                function[y][x] = true;
            }
        }
    };
    mark(0, 0, 9, 9);  // finders with their separators, and the format bits beside them
    mark(0, size - 8, 9, 8);
    mark(size - 8, 0, 8, 9);  // with the dark module
    mark(6, 0, 1, size);      // timing
    mark(0, 6, size, 1);
    const std::vector<int> centres = AlignmentCentres(version);
    for (const int cy : centres) {
        for (const int cx : centres) {
            const bool underFinder =
                (cx == 6 && cy == 6) || (cx == 6 && cy == size - 7) || (cx == size - 7 && cy == 6);
            if (!underFinder) {
                mark(cy - 2, cx - 2, 5, 5);
            }
        }
    }
    if (version >= 7) {
        mark(0, size - 11, 6, 3);
        mark(size - 11, 0, 3, 6);
    }

    VersionTables tables;
    for (int mask = 0; mask < 8; ++mask) {
        tables.maskRows[mask].assign(size, Row{});
        tables.maskColumns[mask].assign(size, Row{});
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (!function[y][x] && MaskFlips(mask, x, y)) {
                    Set(tables.maskRows[mask][y], x);
                    Set(tables.maskColumns[mask][x], y);
                }
            }
        }
    }
    tables.formatRows.assign(size, Row{});
    for (const FormatCell& cell : kFormatCells) {
        Set(tables.formatRows[CellIndex(cell.row, size)], CellIndex(cell.column, size));
    }
    return tables;
}

const VersionTables& TablesFor(int version) {
    static std::array<std::once_flag, kVersions + 1> once;
    static std::array<VersionTables, kVersions + 1> tables;
    std::call_once(once[version], [version] { tables[version] = MakeTables(version); });
    return tables[version];
}

// std::popcount without the x86-64 baseline's missing instruction is a call into libgcc, a tenth of
// the choice's time; this is the same count inline.
constexpr int Population(std::uint64_t word) {
    word -= (word >> 1) & 0x5555555555555555ULL;
    word = (word & 0x3333333333333333ULL) + ((word >> 2) & 0x3333333333333333ULL);
    word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((word * 0x0101010101010101ULL) >> 56);
}
static_assert(Population(~std::uint64_t{0}) == 64 && Population(0x8000000000000001ULL) == 2);

// A line of W words with the bit operations the penalties need.
template <int W>
struct Bits {
    std::array<std::uint64_t, W> w{};

    static Bits Load(const Row& row) {
        Bits bits;
        std::copy_n(row.begin(), W, bits.w.begin());
        return bits;
    }
    static Bits Low(int count) {  // bits 0 … count − 1
        Bits bits;
        for (int i = 0; i < W; ++i) {
            const int here = std::clamp(count - 64 * i, 0, 64);
            bits.w[i] = here == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << here) - 1;
        }
        return bits;
    }
    // Bit x of the result is bit x + n (Down) or x − n (Up) of this, 0 past either end; 0 < n < 64.
    Bits Down(int n) const {
        Bits out;
        for (int i = 0; i < W; ++i) {
            out.w[i] = (w[i] >> n) | (i + 1 < W ? w[i + 1] << (64 - n) : 0);
        }
        return out;
    }
    Bits Up(int n) const {
        Bits out;
        for (int i = 0; i < W; ++i) {
            out.w[i] = (w[i] << n) | (i > 0 ? w[i - 1] >> (64 - n) : 0);
        }
        return out;
    }
    int Count() const {
        int count = 0;
        for (const std::uint64_t word : w) {
            count += Population(word);
        }
        return count;
    }
    bool None() const {
        return std::all_of(w.begin(), w.end(), [](std::uint64_t word) { return word == 0; });
    }
    friend Bits operator&(Bits a, const Bits& b) {
        for (int i = 0; i < W; ++i) {
            a.w[i] &= b.w[i];
        }
        return a;
    }
    friend Bits operator|(Bits a, const Bits& b) {
        for (int i = 0; i < W; ++i) {
            a.w[i] |= b.w[i];
        }
        return a;
    }
    friend Bits operator^(Bits a, const Bits& b) {
        for (int i = 0; i < W; ++i) {
            a.w[i] ^= b.w[i];
        }
        return a;
    }
    Bits operator~() const {
        Bits out;
        for (int i = 0; i < W; ++i) {
            out.w[i] = ~w[i];
        }
        return out;
    }
};

// Runs of five or more alike: 3 for five, one more for each further module.
template <int W>
int RunPenalty(const Bits<W>& line, const Bits<W>& pairs) {
    const Bits<W> same = ~(line ^ line.Down(1)) & pairs;  // module x as module x + 1
    const Bits<W> five = same & same.Down(1) & same.Down(2) & same.Down(3);
    const Bits<W> firsts = five & ~five.Up(1);
    return five.Count() + 2 * firsts.Count();
}

// Dark-light-dark-dark-dark-light-dark with four light modules, or the edge, before or after it.
template <int W>
int FinderLikePenalty(const Bits<W>& line) {
    const Bits<W> light = ~line;
    const Bits<W> pattern =
        line & light.Down(1) & line.Down(2) & line.Down(3) & line.Down(4) & light.Down(5) & line.Down(6);
    if (pattern.None()) {
        return 0;
    }
    const Bits<W> lightBefore = ~(line.Up(1) | line.Up(2) | line.Up(3) | line.Up(4));
    const Bits<W> lightAfter = ~(line.Down(7) | line.Down(8) | line.Down(9) | line.Down(10));
    return 40 * (pattern & (lightBefore | lightAfter)).Count();
}

template <int W>
int Penalty(const std::vector<Row>& rows, const std::vector<Row>& columns, int size) {
    const Bits<W> pairs = Bits<W>::Low(size - 1);
    int penalty = 0;
    int dark = 0;
    Bits<W> above;
    for (int y = 0; y < size; ++y) {
        const Bits<W> line = Bits<W>::Load(rows[y]);
        penalty += RunPenalty(line, pairs) + FinderLikePenalty(line);
        dark += line.Count();
        if (y > 0) {
            const Bits<W> alike = ~(line ^ above);
            const Bits<W> blocks = alike & alike.Down(1) & ~(line ^ line.Down(1)) & pairs;
            penalty += 3 * blocks.Count();
        }
        above = line;
    }
    for (int x = 0; x < size; ++x) {
        const Bits<W> line = Bits<W>::Load(columns[x]);
        penalty += RunPenalty(line, pairs) + FinderLikePenalty(line);
    }
    const double percentage = 100.0 * dark / (size * size);
    return penalty + 10 * static_cast<int>(std::fabs(percentage - 50.0) / 5.0);
}

int PenaltyOf(const std::vector<Row>& rows, const std::vector<Row>& columns, int size) {
    if (size <= 64) {
        return Penalty<1>(rows, columns, size);
    }
    return size <= 128 ? Penalty<2>(rows, columns, size) : Penalty<3>(rows, columns, size);
}

std::vector<Row> Columns(const std::vector<Row>& rows, int size) {
    std::vector<Row> columns(size, Row{});
    for (int y = 0; y < size; ++y) {
        for (int i = 0; i < 3; ++i) {
            for (std::uint64_t word = rows[y][i]; word != 0; word &= word - 1) {
                Set(columns[64 * i + std::countr_zero(word)], y);
            }
        }
    }
    return columns;
}

int FormatWordAt(const QrModules& modules) {
    int word = 0;
    for (const FormatCell& cell : kFormatCells) {
        const int row = CellIndex(cell.row, modules.size);
        const int column = CellIndex(cell.column, modules.size);
        if (row <= 8 && column <= 8 && modules.Dark(column, row)) {  // the copy by the top left finder
            word |= 1 << cell.bit;
        }
    }
    return word;
}

void PlaceFormat(std::vector<Row>& rows, std::vector<Row>& columns, int size, int word) {
    for (const FormatCell& cell : kFormatCells) {
        if ((word >> cell.bit) & 1) {
            const int row = CellIndex(cell.row, size);
            const int column = CellIndex(cell.column, size);
            Set(rows[row], column);
            Set(columns[column], row);
        }
    }
}

}  // namespace

int ChooseQrMask(QrModules& modules, int drawnMask) {
    const int size = modules.size;
    const int version = VersionOf(size);
    if (version == 0 || static_cast<int>(modules.rows.size()) != size || drawnMask < 0 || drawnMask > 7) {
        return -1;
    }
    const int drawnWord = FormatWordAt(modules);
    const auto data = std::find(kFormatWords.begin(), kFormatWords.end(), drawnWord);
    if (data == kFormatWords.end() || (data - kFormatWords.begin()) % 8 != drawnMask) {
        return -1;
    }
    const int level = static_cast<int>(data - kFormatWords.begin()) & 0x18;

    // Unmasked, format bits cleared: what every mask starts from.
    const VersionTables& tables = TablesFor(version);
    std::vector<Row> plain(size);
    for (int y = 0; y < size; ++y) {
        for (int i = 0; i < 3; ++i) {
            plain[y][i] = (modules.rows[y][i] ^ tables.maskRows[drawnMask][y][i]) & ~tables.formatRows[y][i];
        }
    }
    const std::vector<Row> plainColumns = Columns(plain, size);

    int best = -1;
    int bestPenalty = 0;
    std::vector<Row> rows(size);
    std::vector<Row> columns(size);
    for (int mask = 0; mask < 8; ++mask) {
        for (int y = 0; y < size; ++y) {
            for (int i = 0; i < 3; ++i) {
                rows[y][i] = plain[y][i] ^ tables.maskRows[mask][y][i];
                columns[y][i] = plainColumns[y][i] ^ tables.maskColumns[mask][y][i];
            }
        }
        PlaceFormat(rows, columns, size, kFormatWords[level | mask]);
        const int penalty = PenaltyOf(rows, columns, size);
        if (best < 0 || penalty < bestPenalty) {
            best = mask;
            bestPenalty = penalty;
            modules.rows = rows;
        }
    }
    return best;
}

}  // namespace etiqo
