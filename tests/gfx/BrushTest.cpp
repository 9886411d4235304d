#include "gfx/Graphics.h"
#include "gfx/Hatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

namespace zp {
namespace {

// Fills the whole surface (and beyond, so no pixel is an anti-aliased edge) with Brush.
void FillAll(TBitmap32& B, const TGPBrush& Brush, const TGPMatrix& World = TGPMatrix(),
             TGPSmoothingMode Smoothing = SmoothingModeAntiAlias) {
    TGPGraphics G(B);
    G.SetSmoothingMode(Smoothing);
    G.SetWorldTransform(World);
    bool Invertible = true;
    QTransform Back = World.ToQTransform().inverted(&Invertible);
    const QRectF Area = Back.mapRect(QRectF(-2, -2, B.Width() + 4, B.Height() + 4));
    TGPPath P;
    P.AddRectangle({static_cast<float>(Area.x()), static_cast<float>(Area.y()),
                    static_cast<float>(Area.width()), static_cast<float>(Area.height())});
    G.FillPath(Brush, P);
}

TEST(HatchBrush, StyleZeroIsHorizontalLinesOnThePixelGrid) {
    TBitmap32 B;
    B.SetSize(16, 16);
    FillAll(B, TGPHatchBrush(HatchStyleHorizontal, 0xFF000000, 0x80FFFFFF));
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X)
            ASSERT_EQ(B.Pixel(X, Y), Y % 8 == 0 ? 0xFF000000u : 0x80FFFFFFu) << X << "," << Y;

    // The pattern stays on the surface's grid when the world moves.
    B.Clear(0);
    TGPMatrix Moved;
    Moved.Translate(3.25f, 5);
    FillAll(B, TGPHatchBrush(HatchStyleVertical, 0xFF000000, 0xFFFFFFFF), Moved);
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X)
            ASSERT_EQ(B.Pixel(X, Y), X % 8 == 0 ? 0xFF000000u : 0xFFFFFFFFu) << X << "," << Y;
}

TEST(HatchBrush, EveryStyleIsItsOwnPatternAndTheSurfaceShowsIt) {
    std::set<std::string> Seen;
    for (int Style = HatchStyleMin; Style <= HatchStyleMax; ++Style) {
        std::string Bits;
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X) Bits += HatchForeground(Style, X, Y) ? '1' : '0';
        EXPECT_NE(Bits.find('1'), std::string::npos) << Style;
        EXPECT_NE(Bits.find('0'), std::string::npos) << Style;
        EXPECT_TRUE(Seen.insert(Bits).second) << "style " << Style << " repeats another";

        TBitmap32 B;
        B.SetSize(11, 9);
        FillAll(B, TGPHatchBrush(Style, 0xFF102030, 0x00000000));
        for (int Y = 0; Y < 9; ++Y)
            for (int X = 0; X < 11; ++X)
                ASSERT_EQ(B.Pixel(X, Y), HatchForeground(Style, X, Y) ? 0xFF102030u : 0u) << Style;
    }
    EXPECT_THROW(TGPHatchBrush(53, 0, 0), EGdipError);
    EXPECT_THROW(TGPHatchBrush(-1, 0, 0), EGdipError);
}

TEST(HatchBrush, PercentStylesGrowAndHoldTheLighterOnes) {
    const int Percent[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
    int Previous = 0;
    for (int I = 0; I < 12; ++I) {
        const int Style = HatchStyle05Percent + I;
        int Count = 0;
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X) {
                Count += HatchForeground(Style, X, Y);
                if (I > 0 && HatchForeground(Style - 1, X, Y)) {
                    EXPECT_TRUE(HatchForeground(Style, X, Y)) << Style;
                }
            }
        EXPECT_GT(Count, Previous);
        EXPECT_NEAR(Count, Percent[I] * 64 / 100.0, 1.0) << Style;
        Previous = Count;
    }
}

TEST(LinearGradientBrush, InterpolatesStraightChannelsAndRepeatsBeyondThePoints) {
    TBitmap32 B;
    B.SetSize(21, 2);
    FillAll(B, TGPLinearGradientBrush({0, 0}, {10, 0}, 0xFF000000, 0xFFFFFFFF));
    EXPECT_EQ(B.Pixel(0, 0), 0xFF000000u);
    EXPECT_NEAR(static_cast<int>(RedComponent(B.Pixel(5, 1))), 128, 1);
    EXPECT_NEAR(static_cast<int>(RedComponent(B.Pixel(9, 0))), 230, 2);
    // Tiled: the second period repeats the first.
    for (int X = 1; X < 10; ++X)
        EXPECT_NEAR(int(RedComponent(B.Pixel(X + 10, 0))), int(RedComponent(B.Pixel(X, 0))), 1);
    EXPECT_EQ(B.Pixel(3, 0), B.Pixel(3, 1)) << "lines of equal colour run across the gradient";

    // Towards transparent black the colour darkens as it fades: no premultiplied mixing.
    B.Clear(0);
    FillAll(B, TGPLinearGradientBrush({0, 0}, {10, 0}, 0xFFFF0000, 0x00000000));
    const TColor32 Mid = B.Pixel(5, 0);
    EXPECT_NEAR(static_cast<int>(AlphaComponent(Mid)), 128, 2);
    EXPECT_NEAR(static_cast<int>(RedComponent(Mid)), 128, 2);

    B.Clear(0);
    FillAll(B, TGPLinearGradientBrush({4, 4}, {4, 4}, 0xFFFF0000, 0xFF00FF00));
    EXPECT_EQ(B.Pixel(4, 1), 0u) << "coinciding points paint nothing";
}

TEST(PathGradientBrush, CircleHasCentreColourInsideSurroundAtTheEdgeAndNothingOutside) {
    TGPPath Circle;
    Circle.AddEllipse({2, 2, 16, 16}); // centre (10, 10), radius 8
    TGPPathGradientBrush Brush(Circle);
    EXPECT_EQ(Brush.CenterPoint(), (TGPPointF{10, 10}));
    Brush.SetCenterColor(0xFFFF0000);
    Brush.SetSurroundColor(0xFF0000FF);
    TBitmap32 B;
    B.SetSize(21, 21);
    FillAll(B, Brush);

    EXPECT_EQ(B.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(17, 10), 0xFF2000DFu); // t = 7/8: round(31.875), round(223.125)
    EXPECT_EQ(B.Pixel(10, 6), 0xFF800080u);  // t = 1/2: both halves round to even 128
    EXPECT_EQ(B.Pixel(18, 10), 0xFF0000FFu); // on the edge
    EXPECT_EQ(B.Pixel(19, 10), 0u);
    EXPECT_EQ(B.Pixel(16, 16), 0u); // inside the bounds, outside the circle
    EXPECT_EQ(B.Pixel(0, 0), 0u);
    EXPECT_EQ(B.Pixel(15, 15), 0xFF1E00E1u); // t = sqrt(50)/8: round(29.61), round(225.39)
}

TEST(PathGradientBrush, TurnedSquareFadesAlongBothAxesFromAMovedCentre) {
    // The square of the square gradient: half side h, turned 45 degrees about its centre, so
    // its corners lie 8 pixels from the centre on the axes.
    const float H = std::sqrt(32.0f);
    TGPPath Square;
    Square.AddRectangle({10 - H, 10 - H, 2 * H, 2 * H});
    TGPMatrix Turn;
    Turn.Translate(10, 10);
    Turn.Rotate(45);
    Turn.Translate(-10, -10);
    Square.Transform(Turn);
    TGPPathGradientBrush Brush(Square);
    Brush.SetCenterPoint({10, 10});
    Brush.SetCenterColor(0xFFFF0000);
    Brush.SetSurroundColor(0x00000000);
    TBitmap32 B;
    B.SetSize(21, 21);
    FillAll(B, Brush);

    EXPECT_EQ(B.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(12, 10), 0xBFBF0000u); // t = 1/4 towards transparent black
    EXPECT_EQ(B.Pixel(10, 16), 0x40400000u); // t = 3/4
    EXPECT_EQ(B.Pixel(15, 14), 0u) << "beyond the edge |dx| + |dy| = 8";
    EXPECT_EQ(B.Pixel(13, 13), 0x40400000u);
    EXPECT_EQ(B.Pixel(1, 10), 0u);

    // A centre off the middle: t runs from that point to the edge along each ray.
    Brush.SetCenterPoint({6, 10});
    TColor32 C = 0;
    ASSERT_TRUE(Brush.ColorAt(9, 10, C));
    EXPECT_EQ(C, 0xBFBF0000u); // a quarter of the way from (6, 10) to the corner (18, 10)
    ASSERT_TRUE(Brush.ColorAt(6, 11, C));
    EXPECT_EQ(C, 0xBFBF0000u); // a quarter of the way down to the edge at (6, 14)
    EXPECT_FALSE(Brush.ColorAt(19, 10, C));
}

TEST(PathGradientBrush, FollowsTheWorldTransform) {
    TGPPath Circle;
    Circle.AddEllipse({-4, -4, 8, 8});
    TGPPathGradientBrush Brush(Circle);
    Brush.SetCenterPoint({0, 0});
    Brush.SetCenterColor(0xFFFFFFFF);
    Brush.SetSurroundColor(0xFF000000);
    TGPMatrix World;
    World.Translate(10, 6);
    World.Scale(2, 1);
    TBitmap32 B;
    B.SetSize(20, 12);
    FillAll(B, Brush, World);
    EXPECT_EQ(B.Pixel(10, 6), 0xFFFFFFFFu);
    EXPECT_EQ(B.Pixel(14, 6), 0xFF808080u); // world x 2 of radius 4
    EXPECT_EQ(B.Pixel(10, 8), 0xFF808080u); // world y 2 of radius 4
    EXPECT_EQ(B.Pixel(10, 11), 0u);
    EXPECT_EQ(B.Pixel(19, 6), 0u);
}

// A 3 x 2 image whose pixels differ strongly, so any blending of neighbours shows.
TGPImage SmallImage() {
    QImage I(3, 2, QImage::Format_ARGB32);
    I.setPixel(0, 0, 0xFFFF0000);
    I.setPixel(1, 0, 0xFF00FF00);
    I.setPixel(2, 0, 0xFF0000FF);
    I.setPixel(0, 1, 0x80FFFFFF);
    I.setPixel(1, 1, 0x80000000);
    I.setPixel(2, 1, 0xFFFFFF00);
    return TGPImage(I);
}

TEST(TextureBrush, EachWrapModeTilesAsNamed) {
    const TGPImage Image = SmallImage();
    const auto At = [&](int X, int Y) { return Image.Pixel(X, Y); };
    const auto Mirror = [](int V, int N) {
        const int M = ((V % (2 * N)) + 2 * N) % (2 * N);
        return M < N ? M : 2 * N - 1 - M;
    };
    const auto Wrap = [](int V, int N) { return ((V % N) + N) % N; };
    struct TCase {
        TGPWrapMode Mode;
        std::function<TColor32(int, int)> Expected;
    };
    const TCase Cases[] = {
        {WrapModeTile, [&](int X, int Y) { return At(Wrap(X, 3), Wrap(Y, 2)); }},
        {WrapModeTileFlipX, [&](int X, int Y) { return At(Mirror(X, 3), Wrap(Y, 2)); }},
        {WrapModeTileFlipY, [&](int X, int Y) { return At(Wrap(X, 3), Mirror(Y, 2)); }},
        {WrapModeTileFlipXY, [&](int X, int Y) { return At(Mirror(X, 3), Mirror(Y, 2)); }},
        {WrapModeClamp, [&](int X, int Y) { return X >= 0 && X < 3 && Y >= 0 && Y < 2 ? At(X, Y) : 0u; }},
    };
    for (const auto& Case : Cases) {
        TBitmap32 B;
        B.SetSize(13, 9);
        TGPTextureBrush Brush(Image, Case.Mode);
        EXPECT_EQ(Brush.WrapMode(), Case.Mode);
        FillAll(B, Brush);
        for (int Y = 0; Y < 9; ++Y)
            for (int X = 0; X < 13; ++X)
                ASSERT_EQ(B.Pixel(X, Y), Case.Expected(X, Y))
                    << "mode " << Case.Mode << " at " << X << "," << Y;

        // Moved by the brush transform; the same without anti-aliasing.
        TGPMatrix Move;
        Move.Translate(4, 3);
        Brush.SetTransform(Move);
        for (TGPSmoothingMode Smoothing : {SmoothingModeAntiAlias, SmoothingModeNone}) {
            B.Clear(0);
            FillAll(B, Brush, TGPMatrix(), Smoothing);
            for (int Y = 0; Y < 9; ++Y)
                for (int X = 0; X < 13; ++X)
                    ASSERT_EQ(B.Pixel(X, Y), Case.Expected(X - 4, Y - 3))
                        << "moved, mode " << Case.Mode << ", smoothing " << Smoothing;
        }
    }
}

TEST(TextureBrush, AttributesScaleAlphaAndChooseTheWrapMode) {
    QImage I(2, 2, QImage::Format_ARGB32);
    I.fill(0xFF336699);
    I.setPixel(1, 1, 0x40336699);
    TGPImageAttributes Attributes = AlphaScaleImageAttributes(128.0f / 255.0f);
    Attributes.SetWrapMode(WrapModeTileFlipX);
    TGPTextureBrush Brush(TGPImage(I), Attributes);
    EXPECT_EQ(Brush.WrapMode(), WrapModeTileFlipX);
    TBitmap32 B;
    B.SetSize(4, 2);
    FillAll(B, Brush);
    EXPECT_EQ(B.Pixel(0, 0), 0x80336699u);
    EXPECT_EQ(B.Pixel(1, 1), 0x20336699u);
    EXPECT_EQ(B.Pixel(2, 1), 0x20336699u);
    EXPECT_EQ(B.Pixel(3, 1), 0x80336699u);
}

TEST(TextureBrush, ScaledTextureIsFilteredWithoutLeavingItsColours) {
    QImage I(2, 1, QImage::Format_ARGB32);
    I.setPixel(0, 0, 0xFFFF0000);
    I.setPixel(1, 0, 0xFF0000FF);
    TGPTextureBrush Brush{TGPImage(I), WrapModeTile};
    TGPMatrix Zoom;
    Zoom.Scale(4, 4);
    Brush.SetTransform(Zoom);
    TBitmap32 B;
    B.SetSize(8, 4);
    FillAll(B, Brush);
    EXPECT_EQ(B.Pixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(4, 1), 0xFF0000FFu);
    const TColor32 Between = B.Pixel(3, 1);
    EXPECT_GT(RedComponent(Between), 0u);
    EXPECT_GT(BlueComponent(Between), 0u);
    EXPECT_EQ(GreenComponent(Between), 0u);
}

} // namespace
} // namespace zp
