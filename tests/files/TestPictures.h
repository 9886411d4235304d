#pragma once

#include "raster/Bitmap32.h"

#include <cstdint>
#include <functional>

namespace zp::test {

// Deterministic noise, the same on every platform.
class TNoise {
public:
    explicit TNoise(std::uint32_t Seed) : FState(Seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return FState;
    }
    int Range(int Lo, int Hi) {
        return Lo + static_cast<int>(Next() % static_cast<std::uint32_t>(Hi - Lo + 1));
    }

private:
    std::uint32_t FState;
};

inline void FillBitmap(TBitmap32& B, int W, int H, const std::function<TColor32(int X, int Y)>& Pixel) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) B.SetPixel(X, Y, Pixel(X, Y));
}

inline int ClampByte(int V) {
    return V < 0 ? 0 : (V > 255 ? 255 : V);
}

// Gradients in all three channels, a flat block, runs of equal colour and noise; the alpha
// varies too, which the reduction must ignore.
inline void GradientNoisePicture(TBitmap32& B, int W, int H, std::uint32_t Seed, int Noise = 24) {
    TNoise N(Seed);
    FillBitmap(B, W, H, [&](int X, int Y) {
        const unsigned Alpha = static_cast<unsigned>(N.Range(0, 255));
        if ((X / 9 + Y / 7) % 5 == 0) return Color32(200, 30, 60, Alpha);
        if (Y % 11 == 3) return Color32(20, 220, 40, Alpha);
        const int D = N.Range(-Noise, Noise);
        return Color32(static_cast<unsigned>(ClampByte(X * 255 / (W - 1) + D)),
                       static_cast<unsigned>(ClampByte(Y * 255 / (H - 1) - D)),
                       static_cast<unsigned>(ClampByte(((X + 2 * Y) * 3) % 256 + D / 2)), Alpha);
    });
}

} // namespace zp::test
