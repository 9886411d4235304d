#include "layers/GeneralGraphicFunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace zp {
namespace {

using GGF = TGeneralGraphicFunctions;

std::vector<TColor32> Pixels(const TBitmap32& B) {
    return {B.Bits(), B.Bits() + static_cast<std::size_t>(B.Width()) * B.Height()};
}

void Filled(TBitmap32& B, int W, int H, TColor32 C) {
    B.SetSize(W, H);
    B.Clear(C);
}

TEST(Gradient, CoincidingPointsChangeNothing) {
    std::mt19937 Rng(9);
    TBitmap32 B;
    B.SetSize(7, 5);
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 7; ++X) B.SetPixel(X, Y, Rng());
    const auto Before = Pixels(B);
    for (int S = shpLinear; S <= shpSqareTransp; ++S) {
        GGF::CreateGradient(static_cast<TShapeType>(S), 0xFF000000, 0xFFFFFFFF, {3, 2}, {3, 2}, B);
        EXPECT_EQ(Pixels(B), Before) << S;
    }
}

TEST(Gradient, LinearColourAcrossTwentyOneColumns) {
    TBitmap32 B;
    Filled(B, 21, 3, 0x12345678);
    GGF::CreateColorGradient(0xFF000000, 0xFFFFFFFF, {0, 0}, {10, 0}, B);
    for (int Y = 0; Y < 3; ++Y) {
        EXPECT_EQ(B.Pixel(0, Y), 0xFF000000u);
        EXPECT_EQ(B.Pixel(2, Y), 0xFF333333u);  // 255 x 0.2 = 51
        EXPECT_EQ(B.Pixel(5, Y), 0xFF808080u);  // 127.5 rounds to the even 128
        EXPECT_EQ(B.Pixel(10, Y), 0xFFFFFFFFu); // t = 1 at Stop
        EXPECT_EQ(B.Pixel(20, Y), 0xFFFFFFFFu); // and beyond it
        for (int X = 0; X < 21; ++X) EXPECT_EQ(B.Pixel(X, Y), B.Pixel(X, 0));
    }
}

TEST(Gradient, ColourChannelsRoundHalfToEvenAlphaIncluded) {
    // At t = 0.5 the channel steps 1, 3, 5, 7 give 0.5, 1.5, 2.5, 3.5: 0, 2, 2, 4.
    TBitmap32 B;
    Filled(B, 3, 1, 0);
    GGF::CreateColorGradient(0x00000000, 0x07010305, {0, 0}, {2, 0}, B);
    EXPECT_EQ(B.Pixel(0, 0), 0x00000000u);
    EXPECT_EQ(B.Pixel(1, 0), 0x04000202u);
    EXPECT_EQ(B.Pixel(2, 0), 0x07010305u);
}

TEST(Gradient, LinearProjectsOntoTheDirection) {
    // A diagonal gradient from (2, 2) to (6, 6): pixels on a line across the direction share t,
    // pixels behind Start get FromColor.
    TBitmap32 B;
    Filled(B, 9, 9, 0);
    GGF::CreateColorGradient(0xFF000000, 0xFF000064, {2, 2}, {6, 6}, B);
    EXPECT_EQ(B.Pixel(4, 4), 0xFF000032u); // t = 0.5
    EXPECT_EQ(B.Pixel(2, 6), 0xFF000032u); // same projection
    EXPECT_EQ(B.Pixel(6, 2), 0xFF000032u);
    EXPECT_EQ(B.Pixel(3, 2), 0xFF00000Cu); // t = 1/8: 12.5 rounds to the even 12
    EXPECT_EQ(B.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(B.Pixel(8, 0), 0xFF000032u);
    EXPECT_EQ(B.Pixel(8, 8), 0xFF000064u);
}

TEST(Gradient, LinearTransparencyFadesAlphaOnly) {
    TBitmap32 B;
    Filled(B, 12, 2, 0xC8123456); // alpha 200
    GGF::CreateTranspGradient({1, 0}, {11, 0}, B);
    EXPECT_EQ(B.Pixel(0, 1), 0xC8123456u);
    EXPECT_EQ(B.Pixel(1, 1), 0xC8123456u);
    EXPECT_EQ(B.Pixel(4, 1), 0x8C123456u); // 200 - 60
    EXPECT_EQ(B.Pixel(6, 0), 0x64123456u); // 200 - 100
    EXPECT_EQ(B.Pixel(11, 0), 0x00123456u);
}

TEST(Gradient, RadialFadeWithRadiusTen) {
    TBitmap32 B;
    Filled(B, 31, 31, 0xFF204060);
    GGF::CreateCircleTranspGradient({15, 15}, {25, 15}, B);
    EXPECT_EQ(B.Pixel(15, 15), 0xFF204060u);
    EXPECT_EQ(B.Pixel(20, 15), 0x80204060u); // 255 - 127.5 rounds to the even 128
    EXPECT_EQ(B.Pixel(18, 19), 0x80204060u); // (3, 4) is at distance 5 too
    EXPECT_EQ(B.Pixel(15, 5), 0x00204060u);
    EXPECT_EQ(B.Pixel(21, 23), 0x00204060u); // (6, 8): distance 10
    EXPECT_EQ(B.Pixel(0, 0), 0x00204060u);
    EXPECT_EQ(B.Pixel(23, 23), 0x00204060u); // beyond the radius
    EXPECT_EQ(B.Pixel(22, 22), 0x03204060u); // just inside: 255 - 252.44
    EXPECT_EQ(B.Pixel(21, 22), 0x14204060u); // t = sqrt(0.85): 255 - 235.1 = 19.9
}

TEST(Gradient, RadialColour) {
    TBitmap32 B;
    Filled(B, 11, 11, 0);
    GGF::CreateCircleColorGradient(0xFFFFFFFF, 0x00000000, {5, 5}, {5, 9}, B);
    EXPECT_EQ(B.Pixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(B.Pixel(7, 5), 0x80808080u); // t = 0.5: 127.5 to 128
    EXPECT_EQ(B.Pixel(5, 1), 0x00000000u);
    EXPECT_EQ(B.Pixel(10, 10), 0x00000000u);
}

TEST(Gradient, SquareIsoLines) {
    TBitmap32 B;
    Filled(B, 12, 12, 0xC8FFFFFF); // alpha 200
    GGF::CreateSqareTranspGradient({0, 0}, {10, 0}, B);
    const auto Alpha = [&](int X, int Y) { return AlphaComponent(B.Pixel(X, Y)); };
    EXPECT_EQ(Alpha(0, 0), 200u);
    EXPECT_EQ(Alpha(5, 2), 60u);  // t = (5 + 2) / 10 = 0.7
    EXPECT_EQ(Alpha(2, 5), 60u);  // the turned axis
    EXPECT_EQ(Alpha(3, 3), 80u);  // on the diagonal: 0.6
    EXPECT_EQ(Alpha(5, 0), 100u); // 0.5
    EXPECT_EQ(Alpha(0, 10), 0u);  // a corner of the square through Stop
    EXPECT_EQ(Alpha(5, 5), 0u);   // its edge
    EXPECT_EQ(Alpha(11, 11), 0u);
    EXPECT_EQ(B.Pixel(5, 2) & 0x00FFFFFF, 0x00FFFFFFu);

    // A turned square: Stop on the diagonal puts the square's corners on the diagonals, its
    // edges parallel to the axes.
    Filled(B, 12, 12, 0xC8FFFFFF);
    GGF::CreateSqareTranspGradient({5, 5}, {8, 8}, B);
    EXPECT_EQ(Alpha(8, 5), 0u);  // on the edge between the corners (8, 8) and (8, 2)
    EXPECT_EQ(Alpha(7, 5), 67u); // t = 2/3: 200 - 133.33
    EXPECT_EQ(Alpha(5, 3), 67u);
    EXPECT_EQ(Alpha(6, 6), 133u); // t = 1/3
}

TEST(Gradient, SquareColourReachesStopOnEveryAxis) {
    // On the axis through Stop the cosine of the angle can come out a hair above 1 in floating
    // point; the pixel must still get t = |w| / |v|, not be treated as Start.
    TBitmap32 B;
    Filled(B, 4, 12, 0);
    GGF::CreateSqareColorGradient(0xFF000000, 0xFFFFFFFF, {0, 0}, {1, 5}, B);
    EXPECT_EQ(B.Pixel(1, 5), 0xFFFFFFFFu);
    EXPECT_EQ(B.Pixel(2, 10), 0xFFFFFFFFu);
    EXPECT_EQ(B.Pixel(0, 0), 0xFF000000u);
}

// The square parameter exactly as its definition reads: the four arc cosines and their minimum.
double LiteralSquareT(TPoint Start, TPoint Stop, int X, int Y) {
    const double VX = Stop.X - Start.X, VY = Stop.Y - Start.Y;
    const double WX = X - Start.X, WY = Y - Start.Y;
    if (WX * WX + WY * WY < 1) return 0;
    const double A[4][2] = {{VX, VY}, {-VY, VX}, {-VX, -VY}, {VY, -VX}};
    const double WLen = std::sqrt(WX * WX + WY * WY);
    double Theta = 10;
    for (const auto& Ak : A) {
        const double Cos = (Ak[0] * WX + Ak[1] * WY) / (WLen * std::sqrt(Ak[0] * Ak[0] + Ak[1] * Ak[1]));
        Theta = std::min(Theta, std::acos(std::clamp(Cos, -1.0, 1.0)));
    }
    const double T = std::sqrt(2 * (WX * WX + WY * WY)) * std::sin(3 * std::numbers::pi / 4 - Theta) /
                     std::sqrt(VX * VX + VY * VY);
    return T <= 0 ? 0 : T >= 1 ? 1 : T;
}

TEST(Gradient, SquareEqualsTheFourAngleDefinition) {
    std::mt19937 Rng(31);
    std::uniform_int_distribution<int> Coord(-5, 40);
    for (int Round = 0; Round < 60; ++Round) {
        const TPoint Start{Coord(Rng), Coord(Rng)}, Stop{Coord(Rng), Coord(Rng)};
        if (Start == Stop) continue;
        TBitmap32 B;
        Filled(B, 37, 29, 0);
        GGF::CreateSqareColorGradient(0x00000000, 0xFFFFFFFF, Start, Stop, B);
        for (int Y = 0; Y < 29; ++Y)
            for (int X = 0; X < 37; ++X) {
                const unsigned Expected =
                    static_cast<unsigned>(std::nearbyint(255 * LiteralSquareT(Start, Stop, X, Y)));
                ASSERT_EQ(B.Pixel(X, Y), Expected * 0x01010101u) << X << "," << Y;
            }
    }
}

TEST(Gradient, ShapesChooseTheirRoutine) {
    const TPoint Start{1, 1}, Stop{6, 3};
    struct TCase {
        TShapeType Shape;
        void (*Direct)(TBitmap32&, TPoint, TPoint);
    };
    const TCase Cases[] = {
        {shpLinear,
         [](TBitmap32& B, TPoint S, TPoint E) { GGF::CreateColorGradient(0xFF0000FF, 0x80FF0000, S, E, B); }},
        {shpCircle, [](TBitmap32& B, TPoint S,
                       TPoint E) { GGF::CreateCircleColorGradient(0xFF0000FF, 0x80FF0000, S, E, B); }},
        {shpSqare, [](TBitmap32& B, TPoint S,
                      TPoint E) { GGF::CreateSqareColorGradient(0xFF0000FF, 0x80FF0000, S, E, B); }},
        {shpLinearTransp, [](TBitmap32& B, TPoint S, TPoint E) { GGF::CreateTranspGradient(S, E, B); }},
        {shpCircleTransp, [](TBitmap32& B, TPoint S, TPoint E) { GGF::CreateCircleTranspGradient(S, E, B); }},
        {shpSqareTransp, [](TBitmap32& B, TPoint S, TPoint E) { GGF::CreateSqareTranspGradient(S, E, B); }},
    };
    std::vector<std::vector<TColor32>> Results;
    for (const TCase& C : Cases) {
        TBitmap32 ByShape, Direct;
        Filled(ByShape, 9, 7, 0xFF10E020);
        Filled(Direct, 9, 7, 0xFF10E020);
        GGF::CreateGradient(C.Shape, 0xFF0000FF, 0x80FF0000, Start, Stop, ByShape);
        C.Direct(Direct, Start, Stop);
        EXPECT_EQ(Pixels(ByShape), Pixels(Direct)) << C.Shape;
        Results.push_back(Pixels(ByShape));
    }
    // The six kinds really differ on this surface, so a mix-up would show.
    for (std::size_t I = 0; I < Results.size(); ++I)
        for (std::size_t J = I + 1; J < Results.size(); ++J)
            EXPECT_NE(Results[I], Results[J]) << I << " " << J;
}

} // namespace
} // namespace zp
