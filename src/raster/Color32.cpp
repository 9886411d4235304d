#include "raster/Color32.h"

#include <array>

namespace zp {

namespace {

constexpr TColor RGB(unsigned R, unsigned G, unsigned B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

// Default desktop system colours by index.
constexpr std::array<TColor, 31> DefaultSysColors = {
    RGB(200, 200, 200), // scroll bar
    RGB(0, 0, 0),       // desktop background
    RGB(153, 180, 209), // active caption
    RGB(191, 205, 219), // inactive caption
    RGB(240, 240, 240), // menu
    RGB(255, 255, 255), // window
    RGB(100, 100, 100), // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(0, 0, 0),       // caption text
    RGB(180, 180, 180), // active border
    RGB(244, 247, 252), // inactive border
    RGB(171, 171, 171), // application work space
    RGB(0, 120, 215),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(240, 240, 240), // button face
    RGB(160, 160, 160), // button shadow
    RGB(109, 109, 109), // grey text
    RGB(0, 0, 0),       // button text
    RGB(0, 0, 0),       // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(105, 105, 105), // 3D dark shadow
    RGB(227, 227, 227), // 3D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
    RGB(0, 0, 0),       // unused
    RGB(0, 102, 204),   // hot light
    RGB(185, 209, 234), // gradient active caption
    RGB(215, 228, 242), // gradient inactive caption
    RGB(51, 153, 255),  // menu highlight
    RGB(240, 240, 240), // menu bar
};

TColor DefaultSysColor(int Index) {
    if (Index < 0 || Index >= static_cast<int>(DefaultSysColors.size())) return 0;
    return DefaultSysColors[static_cast<std::size_t>(Index)];
}

TSysColorProvider CurrentProvider = &DefaultSysColor;

} // namespace

TColor GetSysColor(int Index) {
    return CurrentProvider(Index);
}

void SetSysColorProvider(TSysColorProvider Provider) {
    CurrentProvider = Provider ? Provider : &DefaultSysColor;
}

TColor32 Color32(TColor WinColor) {
    if (WinColor < 0) WinColor = GetSysColor(WinColor & 0xFF);
    const auto C = static_cast<std::uint32_t>(WinColor);
    return 0xFF000000u | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

TColor WinColor(TColor32 Color) {
    return static_cast<TColor>(((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF));
}

} // namespace zp
