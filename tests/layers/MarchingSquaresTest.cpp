#include "layers/MarchingSquares.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace zp {

void PrintTo(const TPoint& P, std::ostream* Os) {
    *Os << "(" << P.X << ", " << P.Y << ")";
}

namespace {

using TPoints = std::vector<TPoint>;

constexpr TColor32 Solid = 0xFF2040C0;

// A transparent W x H surface with the given pixels set to Colour.
void Paint(TBitmap32& B, int W, int H, std::initializer_list<TPoint> Pixels, TColor32 Colour = Solid) {
    B.SetSize(W, H);
    B.Clear(0);
    for (const TPoint& P : Pixels) B.SetPixel(P.X, P.Y, Colour);
}

// A surface drawn as text: 'X' is opaque, anything else transparent.
void Draw(TBitmap32& B, std::initializer_list<std::string> Rows) {
    B.SetSize(static_cast<int>(Rows.begin()->size()), static_cast<int>(Rows.size()));
    B.Clear(0);
    int Y = 0;
    for (const std::string& Row : Rows) {
        for (int X = 0; X < static_cast<int>(Row.size()); ++X)
            if (Row[X] == 'X') B.SetPixel(X, Y, Solid);
        ++Y;
    }
}

TPoints Trace(const TBitmap32& B, std::uint8_t Level = 0) {
    TMarchingSqare Tracer(B, {0, 0, B.Width() - 1, B.Height() - 1}, Level);
    return Tracer.March();
}

TEST(MarchingSqare, ListsEveryCornerOfSimpleShapesCounterClockwiseFromTheTopLeft) {
    TBitmap32 B;
    Paint(B, 12, 12, {{5, 7}});
    EXPECT_EQ(Trace(B), (TPoints{{5, 7}, {5, 8}, {6, 8}, {6, 7}}));

    B.SetSize(16, 24);
    B.Clear(0);
    B.FillRect(10, 20, 13, 22, Solid);
    EXPECT_EQ(Trace(B), (TPoints{{10, 20},
                                 {10, 21},
                                 {10, 22},
                                 {11, 22},
                                 {12, 22},
                                 {13, 22},
                                 {13, 21},
                                 {13, 20},
                                 {12, 20},
                                 {11, 20}}));

    Draw(B, {".....", //
             ".X...", //
             ".X...", //
             ".XXX.", //
             "....."});
    EXPECT_EQ(
        Trace(B),
        (TPoints{
            {1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {4, 3}, {3, 3}, {2, 3}, {2, 2}, {2, 1}}));

    // A notch from above: the walk meets a square with only its lower right pixel solid again.
    Draw(B, {".....", //
             ".X.X.", //
             ".XXX.", //
             "....."});
    EXPECT_EQ(
        Trace(B),
        (TPoints{
            {1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {4, 2}, {4, 1}, {3, 1}, {3, 2}, {2, 2}, {2, 1}}));
}

TEST(MarchingSqare, PixelsTouchingOnlyAtACornerAreSeparateRegions) {
    TBitmap32 B;
    // Falling diagonal: at (3, 3) the walk arrives going right and turns up.
    Paint(B, 8, 8, {{2, 2}, {3, 3}, {4, 4}});
    EXPECT_EQ(Trace(B), (TPoints{{2, 2}, {2, 3}, {3, 3}, {3, 2}}));

    // Rising diagonal: at (4, 3) the walk arrives going down and goes on to the right.
    Paint(B, 8, 8, {{4, 2}, {3, 3}, {2, 4}});
    EXPECT_EQ(Trace(B), (TPoints{{4, 2}, {4, 3}, {5, 3}, {5, 2}}));

    // Going up the right side of the region and meeting a diagonal neighbour above: turn left.
    Draw(B, {"......", //
             ".X.X..", //
             ".XX...", //
             "......"});
    EXPECT_EQ(Trace(B), (TPoints{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {2, 2}, {2, 1}}));

    // Going left along the top of the region and meeting a diagonal neighbour above: turn down.
    Draw(B, {".....", //
             "...X.", //
             ".X.X.", //
             "..XX.", //
             "....."});
    EXPECT_EQ(Trace(B),
              (TPoints{{3, 1}, {3, 2}, {3, 3}, {2, 3}, {2, 4}, {3, 4}, {4, 4}, {4, 3}, {4, 2}, {4, 1}}));
}

TEST(MarchingSqare, TracesOnlyTheOuterBoundaryOfTheFirstRegionInRowOrder) {
    TBitmap32 Square, Ring;
    Draw(Square, {"......", //
                  ".XXXX.", //
                  ".XXXX.", //
                  ".XXXX.", //
                  ".XXXX.", //
                  "......"});
    Draw(Ring, {"......", //
                ".XXXX.", //
                ".X..X.", //
                ".X..X.", //
                ".XXXX.", //
                "......"});
    const TPoints Outer{{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 5}, {3, 5}, {4, 5},
                        {5, 5}, {5, 4}, {5, 3}, {5, 2}, {5, 1}, {4, 1}, {3, 1}, {2, 1}};
    EXPECT_EQ(Trace(Square), Outer);
    EXPECT_EQ(Trace(Ring), Outer);

    // The small island starts in an earlier row, so the big one further left is ignored.
    TBitmap32 B;
    Draw(B, {"........", //
             "......X.", //
             ".XXX....", //
             ".XXX....", //
             "........"});
    EXPECT_EQ(Trace(B), (TPoints{{6, 1}, {6, 2}, {7, 2}, {7, 1}}));
}

TEST(MarchingSqare, RightAndBottomBorderPointsAreWalkedButNotListed) {
    TBitmap32 B;
    Paint(B, 3, 3, {{0, 0}});
    EXPECT_EQ(Trace(B), (TPoints{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));

    Paint(B, 3, 3, {{2, 2}});
    EXPECT_EQ(Trace(B), (TPoints{{2, 2}}));

    B.Clear(Solid);
    EXPECT_EQ(Trace(B), (TPoints{{0, 0}, {0, 1}, {0, 2}, {2, 0}, {1, 0}}));

    Draw(B, {"...", //
             "..X", //
             "..X", //
             "..."});
    EXPECT_EQ(Trace(B), (TPoints{{2, 1}, {2, 2}, {2, 3}}));
}

TEST(MarchingSqare, EmptyAndTransparentSurfaces) {
    TBitmap32 B;
    EXPECT_TRUE(Trace(B).empty());
    B.SetSize(5, 0);
    EXPECT_TRUE(Trace(B).empty());

    // Nothing above the level: the single corner (0, 0), whatever the colour channels hold.
    B.SetSize(4, 4);
    B.Clear(0x00FFFFFF);
    EXPECT_EQ(Trace(B), (TPoints{{0, 0}}));
    B.Clear(0x32FFFFFF);
    EXPECT_EQ(Trace(B, 50), (TPoints{{0, 0}}));
    B.Clear(0xFFFFFFFF);
    EXPECT_EQ(Trace(B, 255), (TPoints{{0, 0}}));
}

TEST(MarchingSqare, SolidMeansAlphaAboveTheLevelInTheSearchAndInTheWalk) {
    TBitmap32 B;
    Paint(B, 8, 8, {});
    B.SetPixel(2, 2, 0x32000000); // alpha 50
    B.SetPixel(4, 4, 0x33000000); // alpha 51
    B.SetPixel(5, 4, 0x32FFFFFF); // alpha 50 beside it
    EXPECT_EQ(Trace(B, 50), (TPoints{{4, 4}, {4, 5}, {5, 5}, {5, 4}}));
    EXPECT_EQ(Trace(B, 49), (TPoints{{2, 2}, {2, 3}, {3, 3}, {3, 2}}));

    B.SetPixel(2, 2, 0);
    EXPECT_EQ(Trace(B, 49), (TPoints{{4, 4}, {4, 5}, {5, 5}, {6, 5}, {6, 4}, {5, 4}}));

    // Level 0 by default: alpha 1 is solid.
    Paint(B, 4, 4, {{1, 2}}, 0x01000000);
    TMarchingSqare Tracer(B);
    EXPECT_EQ(Tracer.AlphaLevel(), 0);
    EXPECT_EQ(Tracer.March(), (TPoints{{1, 2}, {1, 3}, {2, 3}, {2, 2}}));
    Tracer.SetAlphaLevel(1);
    EXPECT_EQ(Tracer.March(), (TPoints{{0, 0}}));
}

TEST(MarchingSqare, SearchRectangleHasInclusiveBoundsAndStaysOnTheSurface) {
    TBitmap32 B;
    Draw(B, {"X........", //
             ".........", //
             "..XXX....", //
             "..XXX....", //
             ".......X.", //
             "........."});
    // Only the last column and row of the rectangle hold a solid pixel.
    EXPECT_EQ(TMarchingSqare(B, {5, 1, 7, 4}).March(), (TPoints{{7, 4}, {7, 5}, {8, 5}, {8, 4}}));
    // The region found is traced in full, beyond the rectangle.
    EXPECT_EQ(TMarchingSqare(B, {3, 1, 8, 5}).March(),
              (TPoints{{3, 2}, {2, 2}, {2, 3}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {5, 3}, {5, 2}, {4, 2}}));
    // Rectangles reaching past the surface, or lying wholly outside it, are clipped to it.
    EXPECT_EQ(TMarchingSqare(B, {-5, -5, 100, 100}).March(), (TPoints{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    EXPECT_EQ(TMarchingSqare(B, B.BoundsRect()).March(), (TPoints{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    EXPECT_EQ(TMarchingSqare(B, {20, 20, 30, 30}).March(), (TPoints{{0, 0}}));
    // Nothing solid inside: the region holding pixel (0, 0) lies outside and is not traced.
    EXPECT_EQ(TMarchingSqare(B, {1, 0, 7, 1}).March(), (TPoints{{0, 0}}));
    // Starting inside a region: no step leads on from an all-solid square.
    EXPECT_EQ(TMarchingSqare(B, {3, 3, 7, 5}).March(), (TPoints{{3, 3}}));
}

TEST(MarchingSqare, MarchingAgainGivesTheSameListInTheSameObject) {
    TBitmap32 B;
    Paint(B, 6, 6, {{1, 1}, {2, 2}, {2, 1}});
    TMarchingSqare Tracer(B);
    const TPoints First = Tracer.March();
    const TPoints& Second = Tracer.March();
    EXPECT_EQ(&Second, &Tracer.PerimeterList());
    EXPECT_EQ(Second, First);
    EXPECT_EQ(First.size(), 8u);
}

// Pixels enclosed by the outer boundary of the 4-connected region holding Start: everything
// that the 8-connected outside cannot reach.
long EnclosedArea(const std::vector<bool>& SolidAt, int W, int H, TPoint Start) {
    std::vector<bool> Region(SolidAt.size()), Outside(SolidAt.size());
    std::vector<TPoint> Todo{Start};
    Region[Start.X + Start.Y * W] = true;
    while (!Todo.empty()) {
        const TPoint P = Todo.back();
        Todo.pop_back();
        for (TPoint D : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}}) {
            const int X = P.X + D.X, Y = P.Y + D.Y;
            if (X < 0 || Y < 0 || X >= W || Y >= H || Region[X + Y * W] || !SolidAt[X + Y * W]) continue;
            Region[X + Y * W] = true;
            Todo.push_back({X, Y});
        }
    }
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if ((X == 0 || Y == 0 || X == W - 1 || Y == H - 1) && !Region[X + Y * W]) {
                Outside[X + Y * W] = true;
                Todo.push_back({X, Y});
            }
    while (!Todo.empty()) {
        const TPoint P = Todo.back();
        Todo.pop_back();
        for (int DY = -1; DY <= 1; ++DY)
            for (int DX = -1; DX <= 1; ++DX) {
                const int X = P.X + DX, Y = P.Y + DY;
                if (X < 0 || Y < 0 || X >= W || Y >= H || Outside[X + Y * W] || Region[X + Y * W]) continue;
                Outside[X + Y * W] = true;
                Todo.push_back({X, Y});
            }
    }
    long Area = 0;
    for (bool O : Outside) Area += !O;
    return Area;
}

TEST(MarchingSqare, RandomShapesGiveAClosedUnitStepBoundaryAroundTheRegionAndItsHoles) {
    std::mt19937 Rng(4711);
    constexpr int W = 14, H = 12;
    for (int Round = 0; Round < 400; ++Round) {
        const unsigned Density = 30 + Round % 50;
        TBitmap32 B;
        B.SetSize(W, H);
        B.Clear(0);
        std::vector<bool> SolidAt(W * H);
        TPoint First{-1, -1};
        // A transparent margin keeps every point listed.
        for (int Y = 1; Y < H - 1; ++Y)
            for (int X = 1; X < W - 1; ++X) {
                const unsigned A = Rng() % 256;
                if (Rng() % 100 >= Density) continue;
                B.SetPixel(X, Y, (A << 24) | 0x808080);
                if (A <= 60) continue;
                SolidAt[X + Y * W] = true;
                if (First.X < 0) First = {X, Y};
            }
        if (First.X < 0) continue;
        const TPoints Points = Trace(B, 60);
        SCOPED_TRACE(Round);
        ASSERT_GE(Points.size(), 4u);
        EXPECT_EQ(Points.front(), First);
        long Twice = 0;
        for (std::size_t I = 0; I < Points.size(); ++I) {
            const TPoint A = Points[I], C = Points[(I + 1) % Points.size()];
            ASSERT_EQ(std::abs(C.X - A.X) + std::abs(C.Y - A.Y), 1) << "after point " << I;
            Twice += static_cast<long>(A.X) * C.Y - static_cast<long>(C.X) * A.Y;
        }
        // With y pointing down, counter-clockwise on screen gives a negative shoelace sum.
        EXPECT_EQ(Twice, -2 * EnclosedArea(SolidAt, W, H, First));
    }
}

} // namespace
} // namespace zp
