#pragma once

#include "raster/Color32.h"

#include <cstdint>

namespace zp {

// Per-channel integer blend rules. Every exported pixel depends on these to the bit,
// so each function follows its rule literally; the row forms give the same results as
// calling the pixel forms in turn.

// Z = (W * (X - Y) + 256 * Y + 128) >> 8 for all four channels. W is the weight of X
// (0..255; 256 is accepted and yields X). Computed as W * X + (256 - W) * Y, two channels per
// multiply: each 16-bit lane stays below 65536, so no lane carries into the next.
constexpr TColor32 MixColor(TColor32 X, TColor32 Y, unsigned W) {
    const std::uint32_t IW = 256 - W;
    const std::uint32_t RB =
        (((X & 0x00FF00FFu) * W + (Y & 0x00FF00FFu) * IW + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t AG =
        (((X >> 8) & 0x00FF00FFu) * W + ((Y >> 8) & 0x00FF00FFu) * IW + 0x00800080u) & 0xFF00FF00u;
    return RB | AG;
}

// Mixes X into a stored pixel: W = 0 keeps B, W = 255 stores X.
constexpr void MixColorStore(TColor32 X, TColor32& B, unsigned W) {
    if (W == 0) return;
    if (W >= 255) {
        B = X;
        return;
    }
    B = MixColor(X, B, W);
}

// Z = (Fa * (Fc - Bc) + 256 * Bc + 128) >> 8 for all four channels, alpha included.
// No special cases: an opaque F over opaque black gives 254 for a channel value 255.
constexpr TColor32 BlendColor(TColor32 F, TColor32 B) {
    return MixColor(F, B, F >> 24);
}

// The form used whenever a transfer blends into a stored pixel: a transparent F keeps B,
// an opaque F is copied exactly.
constexpr void BlendColorStore(TColor32 F, TColor32& B) {
    const unsigned Fa = F >> 24;
    if (Fa == 0) return;
    if (Fa == 255) {
        B = F;
        return;
    }
    B = BlendColor(F, B);
}

// Blend with master alpha M, pixel form: W = ((M + 1) * Fa) >> 8.
constexpr TColor32 BlendColorMaster(TColor32 F, TColor32 B, unsigned M) {
    const unsigned Fa = F >> 24;
    if (Fa == 0) return B;
    const unsigned W = ((M + 1) * Fa) >> 8;
    if (W == 0) return B;
    return MixColor(F, B, W);
}

// Row form used by block transfers: W = ((Fa + 1) * M) >> 8.
constexpr TColor32 BlendColorMasterRowPixel(TColor32 F, TColor32 B, unsigned M) {
    const unsigned Fa = F >> 24;
    if (Fa == 0) return B;
    const unsigned W = ((Fa + 1) * M) >> 8;
    if (W == 0) return B;
    return MixColor(F, B, W);
}

// DT[a][b] = round(a * b / 255); RT[a][b] = round(b * 255 / a) keeping its low 8 bits,
// RT[0][b] = 0. Halves round to even.
extern const std::uint8_t (&DivTable)[256][256];
extern const std::uint8_t (&RcTable)[256][256];

// "Over" compositing onto a background that may itself be transparent.
TColor32 MergeColor(TColor32 F, TColor32 B);
// Fa is first replaced by DT[M][Fa].
TColor32 MergeColorMaster(TColor32 F, TColor32 B, unsigned M);

// Row operations: Dst[i] combined with Src[i] for Count pixels.
void BlendLine(const TColor32* Src, TColor32* Dst, int Count);
void BlendLineMaster(const TColor32* Src, TColor32* Dst, int Count, unsigned M);
void MergeLine(const TColor32* Src, TColor32* Dst, int Count);
void MergeLineMaster(const TColor32* Src, TColor32* Dst, int Count, unsigned M);

} // namespace zp
