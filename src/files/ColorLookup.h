#pragma once

#include "files/GifPalettes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

// Maps a colour to the index of a palette entry. The palette is the one the reduced picture
// gets; a lookup may keep a cache, so looking up is not const.
class TColorLookup {
public:
    explicit TColorLookup(TGifColorMap Palette) : FPalette(std::move(Palette)) {}
    virtual ~TColorLookup() = default;
    TColorLookup(const TColorLookup&) = delete;
    TColorLookup& operator=(const TColorLookup&) = delete;

    // R, G and B are 0..255.
    virtual int Lookup(int R, int G, int B) = 0;

    const TGifColorMap& Palette() const { return FPalette; }
    int Colors() const { return static_cast<int>(FPalette.size()); }

protected:
    TGifColorMap FPalette;
};

// The 216-colour web palette: each channel rounds to a multiple of 51.
class TNetscapeColorLookup final : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(NetscapePalette()) {}
    int Lookup(int R, int G, int B) override {
        return 36 * ((R + 3) / 51) + 6 * ((G + 3) / 51) + (B + 3) / 51;
    }
};

// 256 greys by luminance.
class TGrayScaleLookup final : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(GrayScalePalette()) {}
    int Lookup(int R, int G, int B) override { return (77 * R + 150 * G + 29 * B) >> 8; }
};

// Black below a luminance threshold, white from it on.
class TMonochromeLookup final : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(MonochromePalette()) {}
    int Lookup(int R, int G, int B) override { return 77 * R + 150 * G + 29 * B < 32513 ? 0 : 1; }
};

// Nearest entry by the sum of channel differences, cached per cell of 5 bits a channel. The
// first colour looked up in a cell decides the cell for every later colour in it; at creation
// each palette entry claims its own cell, in index order. Results therefore depend on the
// order of the lookups, which the reduction keeps fixed.
class TFastColorLookup final : public TColorLookup {
public:
    explicit TFastColorLookup(TGifColorMap Palette);
    int Lookup(int R, int G, int B) override {
        const int Cell = ((B >> 3) << 10) | ((G >> 3) << 5) | (R >> 3);
        const std::uint16_t Index = FCache[Cell];
        return Index != Empty ? Index : Fill(Cell, R, G, B);
    }

private:
    static constexpr std::uint16_t Empty = 0xFFFF;
    int Fill(int Cell, int R, int G, int B);
    std::vector<std::uint16_t> FCache;
    // The palette by channel, padded to 256 with entries too far away to ever be nearest, so
    // the search is one fixed-length pass.
    alignas(64) std::int16_t FRed[256];
    alignas(64) std::int16_t FGreen[256];
    alignas(64) std::int16_t FBlue[256];
};

// Nearest entry by squared distance, the first entry winning ties (the desktop's rule for
// its palettes). Answers are remembered per exact colour; that changes no result.
class TSlowColorLookup final : public TColorLookup {
public:
    explicit TSlowColorLookup(TGifColorMap Palette);
    int Lookup(int R, int G, int B) override;
    // The same answer without the cache.
    int Nearest(int R, int G, int B) const;

private:
    static constexpr int CacheBits = 16;
    std::vector<std::uint32_t> FCache; // colour << 8 | index; 0xFFFFFFFF is empty
};

} // namespace zp
