// A sheet of every figure kind, a picture layer and a text layer in several styles, written for a person
// to look at.
#include "FigureTestSupport.h"

#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

#include <gtest/gtest.h>

#include <QDir>

#include <functional>
#include <string>

namespace zp {
namespace {

constexpr int CellW = 130, CellH = 110;

std::shared_ptr<TGPImage> Checker() {
    QImage I(8, 8, QImage::Format_ARGB32);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) I.setPixel(X, Y, ((X / 4 + Y / 4) % 2) ? 0xFF2060C0 : 0xFFF0C020);
    return std::make_shared<TGPImage>(I);
}

// Gradient points from the figure's anchor along its extent, in bitmap pixels.
void Gradient(TStyledLayer& F, TShapeType Shape, TColor32 C1, TColor32 C2) {
    T2DLayerStyle& S = F.LayerStyle();
    S.SetFillGradient(true);
    S.SetFillGradientShape(Shape);
    S.SetFillGradientColor1(C1);
    S.SetFillGradientColor2(C2);
    const TPoint P = F.StartPoint;
    const bool Centred = Shape == shpCircle || Shape == shpSqare || Shape == shpCircleTransp;
    const TPoint From = Centred ? TPoint{P.X + 40, P.Y + 30} : P;
    S.SetFillGradientPStart(From);
    S.SetFillGradientPEnd({P.X + 80, P.Y + 60});
}

using TStyler = std::function<void(TStyledLayer&)>;

struct TColumn {
    const char* Name;
    TStyler Style;
};

// A picture with an irregular silhouette: a disc and a bar, shaded, on transparent pixels.
TBitmap32& SamplePicture() {
    static TBitmap32 P;
    if (P.Empty()) {
        P.SetSize(80, 60);
        P.Clear(0);
        for (int Y = 0; Y < 60; ++Y)
            for (int X = 0; X < 80; ++X) {
                const int DX = X - 30, DY = Y - 30;
                if (DX * DX + DY * DY < 26 * 26 || (X > 40 && Y > 24 && Y < 36))
                    P.SetPixel(
                        X, Y, Color32(static_cast<unsigned>(120 + X), static_cast<unsigned>(60 + 2 * Y), 90));
            }
    }
    return P;
}

TStyledLayer* MakeFigure(TLayerCollection& Layers, int Row, int X, int Y) {
    switch (Row) {
    case 5: {
        auto* T = Layers.Add<TTextLayer>();
        T->FontLayerStyle().SetText(QStringLiteral("Ag"));
        T->FontLayerStyle().SetFontSize(64);
        T->FontLayerStyle().SetFontBold(true);
        T->WriteText(0, 0);
        // The text's origin at the cell's top-left corner, inset.
        T->SetLocation({static_cast<float>(X + 20 - T->StartPoint.X),
                        static_cast<float>(Y + 10 - T->StartPoint.Y),
                        static_cast<float>(X + 20 - T->StartPoint.X + T->Bitmap().Width()),
                        static_cast<float>(Y + 10 - T->StartPoint.Y + T->Bitmap().Height())});
        return T;
    }
    case 4: {
        auto* P = Layers.Add<TPicLayer>(SamplePicture());
        const TFloatRect L = P->Location();
        P->SetLocation({L.Left + X + 20, L.Top + Y + 20, L.Right + X + 20, L.Bottom + Y + 20});
        return P;
    }
    case 0: return Layers.Add<T2DRectangle>(X + 20, Y + 20, X + 100, Y + 80);
    case 1: return Layers.Add<T2DEllipse>(X + 20, Y + 20, X + 100, Y + 80);
    case 2: return Layers.Add<T2DPolygon>(X + 60, Y + 52, X + 95, Y + 40, 5);
    default: {
        auto* L = Layers.Add<T2DLine>(X + 15, Y + 85, X + 105, Y + 25);
        L->SetLineWidth(14);
        return L;
    }
    }
}

TEST(RenderSheet, EveryFigureKindPictureAndTextInSeveralStyles) {
    const TColumn Columns[] = {
        {"solid", [](TStyledLayer& F) { F.LayerStyle().SetFillColor(0xFFD03030); }},
        {"outline",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillColor(0xFFFFE080);
             S.SetOutline(true);
             S.SetOutlineSize(4);
             S.SetOutlineColor(0xFF2040A0);
         }},
        {"dashed",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillColorAlpha(90);
             S.SetFillColor(0xFF30A030);
             S.SetOutline(true);
             S.SetOutlineSize(2);
             S.SetOutlineColor(0xFF000000);
             S.SetOutlineDashStyle(DashStyleDash);
         }},
        {"linear", [](TStyledLayer& F) { Gradient(F, shpLinear, 0xFFFF0000, 0xFF0000FF); }},
        {"circle", [](TStyledLayer& F) { Gradient(F, shpCircle, 0xFFFFFFFF, 0xFF008000); }},
        {"square-transp", [](TStyledLayer& F) { Gradient(F, shpSqareTransp, 0xFF800080, 0); }},
        {"hatch",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillPattern(true);
             S.SetNoOfHatchBrush(11);
             S.SetHatchBrushForeColor(0xFF000080);
             S.SetHatchBrushBackColor(0xFFC0E0FF);
         }},
        {"pattern",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillImage(true);
             S.SetFillPatternBitmap(Checker());
             S.SetFillPatternWrapMode(WrapModeTileFlipXY);
         }},
        {"shadow",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillColor(0xFF40B0B0);
             S.SetShadow(true);
             S.SetShadowXShift(6);
             S.SetShadowYShift(5);
             S.SetShadowAlpha(160);
         }},
        {"emboss",
         [](TStyledLayer& F) {
             F.LayerStyle().SetFillColor(0xFFC08040);
             F.AddingEffect(efEmboss);
         }},
        {"motion blur",
         [](TStyledLayer& F) {
             F.LayerStyle().SetFillColor(0xFF2020C0);
             auto Blur = std::make_unique<TMotionBlur>();
             Blur->SetDirection(bldRight);
             Blur->SetStrenght(2);
             F.AddEffect(std::move(Blur));
         }},
        {"turned 30, scaled",
         [](TStyledLayer& F) {
             T2DLayerStyle& S = F.LayerStyle();
             S.SetFillColor(0xFFE07000);
             S.SetOutline(true);
             S.SetOutlineSize(2);
             S.SetOutlineColor(0xFF000000);
             F.Rotate(30);
             F.SetScale({0.8f, 0.8f});
         }},
    };
    constexpr int ColumnCount = sizeof(Columns) / sizeof(Columns[0]);
    constexpr int Rows = 6;

    TLayerCollection Layers;
    for (int Row = 0; Row < Rows; ++Row)
        for (int Col = 0; Col < ColumnCount; ++Col) {
            TStyledLayer* F = MakeFigure(Layers, Row, Col * CellW, Row * CellH);
            F->Redraw();
            Columns[Col].Style(*F);
            F->Redraw();
            EXPECT_GT(F->GPBoundingRect.Width, 10) << Columns[Col].Name << " row " << Row;
        }

    TBitmap32 Sheet;
    Sheet.SetSize(ColumnCount * CellW, Rows * CellH);
    Sheet.Clear(0xFFFFFFFF);
    for (int Col = 1; Col < ColumnCount; ++Col)
        Sheet.FillRectS(Col * CellW, 0, Col * CellW + 1, Rows * CellH, 0xFFC0C0C0);
    for (int Row = 1; Row < Rows; ++Row)
        Sheet.FillRectS(0, Row * CellH, ColumnCount * CellW, Row * CellH + 1, 0xFFC0C0C0);
    Layers.PaintLayers(Sheet, LOB_VISIBLE);

    QDir().mkpath(ZP_ARTIFACT_DIR);
    const QString File = QStringLiteral(ZP_ARTIFACT_DIR "/figures_sheet.png");
    ASSERT_TRUE(ToQImage(Sheet).save(File)) << File.toStdString();
}

} // namespace
} // namespace zp
