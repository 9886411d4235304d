#include "gfx/Graphics.h"
#include "gfx/Hatch.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace zp {
namespace {

// Draws every hatch style and dash style onto one sheet and keeps it as a PNG for a person
// to look at (enlarged three times so the 8 x 8 patterns are easy to see).
TEST(HatchSheet, AllHatchAndDashStylesAreWrittenForInspection) {
    constexpr int Columns = 9, CellW = 60, CellH = 62, SwatchW = 48, SwatchH = 40;
    constexpr int DashTop = 6 * CellH + 10;
    TBitmap32 Sheet;
    Sheet.SetSize(Columns * CellW + 10, DashTop + 6 * 24 + 10);
    TGPGraphics G(Sheet);
    G.Clear(0xFFFFFFFF);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    const TGPFontFamily Arial("Arial");
    const TGPSolidBrush Ink(0xFF000000);

    for (int Style = HatchStyleMin; Style <= HatchStyleMax; ++Style) {
        const float X = 10.0f + (Style % Columns) * CellW;
        const float Y = 10.0f + (Style / Columns) * CellH;
        G.FillRectangle(TGPHatchBrush(Style, 0xFF000080, 0xFFFFFFC0), {X - 0.5f, Y - 0.5f, SwatchW, SwatchH});
        G.DrawPath(TGPPen(0xFF808080, 0), [&] {
            TGPPath Frame;
            Frame.AddRectangle({X - 1, Y - 1, SwatchW + 1, SwatchH + 1});
            return Frame;
        }());
        TGPPath Label;
        Label.AddString(QString::number(Style), Arial, FontStyleRegular, 11, {X, Y + SwatchH + 1, 0, 0});
        G.FillPath(Ink, Label);
    }
    const char* DashNames[] = {"Solid", "Dash", "Dot", "DashDot", "DashDotDot", "Custom"};
    for (int Dash = DashStyleSolid; Dash <= DashStyleCustom; ++Dash) {
        const int Y = DashTop + Dash * 24;
        TGPPath Label;
        Label.AddString(DashNames[Dash], Arial, FontStyleRegular, 11, {10, static_cast<float>(Y) - 6, 0, 0});
        G.FillPath(Ink, Label);
        int X = 90;
        for (float Width : {0.0f, 1.0f, 3.0f}) {
            TGPPen Pen(0xFF000000, Width);
            Pen.SetDashStyle(static_cast<TGPDashStyle>(Dash));
            G.DrawLine(Pen, X, Y, X + 140, Y);
            X += 155;
        }
    }

    // Each swatch shows its pattern on the surface's 8 x 8 grid.
    for (int Style = HatchStyleMin; Style <= HatchStyleMax; ++Style) {
        const int X0 = 10 + (Style % Columns) * CellW, Y0 = 10 + (Style / Columns) * CellH;
        for (int Y = Y0; Y < Y0 + SwatchH; ++Y)
            for (int X = X0; X < X0 + SwatchW; ++X)
                ASSERT_EQ(Sheet.Pixel(X, Y), HatchForeground(Style, X, Y) ? 0xFF000080u : 0xFFFFFFC0u)
                    << Style;
    }

    const QString File = QDir(ZP_ARTIFACT_DIR).filePath("hatch_and_dash_styles.png");
    const QImage Pixels = TGPImage::FromBitmap32(Sheet)->QtImage();
    ASSERT_TRUE(Pixels.scaled(Pixels.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(File));
    const auto Back = TGPImage::FromFile(File);
    EXPECT_EQ(Back->Width(), Sheet.Width() * 3);
    EXPECT_EQ(Back->Pixel(3 * 20 + 1, 3 * 20 + 1), Sheet.Pixel(20, 20));
}

} // namespace
} // namespace zp
