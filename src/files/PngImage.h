#pragma once

#include "raster/Bitmap32.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zp {

// A PNG image of bit depth 8 as the writer serialises it: colour type, palette and the samples
// of every pixel, rows from the top, without filter bytes.
class TPNGImage {
public:
    enum TColorType : std::uint8_t {
        ctGrayscale = 0,
        ctRGB = 2,
        ctPalette = 3,
        ctGrayscaleAlpha = 4,
        ctRGBAlpha = 6
    };

    TPNGImage() = default;
    // Throws std::invalid_argument for a negative size, a colour type PNG does not define, or a
    // sample count that does not match.
    TPNGImage(int Width, int Height, TColorType ColorType, std::vector<std::uint8_t> Samples,
              std::vector<std::array<std::uint8_t, 3>> Palette = {});

    // The surface's red, green and blue (colour type 2); its alpha is dropped.
    static TPNGImage FromBitmap(const TBitmap32& ABitmap32);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TColorType ColorType() const { return FColorType; }
    int Channels() const;
    const std::vector<std::uint8_t>& Samples() const { return FSamples; }
    const std::vector<std::array<std::uint8_t, 3>>& Palette() const { return FPalette; }
    bool HasAlpha() const { return FColorType == ctGrayscaleAlpha || FColorType == ctRGBAlpha; }
    // The alpha sample of (X, Y); only for images with alpha.
    std::uint8_t AlphaAt(int X, int Y) const;
    void SetAlphaAt(int X, int Y, std::uint8_t Alpha);

    // Greyscale becomes greyscale with alpha, RGB becomes RGB with alpha, every alpha 255.
    // Other colour types are left as they are.
    void AddAlphaChannel();

    // The PNG file: IHDR, PLTE for palette images, IDAT chunks of at most 65535 bytes and IEND.
    // Every row uses the Sub filter; the data are deflated at zlib level 7.
    std::vector<std::uint8_t> SaveToBytes() const;

private:
    int FWidth = 0;
    int FHeight = 0;
    TColorType FColorType = ctRGB;
    std::vector<std::uint8_t> FSamples;
    std::vector<std::array<std::uint8_t, 3>> FPalette;
};

// Copies the surface's alpha into APNG when both have the same size: greyscale and RGB images
// first get an alpha channel; palette images are left unchanged.
void AssignTransparentToPNG(TPNGImage& APNG, const TBitmap32& ABitmap32);

} // namespace zp
