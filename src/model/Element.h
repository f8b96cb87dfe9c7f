#pragma once
// The 508-byte element record. Its bytes, exactly as they stand in memory, are the unit of
// label files, undo snapshots and the edit buffers, so the layout below is a file format.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>

namespace etiqo {

static_assert(std::endian::native == std::endian::little, "label files are little-endian records");

enum class ElementKind : std::int32_t { Text = 0, Picture = 1, Barcode = 2, Code2D = 3, Line = 4, Shape = 5 };

// Values of nShapeType.
enum ShapeType : std::int32_t {
    kShapeRectangle = 0,
    kShapeRoundedRectangle = 1,
    kShapeEllipse = 2,
    kShapeTriangle = 3,
    kShapeDiamond = 4,
};

// Values of nSerialMode.
enum SerialMode : std::int32_t { kSerialNone = 0, kSerialIncrement = 1, kSerialDecrement = 2 };

// Symbology numbers are zint's own, plus one of ours.
inline constexpr std::int32_t kSymbologyCode128 = 20;
inline constexpr std::int32_t kSymbologyQrCode = 58;
inline constexpr std::int32_t kSymbologyPdf417 = 55;
inline constexpr std::int32_t kSymbologyOwnEan13 = 113;  // drawn by our own EAN-13 painter

// Grip numbers held in nSize while the mouse edits an element.
inline constexpr std::int32_t kNoGrip = -1;
inline constexpr std::int32_t kTriangleApexGrip = 8;

// The Windows LOGFONTA layout, kept byte for byte because it lives inside the record.
struct LOGFONTA {
    std::int32_t lfHeight;
    std::int32_t lfWidth;
    std::int32_t lfEscapement;
    std::int32_t lfOrientation;
    std::int32_t lfWeight;
    std::uint8_t lfItalic;
    std::uint8_t lfUnderline;
    std::uint8_t lfStrikeOut;
    std::uint8_t lfCharSet;
    std::uint8_t lfOutPrecision;
    std::uint8_t lfClipPrecision;
    std::uint8_t lfQuality;
    std::uint8_t lfPitchAndFamily;
    char lfFaceName[32];  // GB18030 bytes, NUL-terminated when it fits
};
static_assert(sizeof(LOGFONTA) == 60);

struct GripPoint {
    std::int32_t x;
    std::int32_t y;
};

struct Element {
    ElementKind nKind;
    std::int32_t nPosX;  // dots; a line's start point
    std::int32_t nPosY;
    std::int32_t nWidth;
    std::int32_t nHeight;
    std::int32_t nImageWidth;  // picture: source pixels; 2D code: 100
    std::int32_t nImageHeight;
    std::int32_t nOrgWidth;  // the box as it stood after the last committed edit
    std::int32_t nOrgHeight;
    std::int32_t nOrgPosX;
    std::int32_t nOrgPosY;
    LOGFONTA lfFont;
    char str[256];  // content, GB18030 bytes: text, barcode data or the picture's path
    std::uint8_t bSelected;
    std::uint8_t padding[3];  // copied unchanged
    std::int32_t nSize;       // armed grip, kNoGrip when none
    std::int32_t nHitWidth;
    std::int32_t nHitHeight;
    std::int32_t nEscapement;  // tenths of a degree, counter-clockwise
    std::int32_t nEndX;        // line: end point in display pixels; shape: creation point / apex offset
    std::int32_t nEndY;
    std::int32_t nOrgEndX;
    std::int32_t nOrgEndY;
    std::int32_t nPenWidth;  // device pixels, never scaled
    std::int32_t nSymbology;
    GripPoint ptGrip[8];  // display pixels, written by every paint of a selected element
    std::int32_t nMinBarHeight;
    std::uint32_t hImage;  // handle into the symbol-image cache, 0 for none; never a pointer
    std::int32_t bShowText;
    std::int32_t nSerialMode;
    std::int32_t nSerialResetAt;
    std::int32_t nSerialResetTo;
    std::int32_t nSerialStep;
    std::int32_t nShapeType;
    std::int32_t nCornerSize;
    std::int32_t bCut;  // records with a non-zero bCut are left out of label files
};

inline constexpr std::size_t kElementSize = 508;

static_assert(sizeof(Element) == kElementSize);
static_assert(std::is_standard_layout_v<Element> && std::is_trivially_copyable_v<Element>);
static_assert(offsetof(Element, nKind) == 0);
static_assert(offsetof(Element, nPosX) == 4);
static_assert(offsetof(Element, nPosY) == 8);
static_assert(offsetof(Element, nWidth) == 12);
static_assert(offsetof(Element, nHeight) == 16);
static_assert(offsetof(Element, nImageWidth) == 20);
static_assert(offsetof(Element, nImageHeight) == 24);
static_assert(offsetof(Element, nOrgWidth) == 28);
static_assert(offsetof(Element, nOrgHeight) == 32);
static_assert(offsetof(Element, nOrgPosX) == 36);
static_assert(offsetof(Element, nOrgPosY) == 40);
static_assert(offsetof(Element, lfFont) == 44);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfHeight) == 44);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfWidth) == 48);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfEscapement) == 52);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfOrientation) == 56);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfWeight) == 60);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfItalic) == 64);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfUnderline) == 65);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfStrikeOut) == 66);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfCharSet) == 67);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfOutPrecision) == 68);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfClipPrecision) == 69);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfQuality) == 70);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfPitchAndFamily) == 71);
static_assert(offsetof(Element, lfFont) + offsetof(LOGFONTA, lfFaceName) == 72);
static_assert(offsetof(Element, str) == 104);
static_assert(offsetof(Element, bSelected) == 360);
static_assert(offsetof(Element, padding) == 361);
static_assert(offsetof(Element, nSize) == 364);
static_assert(offsetof(Element, nHitWidth) == 368);
static_assert(offsetof(Element, nHitHeight) == 372);
static_assert(offsetof(Element, nEscapement) == 376);
static_assert(offsetof(Element, nEndX) == 380);
static_assert(offsetof(Element, nEndY) == 384);
static_assert(offsetof(Element, nOrgEndX) == 388);
static_assert(offsetof(Element, nOrgEndY) == 392);
static_assert(offsetof(Element, nPenWidth) == 396);
static_assert(offsetof(Element, nSymbology) == 400);
static_assert(offsetof(Element, ptGrip) == 404);
static_assert(offsetof(Element, nMinBarHeight) == 468);
static_assert(offsetof(Element, hImage) == 472);
static_assert(offsetof(Element, bShowText) == 476);
static_assert(offsetof(Element, nSerialMode) == 480);
static_assert(offsetof(Element, nSerialResetAt) == 484);
static_assert(offsetof(Element, nSerialResetTo) == 488);
static_assert(offsetof(Element, nSerialStep) == 492);
static_assert(offsetof(Element, nShapeType) == 496);
static_assert(offsetof(Element, nCornerSize) == 500);
static_assert(offsetof(Element, bCut) == 504);

using ElementBytes = std::span<const std::byte, kElementSize>;

// A zero-filled record.
inline Element ZeroElement() {
    Element e;
    std::memset(&e, 0, sizeof e);
    return e;
}

// Records are copied as raw bytes; only one record may name a cached symbol image.
inline Element CopyElement(const Element& source) {
    Element copy = source;
    copy.hImage = 0;
    return copy;
}

inline ElementBytes BytesOf(const Element& e) {
    return ElementBytes(reinterpret_cast<const std::byte*>(&e), kElementSize);
}

// A record read from a file or a snapshot: the bytes as they stand, with no cached image.
inline Element ElementFromBytes(ElementBytes bytes) {
    Element e;
    std::memcpy(&e, bytes.data(), kElementSize);
    e.hImage = 0;
    return e;
}

// The content bytes up to the first NUL, never past the field (a hostile record may hold no NUL).
inline std::string_view ContentBytes(const Element& e) {
    return std::string_view(e.str, ::strnlen(e.str, sizeof e.str));
}

inline std::string_view FaceNameBytes(const LOGFONTA& f) {
    return std::string_view(f.lfFaceName, ::strnlen(f.lfFaceName, sizeof f.lfFaceName));
}

// nEscapement with a negative value counted as value + 3600.
inline std::int32_t NormalisedAngle(std::int32_t escapement) {
    return escapement < 0 ? escapement + 3600 : escapement;
}

}  // namespace etiqo
