#pragma once

#include <cstdint>

namespace zp {

// Straight (not premultiplied) ARGB: alpha in bits 24-31, then red, green, blue.
// In memory (little-endian) the bytes are B, G, R, A.
using TColor32 = std::uint32_t;

// Platform colour, laid out $00BBGGRR; negative values name a system colour by their low byte.
using TColor = std::int32_t;

constexpr TColor32 clBlack32 = 0xFF000000u;
constexpr TColor32 clWhite32 = 0xFFFFFFFFu;
constexpr TColor32 clSilver32 = 0xFFC0C0C0u;
constexpr TColor32 clRed32 = 0xFFFF0000u;
constexpr TColor32 clTransparent32 = 0x00000000u;

constexpr unsigned AlphaComponent(TColor32 C) {
    return C >> 24;
}
constexpr unsigned RedComponent(TColor32 C) {
    return (C >> 16) & 0xFF;
}
constexpr unsigned GreenComponent(TColor32 C) {
    return (C >> 8) & 0xFF;
}
constexpr unsigned BlueComponent(TColor32 C) {
    return C & 0xFF;
}

constexpr TColor32 Color32(unsigned R, unsigned G, unsigned B, unsigned A = 255) {
    return ((A & 0xFF) << 24) | ((R & 0xFF) << 16) | ((G & 0xFF) << 8) | (B & 0xFF);
}

// The value of a system colour (index = low byte of a negative TColor), as $00BBGGRR.
// The defaults are the classic desktop values; the user interface may install the
// toolkit's current palette.
using TSysColorProvider = TColor (*)(int Index);
TColor GetSysColor(int Index);
void SetSysColorProvider(TSysColorProvider Provider);

// Platform colour to TColor32 (always opaque); system colours are resolved first.
TColor32 Color32(TColor WinColor);
// TColor32 to platform colour: alpha dropped, red and blue swapped back.
TColor WinColor(TColor32 Color);

// Alpha's low 8 bits become the alpha byte; the colour bits are kept.
constexpr TColor32 SetColorAlpha(TColor32 AColor, int Alpha) {
    return ((static_cast<std::uint32_t>(Alpha) & 0xFF) << 24) | (AColor & 0x00FFFFFFu);
}

} // namespace zp
