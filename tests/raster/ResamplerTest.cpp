#include "raster/Bitmap32.h"
#include "raster/Blend.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zp {
namespace {

// Opaque pixel whose blue channel encodes its position.
TColor32 At(int X, int Y) {
    return 0xFF000000u | static_cast<TColor32>(Y * 16 + X);
}

void Grid(TBitmap32& B, int W, int H) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) B.SetPixel(X, Y, At(X, Y));
}

TEST(NearestResampler, DoublesAndHalves) {
    TBitmap32 S, D;
    Grid(S, 3, 2);
    D.SetSize(6, 4);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 6; ++X) ASSERT_EQ(D.Pixel(X, Y), At(X / 2, Y / 2)) << X << "," << Y;

    Grid(S, 6, 4);
    D.SetSize(3, 2);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 3; ++X) ASSERT_EQ(D.Pixel(X, Y), At(2 * X, 2 * Y));
}

TEST(NearestResampler, SingleDestinationPixelTakesTheMiddle) {
    TBitmap32 S, D;
    Grid(S, 5, 4);
    D.SetSize(1, 1);
    D.Draw(TRect{0, 0, 1, 1}, TRect{1, 0, 5, 4}, S);
    EXPECT_EQ(D.Pixel(0, 0), At(2, 1)); // (1 + 5 - 1) div 2, (0 + 4 - 1) div 2
}

TEST(LinearResampler, EnlargementIsBilinearAsWritten) {
    TBitmap32 S, D;
    S.SetSize(2, 2);
    S.SetPixel(0, 0, 0xFF000000);
    S.SetPixel(1, 0, 0xFFFFFFFF);
    S.SetPixel(0, 1, 0xFF0000FF);
    S.SetPixel(1, 1, 0xFFFF0000);
    S.SetResamplerClassName("TLinearResampler");
    D.SetSize(4, 4);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);

    // Columns 0..3 sample x = -0.25 (clamped to 0), 0.25, 0.75, 1.25 (i + 1 reaches the
    // right edge: the right pixel alone). Left weights 256, 192, 64, 0; rows alike.
    const unsigned W[4] = {256, 192, 64, 0};
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) {
            const TColor32 Top = MixColor(S.Pixel(0, 0), S.Pixel(1, 0), W[X]);
            const TColor32 Bottom = MixColor(S.Pixel(0, 1), S.Pixel(1, 1), W[X]);
            ASSERT_EQ(D.Pixel(X, Y), MixColor(Top, Bottom, W[Y])) << X << "," << Y;
        }
    EXPECT_EQ(D.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(D.Pixel(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(D.Pixel(1, 0), 0xFF404040u); // (192 * (0 - 255) + 256 * 255 + 128) >> 8
}

TEST(LinearResampler, ReductionAveragesWithoutBias) {
    TBitmap32 S, D;
    S.SetResamplerClassName("TLinearResampler");
    S.SetSize(8, 6);
    S.Clear(0x80336699);
    D.SetSize(4, 3);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X) ASSERT_EQ(D.Pixel(X, Y), 0x80336699u); // weights sum to one

    // Black and white columns average to mid grey.
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 8; ++X) S.SetPixel(X, Y, X % 2 ? 0xFFFFFFFF : 0xFF000000);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    for (int X = 0; X < 4; ++X) {
        const int Grey = static_cast<int>(RedComponent(D.Pixel(X, 1)));
        EXPECT_NEAR(Grey, 128, 40) << X;
        EXPECT_EQ(AlphaComponent(D.Pixel(X, 1)), 255u);
    }

    // A white square in the top-left quarter: the far corner stays pure black.
    S.Clear(clBlack32);
    S.FillRect(0, 0, 4, 3, clWhite32);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    EXPECT_EQ(D.Pixel(0, 0), clWhite32);
    EXPECT_EQ(D.Pixel(3, 2), clBlack32);
    EXPECT_GT(RedComponent(D.Pixel(1, 0)), 128u);
    EXPECT_LT(RedComponent(D.Pixel(2, 0)), 128u);
}

TEST(LinearResampler, MixedDirectionsAndThinSources) {
    TBitmap32 S, D;
    S.SetResamplerClassName("TLinearResampler");
    Grid(S, 1, 3);
    D.SetSize(4, 6); // enlarges both ways, but a one-pixel source is not bilinear
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    for (int X = 0; X < 4; ++X) EXPECT_EQ(D.Pixel(X, 0), At(0, 0));

    Grid(S, 8, 2);
    D.SetSize(4, 4); // narrower and taller
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    // The outer rows sample one source row each; columns average neighbours, left to right.
    for (int X = 0; X < 4; ++X) {
        EXPECT_LT(BlueComponent(D.Pixel(X, 0)), 16u);
        EXPECT_GE(BlueComponent(D.Pixel(X, 3)), 16u);
        EXPECT_EQ(AlphaComponent(D.Pixel(X, 2)), 255u);
        if (X > 0) {
            EXPECT_GT(BlueComponent(D.Pixel(X, 0)), BlueComponent(D.Pixel(X - 1, 0)));
        }
    }
}

// A clipped transfer gives exactly the pixels of the unclipped one inside the clip.
TEST(Resamplers, ClippingDoesNotShiftTheSampling) {
    for (const char* Name : {"TNearestResampler", "TLinearResampler"}) {
        for (int Size : {7, 31}) { // reduction and enlargement of a 15 x 13 source
            TBitmap32 S, Full, Clipped;
            Grid(S, 15, 13);
            S.SetResamplerClassName(Name);
            Full.SetSize(40, 40);
            Clipped.SetSize(40, 40);
            const TRect DstRect{-3, 2, Size - 3, Size + 2};
            Full.Draw(DstRect, S.BoundsRect(), S);
            Clipped.SetClipRect({2, 5, 20, 9});
            Clipped.Draw(DstRect, S.BoundsRect(), S);
            for (int Y = 0; Y < 40; ++Y)
                for (int X = 0; X < 40; ++X) {
                    const bool In = Clipped.ClipRect().Contains(X, Y);
                    ASSERT_EQ(Clipped.Pixel(X, Y), In ? Full.Pixel(X, Y) : 0u)
                        << Name << " " << X << "," << Y;
                }
        }
    }
}

TEST(Resamplers, ResampledPixelsAreCombinedByDrawMode) {
    TBitmap32 S, D;
    S.SetSize(2, 2);
    S.Clear(0x80FF0000);
    S.SetDrawMode(dmBlend);
    D.SetSize(4, 4);
    D.Clear(0xFF0000FF);
    D.Draw(D.BoundsRect(), S.BoundsRect(), S);
    EXPECT_EQ(D.Pixel(2, 3), 0xC0800080u);
}

} // namespace
} // namespace zp
