#include "gfx/Graphics.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

void ExpectPoint(TGPPointF P, float X, float Y) {
    EXPECT_NEAR(P.X, X, 1e-5f);
    EXPECT_NEAR(P.Y, Y, 1e-5f);
}

TEST(Matrix, OperationsArePrependedUnlessAskedOtherwise) {
    TGPMatrix M;
    M.Translate(10, 0);
    M.Rotate(90);
    // The turn applies to the point first: (1, 0) turns to (0, 1), then moves.
    ExpectPoint(M.TransformPoint({1, 0}), 10, 1);
    const TGPMatrixElements E = M.GetElements();
    EXPECT_EQ(E, (TGPMatrixElements{0, 1, -1, 0, 10, 0})) << "quarter turns are exact";

    TGPMatrix A;
    A.Translate(10, 0);
    A.Rotate(90, MatrixOrderAppend);
    ExpectPoint(A.TransformPoint({1, 0}), 0, 11);

    TGPMatrix S;
    S.Rotate(30);
    S.Scale(2, 3);
    ExpectPoint(S.TransformPoint({1, 0}), 2 * 0.8660254f, 2 * 0.5f);
    TGPMatrix Half;
    Half.Rotate(-270);
    ExpectPoint(Half.TransformPoint({0, 1}), -1, 0);
}

TEST(Matrix, ElementsRoundTripAndInversion) {
    const TGPMatrixElements E{1.5f, 0.25f, -2, 4, 7, -3};
    TGPMatrix M(E);
    EXPECT_EQ(M.GetElements(), E);
    TGPMatrix Inverse = M;
    Inverse.Invert();
    ExpectPoint(Inverse.TransformPoint(M.TransformPoint({3, -5})), 3, -5);
    M.Multiply(Inverse);
    ExpectPoint(M.TransformPoint({2, -1}), 2, -1);

    TGPMatrix Flat({1, 2, 2, 4, 0, 0});
    EXPECT_THROW(Flat.Invert(), EGdipError);
    M.Reset();
    EXPECT_TRUE(M.IsIdentity());
}

TEST(Path, BoundsOfEachFigureKindWithoutPenOrMatrix) {
    TGPPath P;
    EXPECT_EQ(P.GetWorldBounds(), (TGPRectF{0, 0, 0, 0}));
    P.AddEllipse({2, 3, 10, 6});
    EXPECT_EQ(P.GetWorldBounds(), (TGPRectF{2, 3, 10, 6}));
    const std::vector<TGPPointF> Triangle{{20, 1}, {25, 10}, {15, 10}};
    P.AddPolygon(Triangle);
    EXPECT_EQ(P.GetWorldBounds(), (TGPRectF{2, 1, 23, 9}));

    TGPMatrix Turn;
    Turn.Rotate(90);
    P.Reset();
    P.AddRectangle({1, 2, 4, 3});
    P.Transform(Turn);
    EXPECT_EQ(P.GetWorldBounds(), (TGPRectF{-5, 1, 3, 4}));
    P.Reset();
    EXPECT_TRUE(P.IsEmpty());
    EXPECT_EQ(P.GetWorldBounds(), (TGPRectF{0, 0, 0, 0}));
}

TEST(Path, AlternateFillLeavesOverlapsEmptyWindingFillsThem) {
    for (TGPFillMode Mode : {FillModeAlternate, FillModeWinding}) {
        TGPPath P(Mode);
        EXPECT_EQ(P.FillMode(), Mode);
        P.AddRectangle({0, 0, 10, 10});
        P.AddRectangle({3, 3, 4, 4});
        TBitmap32 B;
        B.SetSize(12, 12);
        TGPGraphics G(B);
        G.FillPath(TGPSolidBrush(0xFFFFFFFF), P);
        EXPECT_EQ(B.Pixel(1, 1), 0xFFFFFFFFu);
        EXPECT_EQ(B.Pixel(5, 5), Mode == FillModeAlternate ? 0u : 0xFFFFFFFFu);
    }
}

TEST(Path, DegeneratePolygonsAddNoArea) {
    TGPPath P;
    const TGPPointF One[] = {{3, 3}};
    P.AddPolygon(One, 1);
    P.AddPolygon(One, 0);
    TBitmap32 B;
    B.SetSize(6, 6);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    EXPECT_NO_THROW(G.FillPath(TGPSolidBrush(0xFFFFFFFF), P));
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 6; ++X) EXPECT_EQ(B.Pixel(X, Y), 0u);
}

} // namespace
} // namespace zp
