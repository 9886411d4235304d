#include "gfx/Graphics.h"
#include "gfx/Hatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zp {
namespace {

TGPPath RectPath(float X, float Y, float W, float H) {
    TGPPath P;
    P.AddRectangle({X, Y, W, H});
    return P;
}

TEST(Surface, FilledRectangleHasExactColourInsideAndHalfCoveredEdges) {
    TBitmap32 B;
    B.SetSize(12, 10);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.FillPath(TGPSolidBrush(0x80336699), RectPath(2, 2, 6, 4));

    // Pixel centres sit on whole coordinates: columns 3..7 and rows 3..5 are fully inside,
    // the border pixels are half covered, the corners a quarter.
    EXPECT_EQ(B.Pixel(4, 4), 0x80336699u);
    EXPECT_EQ(B.Pixel(7, 5), 0x80336699u);
    for (TColor32 Edge : {B.Pixel(2, 4), B.Pixel(8, 4), B.Pixel(5, 2), B.Pixel(5, 6)}) {
        EXPECT_NEAR(static_cast<int>(AlphaComponent(Edge)), 64, 1);
        EXPECT_EQ(Edge & 0xFFFFFF, 0x336699u) << "straight alpha keeps the colour at the edge";
    }
    EXPECT_NEAR(static_cast<int>(AlphaComponent(B.Pixel(2, 2))), 32, 1);
    EXPECT_EQ(B.Pixel(1, 4), 0u);
    EXPECT_EQ(B.Pixel(9, 4), 0u);
    EXPECT_EQ(B.Pixel(5, 1), 0u);
    EXPECT_EQ(B.Pixel(5, 7), 0u);
}

TEST(Surface, OnePixelStrokeOnWholeCoordinatesCoversSingleRows) {
    TBitmap32 B;
    B.SetSize(12, 10);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.DrawPath(TGPPen(0xFFFF0000, 1), RectPath(2, 2, 6, 4));
    for (int X = 3; X <= 7; ++X) {
        EXPECT_EQ(B.Pixel(X, 2), 0xFFFF0000u) << X;
        EXPECT_EQ(B.Pixel(X, 6), 0xFFFF0000u) << X;
        EXPECT_EQ(B.Pixel(X, 1), 0u) << X;
        EXPECT_EQ(B.Pixel(X, 3), 0u) << X;
    }
    EXPECT_EQ(B.Pixel(2, 4), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(8, 4), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(5, 4), 0u);

    // Width 0 is the thinnest line: one pixel, whatever the transform.
    B.Clear(0);
    TGPMatrix Zoom;
    Zoom.Scale(5, 5);
    G.SetWorldTransform(Zoom);
    G.DrawLine(TGPPen(0xFF00FF00, 0), 0, 1, 2, 1);
    EXPECT_EQ(B.Pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(B.Pixel(5, 4), 0u);
    EXPECT_EQ(B.Pixel(5, 6), 0u);
}

TEST(Surface, HalfTransparentColoursKeepEveryChannelExactly) {
    // An 8-bit premultiplied round trip would shift the colour channels of these pixels.
    TBitmap32 B;
    B.SetSize(4, 1);
    TGPGraphics G(B);
    for (TColor32 Rgb : {0x336699u, 0xFEDCBAu, 0x010203u, 0xFF00FFu}) {
        for (unsigned A = 2; A <= 255; ++A) {
            B.Clear(0);
            const TColor32 C = (A << 24) | Rgb;
            G.FillRectangle(TGPSolidBrush(C), {0.5f, -0.5f, 2, 1});
            ASSERT_EQ(B.Pixel(1, 0), C) << std::hex << C;
            ASSERT_EQ(B.Pixel(0, 0), 0u);
        }
    }
}

TEST(Surface, HalfTransparentFillBlendsOverWhatIsThere) {
    TBitmap32 B;
    B.SetSize(3, 3);
    B.Clear(0xFF0000FF);
    TGPGraphics G(B);
    G.FillRectangle(TGPSolidBrush(0x80FF0000), {-1, -1, 5, 5});
    EXPECT_EQ(B.Pixel(1, 1), 0xFF80007Fu);
}

TEST(Surface, PixelsNotPaintedKeepTheirExactBits) {
    TBitmap32 B;
    B.SetSize(10, 10);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 10; ++X) B.SetPixel(X, Y, X % 2 ? 0x00FF8040u : 0x01FFFFFFu + (Y << 8));
    TBitmap32 Before;
    Before.Assign(&B);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.FillPath(TGPSolidBrush(0xFF00FF00), RectPath(4, 4, 1, 1));
    int Changed = 0;
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 10; ++X) {
            // A pixel-sized square on a pixel centre covers a quarter of four pixels.
            const bool Near = X >= 4 && X <= 5 && Y >= 4 && Y <= 5;
            if (!Near) {
                EXPECT_EQ(B.Pixel(X, Y), Before.Pixel(X, Y)) << X << "," << Y;
            }
            Changed += B.Pixel(X, Y) != Before.Pixel(X, Y);
        }
    EXPECT_EQ(Changed, 4);
}

TEST(Surface, WorldTransformMovesTheDrawingAndClearIgnoresIt) {
    TBitmap32 B;
    B.SetSize(10, 4);
    TGPGraphics G(B);
    TGPMatrix M;
    M.Translate(5, 1);
    G.SetWorldTransform(M);
    G.FillRectangle(TGPSolidBrush(0xFF112233), {0, 0, 2, 2});
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 10; ++X) {
            const bool Inside = X >= 5 && X <= 6 && Y >= 1 && Y <= 2;
            EXPECT_EQ(B.Pixel(X, Y), Inside ? 0xFF112233u : 0u) << X << "," << Y;
        }
    EXPECT_EQ(G.GetWorldTransform().GetElements().DX, 5);
    G.Clear(0x12345678);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 10; ++X) ASSERT_EQ(B.Pixel(X, Y), 0x12345678u);
}

struct TDashCase {
    TGPDashStyle Style;
    std::vector<int> On;
    std::vector<int> Off;
};

TEST(Surface, DashStylesFollowTheClassicPatterns) {
    // A pen of width 2 from x = 0: lengths are multiples of the width and the dashes end flat.
    const TDashCase Cases[] = {
        {DashStyleSolid, {1, 5, 7, 9, 11, 13, 15, 17}, {}},
        {DashStyleDash, {1, 2, 3, 4, 5, 9, 13}, {7, 15}},
        {DashStyleDot, {1, 5, 9, 13}, {3, 7, 11, 15}},
        {DashStyleDashDot, {1, 5, 9, 13, 17}, {7, 11, 19}},
        {DashStyleDashDotDot, {1, 5, 9, 13, 17, 21}, {7, 11, 15, 23}},
        {DashStyleCustom, {1, 7, 15}, {}},
    };
    for (const auto& Case : Cases) {
        TBitmap32 B;
        B.SetSize(26, 8);
        TGPGraphics G(B);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        TGPPen Pen(0xFF000000, 2);
        Pen.SetDashStyle(Case.Style);
        EXPECT_EQ(Pen.DashStyle(), Case.Style);
        G.DrawLine(Pen, 0, 4, 26, 4);
        for (int X : Case.On) EXPECT_EQ(AlphaComponent(B.Pixel(X, 4)), 255u) << Case.Style << " at " << X;
        for (int X : Case.Off) EXPECT_EQ(AlphaComponent(B.Pixel(X, 4)), 0u) << Case.Style << " at " << X;
        EXPECT_EQ(B.Pixel(3, 2), 0u);
    }
}

TEST(Surface, RoundJoinsRoundTheOuterCorner) {
    TBitmap32 Miter, Round;
    for (auto* B : {&Miter, &Round}) {
        B->SetSize(20, 20);
        TGPGraphics G(*B);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        TGPPen Pen(0xFF000000, 6);
        if (B == &Round) Pen.SetLineJoin(LineJoinRound);
        G.DrawPath(Pen, RectPath(5, 5, 10, 10));
    }
    // The outermost corner pixel is covered by a miter; a round join cuts it off.
    EXPECT_EQ(AlphaComponent(Miter.Pixel(3, 3)), 255u);
    EXPECT_LT(AlphaComponent(Round.Pixel(3, 3)), 255u);
    EXPECT_GT(AlphaComponent(Round.Pixel(3, 3)), 0u);
    EXPECT_EQ(AlphaComponent(Round.Pixel(10, 3)), 255u);
}

TEST(Surface, EmptySurfacesDrawNothingAndResizingBetweenOperationsIsSafe) {
    TBitmap32 B;
    TGPGraphics G(B);
    EXPECT_NO_THROW(G.FillRectangle(TGPSolidBrush(0xFFFFFFFF), {0, 0, 10, 10}));
    EXPECT_NO_THROW(G.Clear(0xFFFFFFFF));
    B.SetSize(30, 30);
    G.FillRectangle(TGPSolidBrush(0xFFFFFFFF), {19.5f, 19.5f, 100, 100});
    EXPECT_EQ(B.Pixel(29, 29), 0xFFFFFFFFu);
    B.SetSize(5, 5);
    G.FillRectangle(TGPSolidBrush(0xFF0000FF), {-100, -100, 1000, 1000});
    EXPECT_EQ(B.Pixel(4, 4), 0xFF0000FFu);
}

TEST(Surface, PaintingInBandsGivesTheSamePixels) {
    TGPPath Shape;
    Shape.AddEllipse({3.3f, 2.7f, 50, 37});
    TGPPath Square;
    Square.AddRectangle({10, 10, 30, 30});
    TGPMatrix Turn;
    Turn.Rotate(20);
    Square.Transform(Turn);
    TGPPathGradientBrush Gradient(Square);
    Gradient.SetCenterColor(0xFFFF0000);
    Gradient.SetSurroundColor(0x400000FF);
    QImage Tile(3, 5, QImage::Format_ARGB32);
    for (int I = 0; I < 15; ++I) Tile.setPixel(I % 3, I / 3, 0x80000000u | (I * 0x111111u));
    TGPTextureBrush Texture(TGPImage(Tile), WrapModeTileFlipXY);
    Texture.SetTransform(Turn);
    TGPPen Pen(0xC0008000, 3);
    Pen.SetDashStyle(DashStyleDashDot);

    TBitmap32 Whole, Bands;
    for (auto* B : {&Whole, &Bands}) {
        B->SetSize(60, 45);
        TGPGraphics G(*B);
        if (B == &Bands) G.SetBandPixels(7 * 60);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        TGPMatrix World;
        World.Translate(1.5f, 0.25f);
        G.SetWorldTransform(World);
        G.FillPath(TGPHatchBrush(HatchStyleWeave, 0xFF000000, 0x80FFFFFF), Shape);
        G.FillPath(Texture, Shape);
        G.FillPath(Gradient, Shape);
        G.FillPath(TGPLinearGradientBrush({0, 0}, {20, 9}, 0x80FF00FF, 0xFF00FFFF), Square);
        G.DrawPath(Pen, Shape);
    }
    for (int Y = 0; Y < 45; ++Y)
        for (int X = 0; X < 60; ++X) ASSERT_EQ(Bands.Pixel(X, Y), Whole.Pixel(X, Y)) << X << "," << Y;
}

TEST(Surface, NonFiniteGeometryIsRefused) {
    TBitmap32 B;
    B.SetSize(5, 5);
    TGPGraphics G(B);
    const float Nan = std::numeric_limits<float>::quiet_NaN();
    try {
        G.FillRectangle(TGPSolidBrush(0xFFFFFFFF), {Nan, 0, 1, 1});
        FAIL() << "no error";
    } catch (const EGdipError& E) {
        EXPECT_EQ(E.Status(), InvalidParameter);
    }
    TGPMatrix M({1, 0, 0, 1, std::numeric_limits<float>::infinity(), 0});
    G.SetWorldTransform(M);
    TGPPath P;
    P.AddRectangle({0, 0, 1, 1});
    EXPECT_THROW(G.FillPath(TGPSolidBrush(0xFFFFFFFF), P), EGdipError);
    EXPECT_EQ(B.Pixel(0, 0), 0u);
}

} // namespace
} // namespace zp
