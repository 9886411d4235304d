#include "FigureTestSupport.h"

#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zp {
namespace {

constexpr TColor32 Blue = 0xFF0000FF;
constexpr TColor32 Red = 0xFFFF0000;
constexpr TColor32 Grey = 0xFF7F7F7F;

void ExpectNear(TGPPointF P, double X, double Y) {
    EXPECT_NEAR(P.X, X, 1e-3);
    EXPECT_NEAR(P.Y, Y, 1e-3);
}

// A 10 x 6 rectangle at (10, 20), filled blue.
T2DRectangle* BlueRectangle(TLayerCollection& Layers) {
    auto* R = Layers.Add<T2DRectangle>(10, 20, 20, 26);
    R->LayerStyle().SetFillColor(Blue);
    return R;
}

TEST(Rectangle, CoversItsPixelsWithHalfPixelEdgesAndAnOutlineOnThem) {
    TLayerCollection Layers;
    T2DRectangle* R = BlueRectangle(Layers);
    R->Rectangle();
    // Edges run through pixel centres: the border pixels are half covered.
    EXPECT_EQ(ImagePixel(*R, 15, 23), Blue);
    EXPECT_EQ(ImagePixel(*R, 11, 21), Blue);
    EXPECT_EQ(ImagePixel(*R, 19, 25), Blue);
    for (const auto& [X, Y] : {std::pair{10, 23}, {20, 23}, {15, 20}, {15, 26}}) {
        EXPECT_NEAR(ImageAlpha(*R, X, Y), 128, 1) << X << ", " << Y;
        EXPECT_EQ(ImagePixel(*R, X, Y) & 0xFFFFFF, 0x0000FFu) << X << ", " << Y;
    }
    for (const auto& [X, Y] : {std::pair{9, 23}, {21, 23}, {15, 19}, {15, 27}})
        EXPECT_EQ(ImagePixel(*R, X, Y), 0u) << X << ", " << Y;

    // A one-pixel outline is stroked first; the fill covers its inner half.
    T2DLayerStyle& S = R->LayerStyle();
    S.SetOutline(true);
    S.SetOutlineSize(1);
    S.SetOutlineColor(Red);
    R->Paint();
    EXPECT_EQ(ImagePixel(*R, 15, 23), Blue);
    for (const auto& [X, Y] : {std::pair{10, 23}, {20, 23}, {15, 20}, {15, 26}}) {
        const TColor32 C = ImagePixel(*R, X, Y);
        EXPECT_EQ(AlphaComponent(C), 255u) << X << ", " << Y;
        EXPECT_NEAR(RedComponent(C), 128, 1) << X << ", " << Y;
        EXPECT_NEAR(BlueComponent(C), 128, 1) << X << ", " << Y;
    }
    for (const auto& [X, Y] : {std::pair{9, 23}, {21, 23}, {15, 19}, {15, 27}})
        EXPECT_EQ(ImagePixel(*R, X, Y), 0u) << X << ", " << Y;
    // The outline grows the bitmap, the anchor keeps the figure in place.
    EXPECT_EQ(R->GetWidth(), 12);
    EXPECT_EQ(R->BoundingRect().Left, 10);
    EXPECT_EQ(R->BoundingRect().Top, 20);
}

TEST(Rectangle, ShadowLiesUnderTheFigureAtItsOffsetAndFlipsWithIt) {
    TLayerCollection Layers;
    T2DRectangle* R = BlueRectangle(Layers);
    R->LayerStyle().SetShadow(true);
    R->Paint();
    // Shadow rectangle (13, 23)-(23, 29) under the figure (10, 20)-(20, 26).
    EXPECT_EQ(ImagePixel(*R, 22, 27), Grey);
    EXPECT_EQ(ImagePixel(*R, 14, 28), Grey);
    EXPECT_EQ(ImagePixel(*R, 15, 23), Blue);
    EXPECT_EQ(ImagePixel(*R, 11, 28), 0u);
    EXPECT_EQ(ImagePixel(*R, 22, 21), 0u);

    const TBitmap32& B = R->Bitmap();
    std::vector<TColor32> Before(B.Bits(), B.Bits() + B.Width() * B.Height());
    const TFloatRect Location = R->Location();

    // Mirrored about the figure's centre x = 15: the shadow now reaches left, the figure stays.
    R->FlipHorizontal();
    EXPECT_EQ(R->Location(), Location);
    EXPECT_EQ(ImagePixel(*R, 8, 27), Grey);
    EXPECT_EQ(ImagePixel(*R, 22, 27), 0u);
    EXPECT_EQ(ImagePixel(*R, 15, 23), Blue);
    EXPECT_EQ(R->BoundingRect().Left, 10);
    EXPECT_EQ(R->LayerStyle().ShadowTransformMatrix(), R->Matrix.GetElements());

    R->FlipVertical(); // about y = 23: shadow rows 17..23
    EXPECT_EQ(ImagePixel(*R, 8, 18), Grey);
    EXPECT_EQ(ImagePixel(*R, 8, 27), 0u);

    R->FlipVertical();
    R->FlipHorizontal();
    EXPECT_TRUE(std::equal(Before.begin(), Before.end(), B.Bits()));

    // A shadow up and to the left gets room in the bitmap too.
    R->LayerStyle().SetShadowXShift(-4);
    R->LayerStyle().SetShadowYShift(-2);
    R->Paint();
    EXPECT_EQ(ImagePixel(*R, 7, 19), Grey);
    EXPECT_EQ(ImagePixel(*R, 15, 23), Blue);
}

TEST(Rectangle, RotationAndScalingKeepTheTopLeftOfTheBounds) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(10, 20, 30, 30); // 20 x 10
    R->Paint();
    EXPECT_EQ(ImageAlpha(*R, 25, 25), 255u);
    EXPECT_EQ(ImageAlpha(*R, 15, 35), 0u);

    R->Rotate(90); // now 10 wide and 20 high, still from (10, 20)
    EXPECT_EQ(ImageAlpha(*R, 25, 25), 0u);
    EXPECT_EQ(ImageAlpha(*R, 15, 35), 255u);
    EXPECT_EQ(ImageAlpha(*R, 11, 21), 255u);
    EXPECT_EQ(ImageAlpha(*R, 19, 39), 255u);
    EXPECT_EQ(ImageAlpha(*R, 21, 30), 0u);
    EXPECT_EQ(ImageAlpha(*R, 15, 41), 0u);
    const TFloatRect B = R->BoundingRect();
    EXPECT_NEAR(B.Left, 10, 1e-3);
    EXPECT_NEAR(B.Top, 20, 1e-3);
    EXPECT_NEAR(B.Right, 21, 1e-3);
    EXPECT_NEAR(B.Bottom, 41, 1e-3);

    R->Rotate(-90);
    R->SetScale({2, 0.5f}); // 40 x 5
    EXPECT_EQ(R->ScaleFactor(), (TFloatPoint{2, 0.5f}));
    EXPECT_EQ(R->GetWidth(), 40);
    EXPECT_EQ(R->GetHeight(), 5);
    EXPECT_EQ(ImageAlpha(*R, 48, 22), 255u);
    EXPECT_EQ(ImageAlpha(*R, 51, 22), 0u);
    EXPECT_EQ(ImageAlpha(*R, 15, 27), 0u);
    EXPECT_NEAR(R->BoundingRect().Left, 10, 1e-3);
    EXPECT_NEAR(R->BoundingRect().Top, 20, 1e-3);
}

TEST(Rectangle, ConstructionOrdersTheCorners) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(50, 40, 20, 10);
    EXPECT_EQ(R->X1(), 20);
    EXPECT_EQ(R->Y1(), 10);
    EXPECT_EQ(R->X2(), 50);
    EXPECT_EQ(R->Y2(), 40);
    EXPECT_EQ(R->AX(), 30);
    EXPECT_EQ(R->AY(), 30);
    R->Paint();
    EXPECT_EQ(ImageAlpha(*R, 35, 25), 255u);
    EXPECT_EQ(R->BoundingRect().Left, 20);
}

TEST(Ellipse, IsInscribedInItsRectangle) {
    TLayerCollection Layers;
    auto* E = Layers.Add<T2DEllipse>(10, 10, 50, 30);
    E->Paint();
    EXPECT_EQ(ImageAlpha(*E, 30, 20), 255u);
    EXPECT_EQ(ImageAlpha(*E, 12, 20), 255u); // near the left end of the long axis
    EXPECT_EQ(ImageAlpha(*E, 12, 12), 0u);   // the rectangle's corner is outside
    EXPECT_EQ(ImageAlpha(*E, 48, 28), 0u);
    EXPECT_NEAR(E->BoundingRect().Right, 51, 1e-3);
    EXPECT_NEAR(E->BoundingRect().Bottom, 31, 1e-3);
}

TEST(HelpFigures, DrawARedOutlineOnlyAndIgnoreEmptyDrags) {
    TLayerCollection Layers;
    auto* H = Layers.Add<T2DRectangle>();
    H->SetX1(30);
    H->SetY1(25);
    H->SetX2(10);
    H->SetY2(15);
    H->HelpLine();
    EXPECT_TRUE(H->HelpLayer());
    EXPECT_FALSE(H->Cropped());
    EXPECT_EQ(H->Bitmap().Width(), 20);
    EXPECT_EQ(H->Bitmap().Height(), 10);
    EXPECT_EQ(H->Location(), (TFloatRect{10, 15, 30, 25}));
    EXPECT_EQ(ImagePixel(*H, 10, 20), Red);
    EXPECT_EQ(ImagePixel(*H, 29, 20), Red);
    EXPECT_EQ(ImagePixel(*H, 20, 15), Red);
    EXPECT_EQ(ImagePixel(*H, 20, 24), Red);
    EXPECT_EQ(ImagePixel(*H, 20, 20), 0u);

    // No height: nothing is drawn, the last picture stays.
    H->SetX1(10);
    H->SetY1(40);
    H->SetX2(60);
    H->SetY2(40);
    H->HelpLine();
    EXPECT_EQ(H->Bitmap().Width(), 20);
    EXPECT_EQ(H->Location(), (TFloatRect{10, 15, 30, 25}));

    auto* P = Layers.Add<T2DPolygon>();
    P->SetNumEdges(6);
    P->SetX1(100);
    P->SetY1(100);
    P->SetX2(110);
    P->SetY2(100);
    P->HelpLine();
    EXPECT_EQ(P->Bitmap().Width(), 21);
    EXPECT_EQ(P->Location(), (TFloatRect{90, 90, 111, 111}));
    // Vertex 0 at the drag end; the round join covers most of its pixel.
    EXPECT_EQ(ImagePixel(*P, 110, 100) & 0xFFFFFF, 0xFF0000u);
    EXPECT_GT(ImageAlpha(*P, 110, 100), 128u);
    EXPECT_EQ(ImagePixel(*P, 100, 100), 0u);

    auto* L = Layers.Add<T2DLine>();
    L->SetX1(40);
    L->SetY1(10);
    L->SetX2(0);
    L->SetY2(10); // to the left, width 1
    L->HelpLine();
    EXPECT_EQ(L->Bitmap().Width(), 42);
    EXPECT_EQ(L->Bitmap().Height(), 4);
    // The band starts half its width above the line and at the line's left end.
    EXPECT_EQ(L->Location(), (TFloatRect{0, 9.5f, 42, 13.5f}));
    EXPECT_EQ(ImagePixel(*L, 20, 10), Red);
    EXPECT_EQ(ImagePixel(*L, 0, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(ImagePixel(*L, 41, 10), 0u);
}

TEST(Polygon, VerticesStartAtTheDragEndAndTurnClockwise) {
    TLayerCollection Layers;
    auto* P = Layers.Add<T2DPolygon>(100, 100, 130, 100, 5);
    P->Paint();
    EXPECT_EQ(P->Radius, 30);
    ASSERT_EQ(P->PolygonPoints.size(), 5u);
    const TFloatRect L = P->Location();
    // The centre and vertex 0 in picture coordinates.
    const double CX = L.Left + P->StartPoint.X + std::nearbyint(P->Radius);
    const double CY = L.Top + P->StartPoint.Y + std::nearbyint(P->Radius);
    EXPECT_NEAR(CX, 100, 0.5);
    EXPECT_NEAR(CY, 100, 0.5);
    EXPECT_NEAR(L.Left + P->PolygonPoints[0].X, 130, 0.5);
    EXPECT_NEAR(L.Top + P->PolygonPoints[0].Y, 100, 0.5);
    for (int I = 0; I < 5; ++I) {
        const double Angle = 2 * std::numbers::pi * I / 5; // y down: growing angles turn clockwise
        ExpectNear(P->PolygonPoints[I], CX - L.Left + 30 * std::cos(Angle),
                   CY - L.Top + 30 * std::sin(Angle));
    }

    auto* Up = Layers.Add<T2DPolygon>(50, 50, 50, 20, 5);
    Up->Paint();
    const TGPPointF C{static_cast<float>(Up->StartPoint.X + 30), static_cast<float>(Up->StartPoint.Y + 30)};
    ExpectNear(Up->PolygonPoints[0], C.X, C.Y - 30);
}

// Checks, on a circle between the edges' middles and the vertices, that the directions of the
// expected corners are painted and the directions half way between them are not.
void ExpectCorners(const T2DPolygon& P, double CX, double CY, double FirstAngle, int Edges) {
    const double R = P.Radius * (1 + std::cos(std::numbers::pi / Edges)) / 2;
    const auto At = [&](double A) {
        return ImageAlpha(P, static_cast<int>(std::lround(CX + R * std::cos(A))),
                          static_cast<int>(std::lround(CY + R * std::sin(A))));
    };
    for (int K = 0; K < Edges; ++K) {
        const double A = FirstAngle + 2 * std::numbers::pi * K / Edges;
        EXPECT_EQ(At(A), 255u) << "corner " << K << " of " << Edges;
        EXPECT_EQ(At(A + std::numbers::pi / Edges), 0u) << "after corner " << K << " of " << Edges;
    }
}

TEST(Polygon, HasAsManyCornersAsEdgesAndCentresOnThePressPoint) {
    for (int Edges : {5, 7, 9}) {
        TLayerCollection Layers;
        auto* P = Layers.Add<T2DPolygon>(200, 150, 120, 90, Edges); // radius 100, dragged up-left
        P->Paint();
        EXPECT_EQ(P->PolygonPoints.size(), static_cast<std::size_t>(Edges));
        EXPECT_EQ(ImageAlpha(*P, 200, 150), 255u);
        ExpectCorners(*P, 200, 150, std::atan2(-60.0, -80.0), Edges);
        // The drag end is the tip of vertex 0.
        EXPECT_EQ(ImageAlpha(*P, 118, 88), 0u);
        EXPECT_EQ(ImageAlpha(*P, 124, 93), 255u);
    }
}

TEST(Line, CornersFormABandOfTheGivenWidth) {
    TLayerCollection Layers;
    auto* L = Layers.Add<T2DLine>(0, 0, 10, 10);
    L->SetLineWidth(2);
    L->StartPoint = {0, 0};
    L->CalculateLinePolygon();
    EXPECT_NEAR(L->V.X, std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(L->V.Y, -std::sqrt(2.0), 1e-5);
    ASSERT_EQ(L->PolygonPoints.size(), 4u);
    const double S = std::sqrt(2.0);
    ExpectNear(L->PolygonPoints[0], S, 0);
    ExpectNear(L->PolygonPoints[1], 0, S);
    ExpectNear(L->PolygonPoints[2], 10, 10 + S);
    ExpectNear(L->PolygonPoints[3], 10 + S, 10);

    auto* H = Layers.Add<T2DLine>(0, 0, 40, 0);
    H->SetLineWidth(5);
    H->StartPoint = {3, 4};
    H->CalculateLinePolygon();
    ExpectNear(H->PolygonPoints[0], 3, 4);
    ExpectNear(H->PolygonPoints[1], 3, 9);
    ExpectNear(H->PolygonPoints[2], 43, 9);
    ExpectNear(H->PolygonPoints[3], 43, 4);

    auto* Dot = Layers.Add<T2DLine>(7, 7, 7, 7);
    Dot->StartPoint = {0, 0};
    Dot->CalculateLinePolygon();
    EXPECT_EQ(Dot->PolygonPoints[2].X, 0); // no length: a band without area
    Dot->Paint();
    EXPECT_EQ(ImageAlpha(*Dot, 7, 7), 0u);
}

TEST(Line, RunsFromThePressPointToTheDragEndInEveryDirection) {
    for (const auto& [X2, Y2] : {std::pair{90, 70}, {10, 70}, {90, 30}, {10, 30}, {50, 90}, {10, 50}}) {
        TLayerCollection Layers;
        auto* L = Layers.Add<T2DLine>(50, 50, X2, Y2);
        L->SetLineWidth(6);
        L->Line();
        const double Length = std::hypot(X2 - 50.0, Y2 - 50.0);
        const double UX = (X2 - 50) / Length, UY = (Y2 - 50) / Length;
        const auto At = [&](double X, double Y) {
            return ImageAlpha(*L, static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y)));
        };
        EXPECT_EQ(At(50 + 3 * UX, 50 + 3 * UY), 255u) << X2 << ", " << Y2;
        EXPECT_EQ(At(50 - 3 * UX, 50 - 3 * UY), 0u) << X2 << ", " << Y2;
        EXPECT_EQ(At(X2 - 3 * UX, Y2 - 3 * UY), 255u) << X2 << ", " << Y2;
        EXPECT_EQ(At(X2 + 3 * UX, Y2 + 3 * UY), 0u) << X2 << ", " << Y2;
        // Three pixels to the side is still on the band of width 6, five is not.
        EXPECT_GT(At(50 + 20 * UX - 2 * UY, 50 + 20 * UY + 2 * UX), 0u) << X2 << ", " << Y2;
        EXPECT_EQ(At(50 + 20 * UX - 5 * UY, 50 + 20 * UY + 5 * UX), 0u) << X2 << ", " << Y2;
    }
}

// A linear gradient across the figure, in bitmap pixels from its anchor.
void SetGradient(T2DFiguren& F, int DX) {
    T2DLayerStyle& S = F.LayerStyle();
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0xFFFF0000);
    S.SetFillGradientColor2(0xFF0000FF);
    S.SetFillGradientPStart(F.StartPoint);
    S.SetFillGradientPEnd({F.StartPoint.X + DX, F.StartPoint.Y});
}

TEST(Gradient, StaysOnTheFigureWhenItsBitmapGrowsOrItIsRedrawn) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(10, 10, 50, 40);
    R->Paint();
    SetGradient(*R, 40);
    R->Paint();
    const TColor32 Left = ImagePixel(*R, 20, 25), Right = ImagePixel(*R, 40, 25);
    EXPECT_GT(RedComponent(Left), BlueComponent(Left));
    EXPECT_LT(RedComponent(Right), BlueComponent(Right));

    R->LayerStyle().SetOutline(true);
    R->LayerStyle().SetOutlineSize(8); // the bitmap grows, the anchor moves within it
    const TPoint Before = R->StartPoint;
    R->Paint();
    EXPECT_NE(R->StartPoint, Before);
    EXPECT_EQ(ImagePixel(*R, 20, 25), Left);
    EXPECT_EQ(ImagePixel(*R, 40, 25), Right);

    // The line anchors itself on the middle of its start edge, not on StartPoint; its gradient
    // must not creep along at each redraw.
    auto* L = Layers.Add<T2DLine>(100, 100, 160, 130);
    L->SetLineWidth(10);
    L->Paint();
    SetGradient(*L, 60);
    L->Paint();
    const std::vector<TColor32> First(L->Bitmap().Bits(),
                                      L->Bitmap().Bits() + L->Bitmap().Width() * L->Bitmap().Height());
    const TFloatRect Where = L->Location();
    L->Paint();
    L->Paint();
    EXPECT_EQ(L->Location(), Where);
    EXPECT_TRUE(std::equal(First.begin(), First.end(), L->Bitmap().Bits()));
}

// Every kind with shadow, gradient, effects, a turn and a scale, cloned into another frame.
TEST(Clone, CopiesTheFigureAndItsPixelsExactly) {
    TLayerCollection From, To;
    std::vector<T2DFiguren*> Figures{
        From.Add<T2DRectangle>(10, 10, 60, 40), From.Add<T2DEllipse>(10, 10, 60, 40),
        From.Add<T2DPolygon>(50, 50, 80, 40, 7), From.Add<T2DLine>(10, 10, 70, 30)};
    static_cast<T2DLine*>(Figures[3])->SetLineWidth(9);
    for (T2DFiguren* F : Figures) {
        F->Paint();
        T2DLayerStyle& S = F->LayerStyle();
        S.SetShadow(true);
        S.SetShadowXShift(-5);
        SetGradient(*F, 30);
        S.SetFillGradientShape(shpCircle);
        F->AddingEffect(efSharpen);
        auto Blur = std::make_unique<TMotionBlur>();
        Blur->SetDirection(bldBottomLeft);
        Blur->SetStrenght(2);
        F->AddEffect(std::move(Blur));
        F->Rotate(25);
        F->SetScale({2, 1.5f});

        TBitmapLayer* Copy = F->Clone(To);
        ASSERT_EQ(To.Items(To.Count() - 1), Copy);
        EXPECT_STREQ(Copy->ClassName(), F->ClassName());
        auto* C = dynamic_cast<T2DFiguren*>(Copy);
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(C->AX(), F->AX());
        EXPECT_EQ(C->AY(), F->AY());
        EXPECT_EQ(C->ScaleFactor(), F->ScaleFactor());
        // The copy's first drawing recomputes the translation that keeps the anchor.
        const TGPMatrixElements M = C->LayerStyle().TransformMatrix(), N = F->LayerStyle().TransformMatrix();
        EXPECT_EQ(M.M11, N.M11);
        EXPECT_EQ(M.M12, N.M12);
        EXPECT_EQ(M.M21, N.M21);
        EXPECT_EQ(M.M22, N.M22);
        EXPECT_NEAR(M.DX, N.DX, 1e-3);
        EXPECT_NEAR(M.DY, N.DY, 1e-3);
        EXPECT_EQ(C->LayerStyle().EffectList, F->LayerStyle().EffectList);
        ASSERT_EQ(C->EffectObjectList.size(), 2u);
        const auto* CopiedBlur = dynamic_cast<const TMotionBlur*>(C->EffectObjectList[1].get());
        ASSERT_NE(CopiedBlur, nullptr);
        EXPECT_EQ(CopiedBlur->Direction(), bldBottomLeft);
        EXPECT_EQ(CopiedBlur->Strenght(), 2);
        EXPECT_EQ(CopiedBlur->EffectBitmap(), &C->Bitmap());
        // The caller places the copy.
        C->SetLocation(F->Location());
        EXPECT_TRUE(SameImage(*C, *F)) << F->ClassName();
    }
    EXPECT_EQ(static_cast<T2DPolygon*>(To.Items(2))->NumEdges(), 7);
    EXPECT_EQ(static_cast<T2DLine*>(To.Items(3))->LineWidth(), 9);
}

} // namespace
} // namespace zp
