#include "raster/Bitmap32.h"
#include "raster/Blend.h"

#include <gtest/gtest.h>

#include <random>

namespace zp {
namespace {

void Fill(TBitmap32& B, int W, int H, TColor32 C) {
    B.SetSize(W, H);
    B.Clear(C);
}

// Destination 6 x 5 of B, source 3 x 3 of F, drawn at (-1, 3): only the top-right 2 x 2 of
// the source lands, and the destination clip further removes column 0.
struct ClippedDraw {
    TBitmap32 Dst, Src;
    ClippedDraw(TColor32 B, TColor32 F) {
        Fill(Dst, 6, 5, B);
        Fill(Src, 3, 3, F);
        Dst.SetClipRect({1, 0, 6, 5});
    }
    // Pixels that may change: x = 1 (source column 2), y = 3, 4 (source rows 0, 1).
    void ExpectOnly(TColor32 Inside, TColor32 Outside) {
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 6; ++X) {
                const bool In = X == 1 && Y >= 3;
                EXPECT_EQ(Dst.Pixel(X, Y), In ? Inside : Outside) << X << "," << Y;
            }
    }
};

TEST(Transfer, ClippingInEveryDrawMode) {
    {
        ClippedDraw T(0xFF0000FF, 0x80FF0000);
        T.Dst.Draw(-1, 3, T.Src); // dmOpaque
        T.ExpectOnly(0x80FF0000, 0xFF0000FF);
    }
    {
        ClippedDraw T(0xFF0000FF, 0x80FF0000);
        T.Src.SetDrawMode(dmBlend);
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly(0xC0800080, 0xFF0000FF);
    }
    {
        ClippedDraw T(0x800000FF, 0x80FF0000);
        T.Src.SetDrawMode(dmBlend);
        T.Src.SetCombineMode(cmMerge);
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly(0xC0AA0055, 0x800000FF);
    }
    {
        ClippedDraw T(0xFF0000FF, 0x80FF0000);
        T.Src.SetDrawMode(dmTransparent);
        T.Src.SetOuterColor(0x80FF0000);
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly(0xFF0000FF, 0xFF0000FF); // every source pixel is the transparent colour
        T.Src.SetOuterColor(0);
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly(0x80FF0000, 0xFF0000FF);
    }
    {
        ClippedDraw T(0xFF0000FF, 0x80FF0000);
        T.Src.SetDrawMode(dmCustom); // without a callback: opaque
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly(0x80FF0000, 0xFF0000FF);
        T.Src.SetOnPixelCombine([](TColor32 F, TColor32& B, TColor32 M) { B = (F ^ B) + M; });
        T.Src.SetMasterAlpha(1);
        T.Dst.Draw(-1, 3, T.Src);
        T.ExpectOnly((0x80FF0000u ^ 0x80FF0000u) + 1, 0xFF0000FF);
    }
}

TEST(Transfer, MasterAlphaZeroChangesNothing) {
    TBitmap32 Dst, Src;
    Fill(Dst, 4, 4, 0xFF123456);
    Fill(Src, 4, 4, 0xFFFFFFFF);
    Src.SetDrawMode(dmBlend);
    Src.SetMasterAlpha(0);
    for (TCombineMode C : {cmBlend, cmMerge}) {
        Src.SetCombineMode(C);
        Dst.Draw(0, 0, Src);
        Dst.Draw(TRect{0, 0, 4, 4}, TRect{0, 0, 2, 2}, Src);
        for (int Y = 0; Y < 4; ++Y)
            for (int X = 0; X < 4; ++X) ASSERT_EQ(Dst.Pixel(X, Y), 0xFF123456u);
    }
}

TEST(Transfer, BlockUsesRowFormAndResampledUsesPixelFormOfMasterBlend) {
    TBitmap32 Dst, Src;
    Src.SetSize(2, 2);
    Src.Clear(0x01FF0000);
    Src.SetDrawMode(dmBlend);
    Src.SetMasterAlpha(128);

    Fill(Dst, 2, 2, 0xFF0000FF);
    Dst.Draw(0, 0, Src);
    EXPECT_EQ(Dst.Pixel(1, 1), 0xFE0100FEu);

    Fill(Dst, 4, 4, 0xFF0000FF);
    Dst.Draw(TRect{0, 0, 4, 4}, TRect{0, 0, 2, 2}, Src);
    EXPECT_EQ(Dst.Pixel(3, 3), 0xFF0000FFu);

    // Merge with master alpha: Fa := DT[M][Fa].
    Src.Clear(0xFFFF0000);
    Src.SetCombineMode(cmMerge);
    Fill(Dst, 2, 2, 0x800000FF);
    Dst.Draw(0, 0, Src);
    EXPECT_EQ(Dst.Pixel(0, 0), 0xC0AA0055u);
}

TEST(Transfer, SubRectanglesAndSourceOutsideItsBounds) {
    TBitmap32 Src, Dst;
    Src.SetSize(4, 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) Src.SetPixel(X, Y, 0xFF000000u | (Y * 16 + X));
    Fill(Dst, 4, 4, 0);
    Dst.Draw(TRect{0, 0, 2, 2}, TRect{2, 1, 4, 3}, Src);
    EXPECT_EQ(Dst.Pixel(0, 0), 0xFF000012u);
    EXPECT_EQ(Dst.Pixel(1, 1), 0xFF000023u);
    EXPECT_EQ(Dst.Pixel(2, 0), 0u);

    // Equal sizes but the source rectangle hangs over the edge: only real pixels move.
    Fill(Dst, 4, 4, 0);
    Dst.Draw(TRect{0, 0, 3, 3}, TRect{-1, -1, 2, 2}, Src);
    EXPECT_EQ(Dst.Pixel(0, 0), 0u);
    EXPECT_EQ(Dst.Pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(Dst.Pixel(2, 2), 0xFF000011u);

    EXPECT_THROW(Dst.Draw(TRect{0, 0, 2, 2}, TRect{2, 0, 1, 2}, Src), EBitmapError);
    try {
        Src.DrawTo(Dst, TRect{0, 0, 2, 2}, TRect{0, 3, 2, 1});
    } catch (const EBitmapError& E) {
        EXPECT_STREQ(E.what(), "Invalid SrcRect");
    }
}

TEST(Transfer, EmptySurfacesAndDrawingOntoItself) {
    TBitmap32 Empty, Dst;
    Fill(Dst, 2, 2, 0xFF010203);
    Dst.Draw(0, 0, Empty);
    Empty.Draw(0, 0, Dst);
    EXPECT_EQ(Dst.Pixel(0, 0), 0xFF010203u);

    TBitmap32 B;
    B.SetSize(4, 1);
    for (int X = 0; X < 4; ++X) B.SetPixel(X, 0, 0xFF000000u | X);
    B.Draw(1, 0, B); // overlapping: reads the original pixels
    EXPECT_EQ(B.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(B.Pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(B.Pixel(2, 0), 0xFF000001u);
    EXPECT_EQ(B.Pixel(3, 0), 0xFF000002u);
}

TEST(Transfer, DestinationReportsTheChangedArea) {
    TBitmap32 Src, Dst;
    Fill(Src, 3, 3, clWhite32);
    Fill(Dst, 10, 10, clBlack32);
    std::vector<TRect> Areas;
    Dst.OnAreaChanged.Add([&](TBitmap32&, const TRect& R) { Areas.push_back(R); });
    Dst.Draw(8, -1, Src);
    ASSERT_EQ(Areas.size(), 1u);
    EXPECT_EQ(Areas[0], (TRect{8, 0, 10, 2}));
    Dst.Draw(20, 20, Src); // entirely outside: no change
    EXPECT_EQ(Areas.size(), 1u);
}

// Whole-surface blend and merge against the pixel rules, with random content and offsets.
TEST(Transfer, BlendTransfersMatchPixelRulesOnRandomData) {
    std::mt19937 Rng(3);
    for (int Round = 0; Round < 30; ++Round) {
        TBitmap32 Src, Dst;
        Src.SetSize(1 + Rng() % 40, 1 + Rng() % 40);
        Dst.SetSize(1 + Rng() % 40, 1 + Rng() % 40);
        for (int I = 0; I < Src.Width() * Src.Height(); ++I) Src.Bits()[I] = Rng();
        for (int I = 0; I < Dst.Width() * Dst.Height(); ++I) Dst.Bits()[I] = Rng();
        TBitmap32 Before;
        Before.Assign(&Dst);
        const int OX = static_cast<int>(Rng() % 50) - 20, OY = static_cast<int>(Rng() % 50) - 20;
        const bool Merge = Round % 2;
        const unsigned M = Round % 3 == 0 ? 255 : Rng() % 256;
        Src.SetDrawMode(dmBlend);
        Src.SetCombineMode(Merge ? cmMerge : cmBlend);
        Src.SetMasterAlpha(M);
        Dst.Draw(OX, OY, Src);
        for (int Y = 0; Y < Dst.Height(); ++Y)
            for (int X = 0; X < Dst.Width(); ++X) {
                TColor32 E = Before.Pixel(X, Y);
                const int SX = X - OX, SY = Y - OY;
                if (SX >= 0 && SY >= 0 && SX < Src.Width() && SY < Src.Height()) {
                    const TColor32 F = Src.Pixel(SX, SY);
                    if (Merge)
                        E = M == 255 ? MergeColor(F, E) : MergeColorMaster(F, E, M);
                    else if (M == 255)
                        BlendColorStore(F, E);
                    else
                        E = BlendColorMasterRowPixel(F, E, M);
                }
                ASSERT_EQ(Dst.Pixel(X, Y), E) << X << "," << Y;
            }
    }
}

} // namespace
} // namespace zp
