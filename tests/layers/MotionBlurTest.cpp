#include "LiteralMotionBlur.h"
#include "layers/Filters.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace zp {
namespace {

std::vector<TColor32> Pixels(const TBitmap32& B) {
    return {B.Bits(), B.Bits() + static_cast<std::size_t>(B.Width()) * B.Height()};
}

void Blur(TBitmap32& B, TBlurDirection Direction, int Strength) {
    TMotionBlur Effect;
    Effect.SetEffectBitmap(&B);
    Effect.SetDirection(Direction);
    Effect.SetStrenght(Strength);
    Effect.MotionBlur();
}

// A figure layer bitmap: blend draw mode, merge combine mode.
void MakeFigureBitmap(TBitmap32& B, int W, int H) {
    B.SetSize(W, H);
    B.SetDrawMode(dmBlend);
    B.SetCombineMode(cmMerge);
}

TEST(MotionBlur, StrengthOneSmearsFourPixelsToTheRight) {
    TBitmap32 B;
    MakeFigureBitmap(B, 16, 9);
    const TColor32 Red = 0xFFFF0000;
    B.FillRect(3, 2, 9, 7, Red); // 6 x 5 square, columns 3..8, rows 2..6
    Blur(B, bldRight, 1);
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 16; ++X) {
            TColor32 Expected = 0;
            if (Y >= 2 && Y <= 6) {
                if (X >= 3 && X <= 8) Expected = Red;
                if (X >= 9 && X <= 12) {
                    const unsigned A = 255 - 51 * (X - 8);
                    Expected = Color32(A, 0, 0, A);
                }
            }
            EXPECT_EQ(B.Pixel(X, Y), Expected) << X << "," << Y;
        }
}

TEST(MotionBlur, OpaqueSurfaceIsUnchangedInEveryDirection) {
    std::mt19937 Rng(3);
    TBitmap32 B;
    MakeFigureBitmap(B, 11, 7);
    for (int Y = 0; Y < 7; ++Y)
        for (int X = 0; X < 11; ++X) B.SetPixel(X, Y, Rng() | 0xFF000000u);
    const auto Before = Pixels(B);
    for (int D = bldRight; D <= bldBottomRight; ++D) {
        Blur(B, static_cast<TBlurDirection>(D), 10);
        EXPECT_EQ(Pixels(B), Before) << D;
    }
}

TEST(MotionBlur, UnusableParametersLeaveTheSurfaceAlone) {
    std::mt19937 Rng(5);
    TBitmap32 B;
    MakeFigureBitmap(B, 8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) B.SetPixel(X, Y, Rng());
    const auto Before = Pixels(B);
    for (const int Strength : {0, -1, -1000}) {
        Blur(B, bldBottom, Strength);
        EXPECT_EQ(Pixels(B), Before) << Strength;
    }
    Blur(B, static_cast<TBlurDirection>(8), 3);
    EXPECT_EQ(Pixels(B), Before);

    TMotionBlur Unbound;
    Unbound.MotionBlur();
    TBitmap32 Empty;
    Blur(Empty, bldLeft, 3);
    EXPECT_TRUE(Empty.Empty());
}

// Random pictures built to give the fast path every case it distinguishes: runs of equal
// values, transparent pixels with and without colour, opaque pixels and partly transparent
// ones, single and in runs.
void MakeRandomPicture(TBitmap32& B, std::mt19937& Rng) {
    std::uniform_int_distribution<int> Size(1, 12);
    const int W = Size(Rng), H = Size(Rng);
    B.SetSize(W, H);
    std::vector<TColor32> Palette = {0, 0, 0x00FF8040, 0xFF102030, 0xFFFFFFFF};
    for (int I = 0; I < 5; ++I) Palette.push_back((Rng() & 0x00FFFFFF) | ((1 + Rng() % 254) << 24));
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            TColor32 C;
            if (X > 0 && Rng() % 3 == 0)
                C = B.Pixel(X - 1, Y);
            else if (Y > 0 && Rng() % 3 == 0)
                C = B.Pixel(X, Y - 1);
            else if (Rng() % 4 == 0)
                C = Rng();
            else
                C = Palette[Rng() % Palette.size()];
            B.SetPixel(X, Y, C);
        }
}

TEST(MotionBlur, EqualsTheLiteralStackingOfCopies) {
    std::mt19937 Rng(2024);
    int Compared = 0;
    for (const TCombineMode Combine : {cmBlend, cmMerge})
        for (const unsigned Master : {255u, 254u, 200u, 128u, 1u, 0u})
            for (int D = bldRight; D <= bldBottomRight; ++D)
                for (int Strength = 1; Strength <= 10; ++Strength)
                    for (int Round = 0; Round < 2; ++Round) {
                        TBitmap32 Fast, Literal;
                        MakeRandomPicture(Fast, Rng);
                        Fast.SetDrawMode(dmBlend);
                        Fast.SetCombineMode(Combine);
                        Fast.SetMasterAlpha(Master);
                        Literal.Assign(&Fast);
                        Blur(Fast, static_cast<TBlurDirection>(D), Strength);
                        LiteralMotionBlur(Literal, static_cast<TBlurDirection>(D), Strength);
                        ASSERT_EQ(Pixels(Fast), Pixels(Literal))
                            << "combine " << Combine << " master " << Master << " direction " << D
                            << " strength " << Strength << " size " << Fast.Width() << "x" << Fast.Height();
                        ++Compared;
                    }
    EXPECT_EQ(Compared, 2 * 6 * 8 * 10 * 2);
}

TEST(MotionBlur, EqualsTheLiteralStackingInTheOtherDrawModes) {
    std::mt19937 Rng(77);
    for (const TDrawMode Mode : {dmOpaque, dmTransparent})
        for (int D = bldRight; D <= bldBottomRight; ++D)
            for (const int Strength : {1, 4, 10}) {
                TBitmap32 Fast, Literal;
                MakeRandomPicture(Fast, Rng);
                Fast.SetDrawMode(Mode);
                Fast.SetOuterColor(0x00FF8040);
                Literal.Assign(&Fast);
                Blur(Fast, static_cast<TBlurDirection>(D), Strength);
                LiteralMotionBlur(Literal, static_cast<TBlurDirection>(D), Strength);
                ASSERT_EQ(Pixels(Fast), Pixels(Literal))
                    << "mode " << Mode << " direction " << D << " strength " << Strength;
            }
}

TEST(MotionBlur, LongLinesOfPartlyTransparentPixels) {
    // A soft-edged figure on a wide surface: long runs in the transparent surroundings and in a
    // partly transparent band, longer than the number of copies. A lowered opacity makes every
    // copy partly transparent; a very low one keeps the repeated layers changing for long.
    for (const unsigned Master : {255u, 128u, 9u})
        for (int D = bldRight; D <= bldBottomRight; ++D) {
            TBitmap32 Fast, Literal;
            MakeFigureBitmap(Fast, 70, 64);
            Fast.SetMasterAlpha(Master);
            Fast.FillRect(10, 10, 60, 54, 0x80336699);
            Fast.FillRect(20, 20, 50, 44, 0xFF336699);
            Fast.FillRect(30, 30, 31, 31, 0x40FF0000);
            Fast.FillRect(40, 25, 41, 40, 0x0AFFFFFF);
            Literal.Assign(&Fast);
            Blur(Fast, static_cast<TBlurDirection>(D), 10);
            LiteralMotionBlur(Literal, static_cast<TBlurDirection>(D), 10);
            ASSERT_EQ(Pixels(Fast), Pixels(Literal)) << "master " << Master << " direction " << D;
        }
}

} // namespace
} // namespace zp
