#pragma once

// Independent encoders and decoders for the codec tests: libpng, libjpeg and giflib driven
// directly, so that the program's codecs are checked against the libraries and not against
// themselves.

#include "raster/Bitmap32.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zp::test {

using TBytes = std::vector<std::uint8_t>;

// Deterministic noise, the same on every platform.
class TCodecNoise {
public:
    explicit TCodecNoise(std::uint32_t Seed) : FState(Seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return FState;
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next() >> 24); }

private:
    std::uint32_t FState;
};

std::unique_ptr<TBitmap32> MakeBitmap(int W, int H, const std::function<TColor32(int X, int Y)>& Pixel);
// Every channel, alpha included, from the noise.
std::unique_ptr<TBitmap32> NoiseBitmap(int W, int H, std::uint32_t Seed);
std::vector<TColor32> Pixels(const TBitmap32& B);

// --- PNG through libpng
struct TPngLayout {
    TPngLayout(int W, int H, int AColorType, int ABitDepth, bool AInterlaced = false)
        : Width(W), Height(H), ColorType(AColorType), BitDepth(ABitDepth), Interlaced(AInterlaced) {}
    int Width = 0;
    int Height = 0;
    int ColorType = 2;
    int BitDepth = 8;
    bool Interlaced = false;
    // Packed rows as the PNG stores them (before filtering), top row first.
    TBytes Rows;
    std::vector<std::uint8_t> PaletteRGB; // 3 bytes an entry
    std::vector<std::uint8_t> TransAlpha; // palette tRNS
    std::optional<std::uint16_t> TransGray;
    std::optional<std::array<std::uint16_t, 3>> TransRGB;
};
TBytes WritePngWithLibpng(const TPngLayout& Layout);

struct TLibpngImage {
    bool Ok = false;
    std::string Message;
    int Width = 0;
    int Height = 0;
    TBytes RGBA; // 8 bits a channel, straight alpha
    TColor32 Pixel(int X, int Y) const;
};
// libpng's simplified reader, colours as stored (no gamma change).
TLibpngImage ReadPngWithLibpng(std::span<const std::uint8_t> Data);

// --- JPEG through libjpeg
struct TJpegLayout {
    TJpegLayout(int W, int H, int AComponents) : Width(W), Height(H), Components(AComponents) {}
    int Width = 0;
    int Height = 0;
    int Components = 3; // 1 grey, 3 RGB, 4 CMYK (stored as given, with the Adobe marker)
    TBytes Samples;
    int Quality = 100;
    bool Progressive = false;
};
TBytes WriteJpegWithLibjpeg(const TJpegLayout& Layout);

struct TLibjpegImage {
    bool Ok = false;
    std::string Message;
    int Width = 0;
    int Height = 0;
    int Components = 0;
    int ColorSpace = 0; // J_COLOR_SPACE of the file
    bool Progressive = false;
    bool JFIF = false;
    std::vector<std::uint16_t> LumaTable;   // quantisation table 0, natural order
    std::vector<std::uint16_t> ChromaTable; // table 1
    TBytes RGB;
};
TLibjpegImage ReadJpegWithLibjpeg(std::span<const std::uint8_t> Data);
// The quantisation tables libjpeg makes for Quality with baseline forced: {luma, chroma}.
std::pair<std::vector<std::uint16_t>, std::vector<std::uint16_t>> LibjpegTables(int Quality);

// --- GIF through giflib
struct TGifImageLayout {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
    std::vector<TColor32> LocalColors; // empty: none
    int TransparentIndex = -1;         // -1: no graphic control block
    TBytes Indices;                    // row by row from the top
};
struct TGifLayout {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    std::vector<TColor32> GlobalColors; // empty: none
    std::vector<TGifImageLayout> Images;
};
TBytes WriteGifWithGiflib(const TGifLayout& Layout);

// --- BMP by hand
struct TBmpLayout {
    int Width = 0;
    int Height = 0; // negative: top-down
    int BitCount = 24;
    std::uint32_t Compression = 0;
    int InfoSize = 40;
    std::vector<TColor32> Palette;    // written as B, G, R, 0 (B, G, R for InfoSize 12)
    std::vector<std::uint32_t> Masks; // after a 40-byte header, or inside a larger one
    TBytes PixelData;                 // as stored, rows padded
};
TBytes BuildBmp(const TBmpLayout& Layout);

// Reads a little-endian value from Data.
std::uint32_t U16At(std::span<const std::uint8_t> Data, std::size_t At);
std::uint32_t U32At(std::span<const std::uint8_t> Data, std::size_t At);
std::uint32_t U32BEAt(std::span<const std::uint8_t> Data, std::size_t At);

TBytes ReadFileBytes(const std::string& Path);

} // namespace zp::test
