#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace zp {

// One entry of a GIF colour table.
struct TGifColor {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const TGifColor&, const TGifColor&) = default;
};

using TGifColorMap = std::vector<TGifColor>;

// Failures of colour reduction and of the GIF image object. The messages are the program's
// own texts and are shown to the user as they stand.
class EGIFError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr const char* SColorTableOverflow = "Color table overflow";
constexpr const char* SColorNotInColorTable = "Color not in color table";
constexpr const char* SNoPaletteForReduction = "No palette for the color reduction";
constexpr const char* SUnknownColorReduction = "Unknown color reduction";
constexpr const char* SUnknownDitherMode = "Unknown dither mode";
constexpr const char* SImageTooLargeForGif = "Image too large for GIF";

// The desktop's 20 reserved colours: 10 at the start and 10 at the end of its palettes.
const TGifColorMap& Windows20Palette();
// The desktop's 256-colour halftone palette as handed out on true-colour displays: the first
// ten reserved colours, 236 entries of an 8 x 8 x 4 grid (red and green in steps of 32, blue in
// steps of 64, red varying fastest), the last ten reserved colours.
const TGifColorMap& WindowsHalftonePalette();
// (0,0,0), (128,128,128), (192,192,192), (255,255,255).
const TGifColorMap& WindowsGrayPalette();
// Black, white.
const TGifColorMap& MonochromePalette();
// Entry i = (i, i, i).
const TGifColorMap& GrayScalePalette();
// Entry 36 r + 6 g + b = (51 r, 51 g, 51 b): red varies slowest.
const TGifColorMap& NetscapePalette();

} // namespace zp
