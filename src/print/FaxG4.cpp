#include "print/FaxG4.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace etiqo {

namespace {

// The modified Huffman codes of ITU-T T.4 (tables 2 and 3): {code, length in bits}.
struct Code {
    std::uint16_t bits;
    std::uint8_t length;
};

constexpr std::array<Code, 64> kWhiteTerminating{{
    {0x35, 8}, {0x07, 6}, {0x07, 4}, {0x08, 4}, {0x0B, 4}, {0x0C, 4}, {0x0E, 4}, {0x0F, 4},
    {0x13, 5}, {0x14, 5}, {0x07, 5}, {0x08, 5}, {0x08, 6}, {0x03, 6}, {0x34, 6}, {0x35, 6},
    {0x2A, 6}, {0x2B, 6}, {0x27, 7}, {0x0C, 7}, {0x08, 7}, {0x17, 7}, {0x03, 7}, {0x04, 7},
    {0x28, 7}, {0x2B, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x02, 8}, {0x03, 8}, {0x1A, 8},
    {0x1B, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
    {0x29, 8}, {0x2A, 8}, {0x2B, 8}, {0x2C, 8}, {0x2D, 8}, {0x04, 8}, {0x05, 8}, {0x0A, 8},
    {0x0B, 8}, {0x52, 8}, {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8},
    {0x59, 8}, {0x5A, 8}, {0x5B, 8}, {0x4A, 8}, {0x4B, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8},
}};
constexpr std::array<Code, 64> kBlackTerminating{{
    {0x37, 10}, {0x02, 3},  {0x03, 2},  {0x02, 2},  {0x03, 3},  {0x03, 4},  {0x02, 4},  {0x03, 5},
    {0x05, 6},  {0x04, 6},  {0x04, 7},  {0x05, 7},  {0x07, 7},  {0x04, 8},  {0x07, 8},  {0x18, 9},
    {0x17, 10}, {0x18, 10}, {0x08, 10}, {0x67, 11}, {0x68, 11}, {0x6C, 11}, {0x37, 11}, {0x28, 11},
    {0x17, 11}, {0x18, 11}, {0xCA, 12}, {0xCB, 12}, {0xCC, 12}, {0xCD, 12}, {0x68, 12}, {0x69, 12},
    {0x6A, 12}, {0x6B, 12}, {0xD2, 12}, {0xD3, 12}, {0xD4, 12}, {0xD5, 12}, {0xD6, 12}, {0xD7, 12},
    {0x6C, 12}, {0x6D, 12}, {0xDA, 12}, {0xDB, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
    {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
    {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2B, 12}, {0x2C, 12}, {0x5A, 12}, {0x66, 12}, {0x67, 12},
}};
// Make-up codes for 64, 128, … 1728.
constexpr std::array<Code, 27> kWhiteMakeUp{{
    {0x1B, 5}, {0x12, 5}, {0x17, 6}, {0x37, 7}, {0x36, 8}, {0x37, 8}, {0x64, 8}, {0x65, 8}, {0x68, 8},
    {0x67, 8}, {0xCC, 9}, {0xCD, 9}, {0xD2, 9}, {0xD3, 9}, {0xD4, 9}, {0xD5, 9}, {0xD6, 9}, {0xD7, 9},
    {0xD8, 9}, {0xD9, 9}, {0xDA, 9}, {0xDB, 9}, {0x98, 9}, {0x99, 9}, {0x9A, 9}, {0x18, 6}, {0x9B, 9},
}};
constexpr std::array<Code, 27> kBlackMakeUp{{
    {0x0F, 10}, {0xC8, 12}, {0xC9, 12}, {0x5B, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12},
    {0x6C, 13}, {0x6D, 13}, {0x4A, 13}, {0x4B, 13}, {0x4C, 13}, {0x4D, 13}, {0x72, 13},
    {0x73, 13}, {0x74, 13}, {0x75, 13}, {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13},
    {0x54, 13}, {0x55, 13}, {0x5A, 13}, {0x5B, 13}, {0x64, 13}, {0x65, 13},
}};
// Make-up codes for 1792, 1856, … 2560, shared by both colours.
constexpr std::array<Code, 13> kLongMakeUp{{
    {0x08, 11},
    {0x0C, 11},
    {0x0D, 11},
    {0x12, 12},
    {0x13, 12},
    {0x14, 12},
    {0x15, 12},
    {0x16, 12},
    {0x17, 12},
    {0x1C, 12},
    {0x1D, 12},
    {0x1E, 12},
    {0x1F, 12},
}};
// Two-dimensional modes (T.4 table 4); vertical by a1 - b1 from -3 to 3.
constexpr Code kPass{0x1, 4};
constexpr Code kHorizontal{0x1, 3};
constexpr std::array<Code, 7> kVertical{
    {{0x02, 7}, {0x02, 6}, {0x2, 3}, {0x1, 1}, {0x3, 3}, {0x03, 6}, {0x03, 7}}};
constexpr Code kEndOfLine{0x001, 12};

class BitWriter {
public:
    void Put(Code code) { Append(code.bits, code.length); }
    // `count` codes of a single 1 bit (vertical 0).
    void PutOnes(std::size_t count) {
        while (count > 0) {
            const int bits = static_cast<int>(std::min<std::size_t>(count, 32));
            Append((std::uint64_t{1} << bits) - 1, bits);
            count -= static_cast<std::size_t>(bits);
        }
    }
    void Run(int length, bool black) {
        for (; length >= 2560; length -= 2560) {
            Put(kLongMakeUp.back());
        }
        if (length >= 64) {
            const std::size_t index = static_cast<std::size_t>(length / 64 - 1);
            Put(index < 27 ? (black ? kBlackMakeUp : kWhiteMakeUp)[index] : kLongMakeUp[index - 27]);
        }
        Put((black ? kBlackTerminating : kWhiteTerminating)[static_cast<std::size_t>(length % 64)]);
    }
    void Reserve(std::size_t bytes) { m_out.reserve(bytes); }
    QByteArray Finish() {
        if (m_count > 0) {
            m_out.push_back(static_cast<char>(m_pending << (8 - m_count)));
            m_count = 0;
        }
        return QByteArray(m_out.data(), static_cast<qsizetype>(m_out.size()));
    }

private:
    void Append(std::uint64_t bits, int length) {
        m_pending = m_pending << length | bits;
        m_count += length;
        while (m_count >= 8) {
            m_count -= 8;
            m_out.push_back(static_cast<char>(m_pending >> m_count));
        }
    }

    std::vector<char> m_out;
    std::uint64_t m_pending = 0;  // its low m_count bits are still to be written
    int m_count = 0;
};

// Where the row changes colour, left to right (the first change is to black), then width three
// times: b2 may lie two past the last change. Read 64 dots at a time: a dot differs from the one
// before it where the word differs from itself moved one dot on.
void Changes(const uchar* row, int width, std::vector<int>& out) {
    out.clear();
    const int bytes = (width + 7) / 8;
    std::uint64_t before = 0;  // the last dot of the previous word
    for (int start = 0; start < bytes; start += 8) {
        std::uint64_t word = 0;
        if (bytes - start >= 8) {
            word = qFromLittleEndian<quint64>(row + start);  // the first dot in the low bit
        } else {
            for (int i = start; i < bytes; ++i) {
                word |= std::uint64_t{row[i]} << (8 * (i - start));
            }
        }
        std::uint64_t changes = word ^ (word << 1 | before);
        before = word >> 63;
        while (changes != 0) {
            const int x = start * 8 + std::countr_zero(changes);
            if (x >= width) {
                break;  // the padding after the last dot
            }
            out.push_back(x);
            changes &= changes - 1;
        }
    }
    out.insert(out.end(), 3, width);
}

}  // namespace

QByteArray EncodeFaxG4(const uchar* rows, int width, int height, qsizetype stride) {
    if (width <= 0 || height <= 0 || stride < (static_cast<qsizetype>(width) + 7) / 8) {
        return {};
    }
    BitWriter out;
    out.Reserve(static_cast<std::size_t>(height) * 8);
    std::vector<int> reference(3, width);  // the imaginary white row above the first
    std::vector<int> coding;
    const auto rowBytes = static_cast<std::size_t>((width + 7) / 8);
    for (int y = 0; y < height; ++y) {
        const uchar* row = rows + y * stride;
        // A row equal to the one above (bars, the rows of a code's module, blank paper) is a
        // vertical 0 for each change and one for the end.
        if (y > 0 && std::memcmp(row, row - stride, rowBytes) == 0) {
            out.PutOnes(reference.size() - 2);
            continue;
        }
        Changes(row, width, coding);
        int a0 = -1;  // before the first dot, white
        bool black = false;
        std::size_t next = 0;     // coding[next] is a1, the first change right of a0
        std::size_t refNext = 0;  // reference[refNext] is b1
        while (a0 < width) {
            // b1: the first change right of a0 to the colour a0 is not. a0 may have moved left of
            // the last b1 (vertical modes), so look back first.
            while (refNext > 0 && reference[refNext - 1] > a0) {
                --refNext;
            }
            while (reference[refNext] <= a0) {
                ++refNext;
            }
            if ((refNext % 2 == 1) != black) {
                ++refNext;
            }
            const int a1 = coding[next];
            const int b1 = reference[refNext];
            const int b2 = reference[refNext + 1];
            if (b2 < a1) {
                out.Put(kPass);
                a0 = b2;
            } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
                out.Put(kVertical[static_cast<std::size_t>(a1 - b1 + 3)]);
                a0 = a1;
                black = !black;
                ++next;
            } else {
                const int a2 = coding[next + 1];
                out.Put(kHorizontal);
                out.Run(a1 - std::max(a0, 0), black);
                out.Run(a2 - a1, !black);
                a0 = a2;
                next += 2;
            }
        }
        std::swap(reference, coding);
    }
    out.Put(kEndOfLine);
    out.Put(kEndOfLine);
    return out.Finish();
}

}  // namespace etiqo
