#pragma once

#include "files/ColorLookup.h"
#include "files/GifPalettes.h"
#include "files/GifTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

class TBitmap32;

// A picture of at most 256 colours: one palette index per pixel, row by row from the top.
struct TReducedBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
    TGifColorMap Palette;
    bool Empty() const { return Width == 0 || Height == 0; }
};

// The palette and lookup a reduction uses for this picture (for rmQuantize and
// rmQuantizeWindows this runs the octree over the picture). Null for rmNone, and for rmPalette
// without a palette. Throws EGIFError for an unknown reduction, ReductionBits outside 1..8, or
// a given palette of more than 256 entries.
std::unique_ptr<TColorLookup> CreateColorLookup(const TBitmap32& Bitmap, TColorReduction Reduction,
                                                int ReductionBits = 8, const TGifColorMap* Palette = nullptr);

// Reduces a picture (alpha ignored) to at most 256 colours with the given palette choice and
// error diffusion, walking the rows in serpentine order for every mode. rmNone keeps the
// picture's own colours in order of first occurrence and throws EGIFError("Color table
// overflow") at the 257th. rmPalette uses Palette and gives an empty result without one.
// When Cancel becomes true the work stops and the result is empty.
TReducedBitmap ReduceColors(const TBitmap32& Bitmap, TColorReduction Reduction, TDitherMode DitherMode,
                            int ReductionBits = 8, const TGifColorMap* Palette = nullptr,
                            const std::atomic<bool>* Cancel = nullptr);

// Runs a ditherer with the lookup over the picture in serpentine order.
TReducedBitmap DitherBitmap(const TBitmap32& Bitmap, TColorLookup& Lookup, TDitherMode DitherMode,
                            const std::atomic<bool>* Cancel = nullptr);

} // namespace zp
