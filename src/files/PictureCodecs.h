#pragma once

#include "raster/Bitmap32.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace zp {

// The picture formats a document can be opened from and a frame saved to.
enum TPictureFormat { pfNone, pfBMP, pfJPEG, pfGIF, pfPNG };

// The format named by a file extension (from the last dot on, dot included: ".jpg", ".jpeg",
// ".bmp", ".gif", ".png", in any letter case); pfNone for anything else.
TPictureFormat PictureFormatOfExtension(std::string_view Ext);

// Explicit limits of the decoders. A picture with more pixels is refused before any pixel
// memory is taken; memory that cannot be obtained is refused the same way.
struct TDecodeLimits {
    // A tiny file may claim any size; half the surface maximum (512 MiB of pixels) still opens
    // any photo a banner is made from.
    std::int64_t MaxPixels = TBitmap32::MaxPixels / 2;
    // The decoders size their row buffers by the width: no side may be longer than this.
    std::int64_t MaxSide = 65535;
    // Memory the JPEG decoder may take beyond the picture (coefficient buffers of progressive
    // files).
    long MaxJpegMemory = 256L * 1024 * 1024;
    // Progressive JPEG files with more scans are refused: each scan costs a pass over the
    // whole picture, so thousands of tiny scans would keep the decoder busy for minutes.
    int MaxJpegScans = 500;
};

// Decoders. Each returns a new surface of the picture's size or throws EFileError (never
// anything else) for data that are truncated, too large, malformed or of an unsupported
// variant. They never read outside Data.
//
// BMP: pixel for pixel; a 32-bit BMP keeps its fourth byte as alpha, every other depth is opaque.
std::unique_ptr<TBitmap32> DecodeBMP(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});
// JPEG, GIF (its first image) and PNG are drawn onto transparent black and then made opaque,
// so transparent areas end up black.
std::unique_ptr<TBitmap32> DecodeJPEG(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});
std::unique_ptr<TBitmap32> DecodeGIF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});
std::unique_ptr<TBitmap32> DecodePNG(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});
// The first image of a GIF as a browser shows it alone: the transparent colour, and the screen
// around a smaller image, stay transparent.
std::unique_ptr<TBitmap32> DecodeGIFWithAlpha(std::span<const std::uint8_t> Data,
                                              const TDecodeLimits& Limits = {});
// The decoder of Format (pfNone throws EFileError).
std::unique_ptr<TBitmap32> DecodePicture(std::span<const std::uint8_t> Data, TPictureFormat Format,
                                         const TDecodeLimits& Limits = {});

// What a PNG holds besides its colours.
enum TPngTransparency {
    ptNone,        // colour types 0 and 2 without tRNS
    ptAlpha,       // colour types 4 and 6: an alpha sample per pixel
    ptColorKey,    // colour types 0 and 2 with tRNS: one transparent colour
    ptPaletteAlpha // colour type 3 with tRNS
};

// A PNG with its own colours (not composed over anything) and the alpha its transparency
// gives: the alpha sample, 0 for the tRNS colour, the palette's tRNS entries; 255 elsewhere.
// Throws like the decoders above.
std::unique_ptr<TBitmap32> DecodePNGWithAlpha(std::span<const std::uint8_t> Data,
                                              TPngTransparency& Transparency,
                                              const TDecodeLimits& Limits = {});

// Encoders of a composed frame. Each throws EFileError for an empty surface.
// PNG: colour type 2, bit depth 8, the Sub filter on every row, zlib level 7, IDAT chunks of at
// most 65535 bytes, no chunks but IHDR, IDAT and IEND; alpha is dropped.
std::vector<std::uint8_t> EncodePNG(const TBitmap32& ABitmap32);
// The same with colour type 6, keeping every pixel's alpha.
std::vector<std::uint8_t> EncodeTransparentPNG(const TBitmap32& ABitmap32);
// Baseline sequential JFIF at quality 90 from red, green and blue; alpha is dropped.
std::vector<std::uint8_t> EncodeJPG(const TBitmap32& ABitmap32);
// Uncompressed 32-bit BMP, rows bottom-up, each pixel blue, green, red and its alpha byte.
std::vector<std::uint8_t> EncodeBitmap(const TBitmap32& ABitmap32);

} // namespace zp
