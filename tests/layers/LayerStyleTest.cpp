#include "layers/LayerStyle.h"
#include "gfx/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zp {
namespace {

// Reads the stored colour fields, whose alpha byte the accessors replace.
struct TStyleFields : T2DLayerStyle {
    using T2DLayerStyle::fOutlineColor;
    using T2DLayerStyle::fShadowColor;
};

std::shared_ptr<TGPImage> Pattern() {
    QImage I(2, 2, QImage::Format_ARGB32);
    I.setPixel(0, 0, 0xFF102030);
    I.setPixel(1, 0, 0xFF405060);
    I.setPixel(0, 1, 0xFF708090);
    I.setPixel(1, 1, 0x80A0B0C0);
    return std::make_shared<TGPImage>(I);
}

// Paints Brush over a whole W x H surface.
void Paint(TBitmap32& B, const TGPBrush& Brush, int W, int H) {
    B.SetSize(W, H);
    B.Clear(0);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.FillRectangle(Brush, {-2, -2, static_cast<float>(W) + 4, static_cast<float>(H) + 4});
}

TEST(LayerStyle, NewStyleHasTheDefaults) {
    const T2DLayerStyle S;
    EXPECT_FALSE(S.Outline());
    EXPECT_EQ(S.OutlineSize(), 0);
    EXPECT_EQ(S.OutlineColor(), 0xFF0000FFu);
    EXPECT_EQ(S.OutlineDashStyle(), DashStyleSolid);
    EXPECT_EQ(S.OutlinePosition(), posOutside);
    EXPECT_EQ(S.OutlineAlpha(), 255);
    EXPECT_EQ(S.FillColorAlpha(), 255);
    EXPECT_EQ(S.LineColorAlpha(), 255);
    EXPECT_EQ(S.FillColor(), 0xFF000000u);
    EXPECT_EQ(S.LineColor(), 0xFF000000u);
    EXPECT_FALSE(S.FillPattern());
    EXPECT_EQ(S.NoOfHatchBrush(), -1);
    EXPECT_EQ(S.HatchBrushForeColor(), 0xFF000000u);
    EXPECT_EQ(S.HatchBrushBackColor(), 0xFFFFFFFFu);
    EXPECT_FALSE(S.FillImage());
    EXPECT_EQ(S.FillPatternBitmap(), nullptr);
    EXPECT_EQ(S.FillPatternWrapMode(), WrapModeTile);
    EXPECT_FALSE(S.FillGradient());
    EXPECT_EQ(S.FillGradientColor1(), 0u);
    EXPECT_EQ(S.FillGradientColor2(), 0u);
    EXPECT_EQ(S.FillGradientShape(), shpLinear);
    EXPECT_EQ(S.FillGradientPStart(), (TPoint{0, 0}));
    EXPECT_EQ(S.FillGradientPEnd(), (TPoint{0, 0}));
    EXPECT_FALSE(S.Shadow());
    EXPECT_EQ(S.ShadowXShift(), 3);
    EXPECT_EQ(S.ShadowYShift(), 3);
    EXPECT_EQ(S.ShadowColor(), 0xFF7F7F7Fu);
    EXPECT_EQ(S.ShadowAlpha(), 255);
    EXPECT_EQ(S.TransformMatrix(), (TGPMatrixElements{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(S.ShadowTransformMatrix(), (TGPMatrixElements{1, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(S.EffectList.empty());

    const TFontLayerStyle F;
    EXPECT_EQ(F.Text(), "");
    EXPECT_EQ(F.FontName(), "Arial");
    EXPECT_EQ(F.FontFamily().Name(), "Arial");
    EXPECT_EQ(F.FontSize(), 20);
    EXPECT_EQ(F.FontStyle(), 0);
    EXPECT_FALSE(F.FontBold() || F.FontItalic() || F.FontUnderline() || F.FontStrikeOut());
    EXPECT_EQ(F.MissingFont(), "");
    EXPECT_EQ(F.OutlineColor(), 0xFF0000FFu);
}

TEST(LayerStyle, ReadingAccessorsPutTheLowByteOfTheAlphaFieldIntoTheColour) {
    T2DLayerStyle S;
    S.SetOutlineColor(0x12345678);
    S.SetOutlineAlpha(128);
    EXPECT_EQ(S.OutlineColor(), 0x80345678u);
    S.SetFillColor(0xFFABCDEF);
    S.SetFillColorAlpha(256);
    EXPECT_EQ(S.FillColor(), 0x00ABCDEFu);
    EXPECT_EQ(S.FillColorAlpha(), 256);
    S.SetLineColor(0x00112233);
    S.SetLineColorAlpha(300);
    EXPECT_EQ(S.LineColor(), 0x2C112233u);
    S.SetShadowColor(0xFF010203);
    S.SetShadowAlpha(-1);
    EXPECT_EQ(S.ShadowColor(), 0xFF010203u);

    // The pens and brushes follow the same rule.
    S.SetFillColorAlpha(300);
    EXPECT_EQ(static_cast<TGPSolidBrush&>(*S.CreateBrush()).Color(), 0x2CABCDEFu);
    S.SetShadowAlpha(256);
    EXPECT_EQ(static_cast<TGPSolidBrush&>(*S.CreateShadowBrush()).Color(), 0x00010203u);
    EXPECT_EQ(S.CreateShadowPen()->Color(), 0x00010203u);
}

TEST(LayerStyle, FillKindRuleKeepsOneFillOn) {
    T2DLayerStyle S;
    S.SetFillPatternBitmap(Pattern());
    S.SetFillImage(true);
    S.SetFillPatternWrapMode(WrapModeTileFlipXY);
    S.SetFillPattern(true);
    EXPECT_TRUE(S.FillPattern());
    EXPECT_FALSE(S.FillImage());
    EXPECT_EQ(S.FillPatternWrapMode(), WrapModeTile);
    ASSERT_NE(S.FillPatternBitmap(), nullptr) << "kept for a later image fill";
    S.SetNoOfHatchBrush(7);
    S.SetFillImage(true);
    EXPECT_TRUE(S.FillImage());
    EXPECT_FALSE(S.FillPattern());
    EXPECT_EQ(S.NoOfHatchBrush(), -1);
    EXPECT_NE(S.FillPatternBitmap(), nullptr);

    S.SetFillPattern(true);
    S.SetNoOfHatchBrush(12);
    S.SetFillGradient(true);
    EXPECT_TRUE(S.FillGradient());
    EXPECT_FALSE(S.FillPattern());
    EXPECT_FALSE(S.FillImage());
    EXPECT_EQ(S.NoOfHatchBrush(), -1);

    S.SetFillImage(true);
    EXPECT_FALSE(S.FillGradient());
    S.SetFillImage(false);
    EXPECT_EQ(S.FillPatternBitmap(), nullptr) << "turning the image fill off releases the image";

    // Writing false leaves the other fills alone.
    S.SetFillPattern(true);
    S.SetFillGradient(false);
    EXPECT_TRUE(S.FillPattern());
    S.SetFillPattern(false);
    EXPECT_FALSE(S.FillPattern());
}

TEST(LayerStyle, AssignCopiesThroughTheAccessorsButNotTheEffects) {
    T2DLayerStyle A;
    A.SetOutline(true);
    A.SetOutlineSize(5);
    A.SetOutlineColor(0xFF0000FF);
    A.SetOutlineAlpha(128);
    A.SetOutlineDashStyle(DashStyleDot);
    A.SetOutlinePosition(posMid);
    A.SetFillColorAlpha(200);
    A.SetLineColorAlpha(100);
    A.SetFillColor(0xFF112233);
    A.SetLineColor(0xFF445566);
    A.SetHatchBrushForeColor(0xFF010101);
    A.SetHatchBrushBackColor(0xFF020202);
    A.SetFillPatternBitmap(Pattern());
    A.SetFillImage(true);
    A.SetFillPatternWrapMode(WrapModeClamp);
    A.SetFillGradientColor1(0xFF0000AA);
    A.SetFillGradientColor2(0xFF0000BB);
    A.SetFillGradientShape(shpSqareTransp);
    A.SetFillGradientPStart({1, 2});
    A.SetFillGradientPEnd({3, 4});
    A.SetShadow(true);
    A.SetShadowXShift(-4);
    A.SetShadowYShift(6);
    A.SetShadowColor(0xFF333333);
    A.SetShadowAlpha(64);
    A.SetTransformMatrix({0, 1, -1, 0, 5, 6});
    A.SetShadowTransformMatrix({2, 0, 0, 2, 0, 0});
    A.AddEffect(efSharpen);

    TStyleFields C;
    C.AddEffect(efSoften);
    C.Assign(A);
    EXPECT_EQ(C.fOutlineColor, 0x800000FFu);
    EXPECT_EQ(C.OutlineAlpha(), 128);
    EXPECT_TRUE(C.Outline());
    EXPECT_EQ(C.OutlineSize(), 5);
    EXPECT_EQ(C.OutlineDashStyle(), DashStyleDot);
    EXPECT_EQ(C.OutlinePosition(), posMid);
    EXPECT_EQ(C.FillColor(), 0xC8112233u);
    EXPECT_EQ(C.LineColor(), 0x64445566u);
    EXPECT_EQ(C.HatchBrushForeColor(), 0xFF010101u);
    EXPECT_EQ(C.HatchBrushBackColor(), 0xFF020202u);
    EXPECT_TRUE(C.FillImage());
    ASSERT_NE(C.FillPatternBitmap(), nullptr);
    EXPECT_NE(C.FillPatternBitmap(), A.FillPatternBitmap()) << "a clone, not the shared image";
    EXPECT_EQ(C.FillPatternBitmap()->Pixel(1, 1), 0x80A0B0C0u);
    EXPECT_EQ(C.FillPatternWrapMode(), WrapModeClamp);
    EXPECT_FALSE(C.FillGradient());
    EXPECT_EQ(C.FillGradientColor1(), 0xFF0000AAu);
    EXPECT_EQ(C.FillGradientColor2(), 0xFF0000BBu);
    EXPECT_EQ(C.FillGradientShape(), shpSqareTransp);
    EXPECT_EQ(C.FillGradientPStart(), (TPoint{1, 2}));
    EXPECT_EQ(C.FillGradientPEnd(), (TPoint{3, 4}));
    EXPECT_TRUE(C.Shadow());
    EXPECT_EQ(C.ShadowXShift(), -4);
    EXPECT_EQ(C.ShadowYShift(), 6);
    EXPECT_EQ(C.fShadowColor, 0x40333333u);
    EXPECT_EQ(C.ShadowAlpha(), 64);
    EXPECT_EQ(C.TransformMatrix(), (TGPMatrixElements{0, 1, -1, 0, 5, 6}));
    EXPECT_EQ(C.ShadowTransformMatrix(), (TGPMatrixElements{2, 0, 0, 2, 0, 0}));
    EXPECT_EQ(C.EffectList, std::vector<TEffectType>{efSoften});

    // A source with the image fill off passes no image on, and the copy drops its own.
    T2DLayerStyle Plain;
    Plain.SetFillPattern(true);
    Plain.SetNoOfHatchBrush(9);
    C.Assign(Plain);
    EXPECT_EQ(C.FillPatternBitmap(), nullptr);
    EXPECT_TRUE(C.FillPattern());
    EXPECT_EQ(C.NoOfHatchBrush(), 9);

    A.Assign(A);
    EXPECT_NE(A.FillPatternBitmap(), nullptr);
}

TEST(LayerStyle, PensFollowTheOutlineOrTheFill) {
    T2DLayerStyle S;
    S.SetFillColor(0xFF123456);
    S.SetFillColorAlpha(77);
    S.SetOutlineDashStyle(DashStyleDashDot);
    auto Pen = S.CreatePen();
    EXPECT_EQ(Pen->Color(), 0x4D123456u);
    EXPECT_EQ(Pen->Width(), 0);
    EXPECT_EQ(Pen->DashStyle(), DashStyleDashDot);
    EXPECT_EQ(Pen->LineJoin(), LineJoinRound);

    S.SetOutline(true);
    S.SetOutlineSize(7);
    S.SetOutlineColor(0x00FF0000);
    S.SetOutlineAlpha(200);
    Pen = S.CreatePen();
    EXPECT_EQ(Pen->Color(), 0xC8FF0000u);
    EXPECT_EQ(Pen->Width(), 7);
    EXPECT_EQ(Pen->LineJoin(), LineJoinRound);
    EXPECT_EQ(S.CreateShadowPen()->LineJoin(), LineJoinRound);
}

TEST(LayerStyle, SolidBrushTakesTheGradientEndColourUnderAGradient) {
    T2DLayerStyle S;
    S.SetFillColor(0xFF111111);
    S.SetFillColorAlpha(128);
    S.SetFillGradientColor2(0x00ABCDEF);
    EXPECT_EQ(static_cast<TGPSolidBrush&>(*S.CreateBrush()).Color(), 0x80111111u);
    S.SetFillGradient(true);
    EXPECT_EQ(static_cast<TGPSolidBrush&>(*S.CreateBrush()).Color(), 0x80ABCDEFu);
}

TEST(LayerStyle, HatchBrushOnlyForAnActiveStyleInRange) {
    T2DLayerStyle S;
    S.SetNoOfHatchBrush(3);
    EXPECT_EQ(S.CreateHatchBrush(), nullptr) << "hatch fill off";
    S.SetFillPattern(true);
    S.SetNoOfHatchBrush(-1);
    EXPECT_EQ(S.CreateHatchBrush(), nullptr);
    S.SetNoOfHatchBrush(53);
    EXPECT_EQ(S.CreateHatchBrush(), nullptr);
    S.SetNoOfHatchBrush(52);
    S.SetHatchBrushForeColor(0x00FF0000);
    S.SetHatchBrushBackColor(0xFF00FF00);
    S.SetFillColorAlpha(0x1A0);
    const auto Brush = S.CreateHatchBrush();
    ASSERT_NE(Brush, nullptr);
    const auto& Hatch = static_cast<const TGPHatchBrush&>(*Brush);
    EXPECT_EQ(Hatch.Style(), 52);
    EXPECT_EQ(Hatch.ForegroundColor(), 0xA0FF0000u);
    EXPECT_EQ(Hatch.BackgroundColor(), 0xA000FF00u);
}

TEST(LayerStyle, TextureBrushUsesAFreshCopyScaledByTheFillAlpha) {
    T2DLayerStyle S;
    const auto Original = Pattern();
    S.SetFillPatternBitmap(Original);
    EXPECT_EQ(S.CreateTextureBrush(), nullptr) << "image fill off";
    S.SetFillImage(true);
    S.SetFillPatternWrapMode(WrapModeTileFlipX);
    S.SetFillColorAlpha(128);
    const auto Brush = S.CreateTextureBrush();
    ASSERT_NE(Brush, nullptr);
    EXPECT_NE(S.FillPatternBitmap(), Original) << "replaced by the decoded copy";
    EXPECT_EQ(S.FillPatternBitmap()->Pixel(1, 1), 0x80A0B0C0u);
    EXPECT_EQ(Brush->WrapMode(), WrapModeTileFlipX);
    TBitmap32 B;
    Paint(B, *Brush, 4, 2);
    EXPECT_EQ(B.Pixel(0, 0), 0x80102030u);
    EXPECT_EQ(B.Pixel(1, 1), 0x40A0B0C0u);
    EXPECT_EQ(B.Pixel(2, 1), 0x40A0B0C0u); // mirrored
    EXPECT_EQ(B.Pixel(3, 0), 0x80102030u);

    S.SetFillPatternBitmap(nullptr);
    EXPECT_EQ(S.CreateTextureBrush(), nullptr);
}

TEST(LayerStyle, LinearGradientsRunFromStartToEndOrFadeOut) {
    T2DLayerStyle S;
    EXPECT_EQ(S.CreateGradientBrush(), nullptr);
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0x00FF0000);
    S.SetFillGradientColor2(0x000000FF);
    S.SetFillGradientPStart({2, 0});
    S.SetFillGradientPEnd({12, 0});
    S.SetFillColorAlpha(255);
    TBitmap32 B;
    Paint(B, *S.CreateGradientBrush(), 12, 2);
    EXPECT_EQ(B.Pixel(2, 0), 0xFFFF0000u);
    EXPECT_NEAR(int(BlueComponent(B.Pixel(7, 1))), 128, 1);
    EXPECT_NEAR(int(RedComponent(B.Pixel(7, 1))), 128, 1);
    EXPECT_NEAR(int(BlueComponent(B.Pixel(11, 0))), 230, 2);
    EXPECT_NEAR(int(BlueComponent(B.Pixel(1, 0))), 230, 2) << "tiled before the start";

    S.SetFillGradientShape(shpLinearTransp);
    Paint(B, *S.CreateGradientBrush(), 12, 2);
    EXPECT_EQ(B.Pixel(2, 0), 0xFFFF0000u);
    EXPECT_NEAR(int(AlphaComponent(B.Pixel(7, 0))), 128, 1);
    EXPECT_NEAR(int(AlphaComponent(B.Pixel(11, 0))), 25, 2);
    EXPECT_EQ(BlueComponent(B.Pixel(7, 0)), 0u);
}

TEST(LayerStyle, CircleGradientIsCentredOnTheStartWithTheDragAsRadius) {
    T2DLayerStyle S;
    S.SetFillGradient(true);
    S.SetFillGradientShape(shpCircle);
    S.SetFillGradientColor1(0xFFFFFFFF);
    S.SetFillGradientColor2(0xFF000000);
    S.SetFillColorAlpha(200);
    S.SetFillGradientPStart({10, 10});
    S.SetFillGradientPEnd({16, 18}); // radius 10
    TBitmap32 B;
    Paint(B, *S.CreateGradientBrush(), 21, 21);
    EXPECT_EQ(B.Pixel(10, 10), 0xC8FFFFFFu);
    EXPECT_EQ(B.Pixel(15, 10), 0xC8808080u); // t = 1/2
    EXPECT_EQ(B.Pixel(10, 20), 0xC8000000u);
    EXPECT_EQ(B.Pixel(18, 18), 0u) << "outside the circle nothing is painted";

    S.SetFillGradientShape(shpCircleTransp);
    Paint(B, *S.CreateGradientBrush(), 21, 21);
    EXPECT_EQ(B.Pixel(10, 10), 0xC8FFFFFFu);
    EXPECT_EQ(B.Pixel(10, 15), 0x64808080u); // halfway to transparent black
}

TEST(LayerStyle, SquareGradientHasACornerOnTheDragDirection) {
    T2DLayerStyle S;
    S.SetFillGradient(true);
    S.SetFillGradientShape(shpSqare);
    S.SetFillGradientColor1(0xFFFF0000);
    S.SetFillGradientColor2(0xFF0000FF);
    S.SetFillGradientPStart({10, 10});
    S.SetFillGradientPEnd({18, 10}); // corner at (18, 10): a square turned by -45 degrees
    TBitmap32 B;
    Paint(B, *S.CreateGradientBrush(), 21, 21);
    EXPECT_EQ(B.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(B.Pixel(12, 10), 0xFFBF0040u); // t = 1/4
    EXPECT_EQ(B.Pixel(10, 16), 0xFF4000BFu); // t = 3/4
    EXPECT_EQ(B.Pixel(13, 13), 0xFF4000BFu); // |dx| + |dy| = 6
    EXPECT_EQ(B.Pixel(15, 14), 0u) << "outside the square";

    // A vertical drag still has a corner on its line.
    S.SetFillGradientPEnd({10, 2});
    S.SetFillGradientShape(shpSqareTransp);
    Paint(B, *S.CreateGradientBrush(), 21, 21);
    EXPECT_EQ(B.Pixel(10, 4), 0x40400000u); // t = 3/4 towards the corner (10, 2)
    EXPECT_EQ(B.Pixel(4, 10), 0x40400000u);
    EXPECT_EQ(B.Pixel(15, 14), 0u);

    // A drag at 30 degrees turns the square so that the corner lies on it.
    S.SetFillGradientPEnd({10 + 12, 10 + 7}); // about 30 degrees, length 13.9
    S.SetFillGradientShape(shpSqare);
    const auto Brush = S.CreateGradientBrush();
    const auto& Square = static_cast<const TGPPathGradientBrush&>(*Brush);
    TColor32 C = 0;
    EXPECT_TRUE(Square.ColorAt(10 + 12 * 0.99, 10 + 7 * 0.99, C));
    EXPECT_EQ(C & 0xFF, 252u);
    EXPECT_FALSE(Square.ColorAt(10 + 12 * 1.01, 10 + 7 * 1.01, C));
}

TEST(LayerStyle, CoincidingGradientPointsPaintNothing) {
    T2DLayerStyle S;
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0xFFFFFFFF);
    S.SetFillGradientColor2(0xFFFFFFFF);
    for (TShapeType Shape :
         {shpLinear, shpCircle, shpSqare, shpLinearTransp, shpCircleTransp, shpSqareTransp}) {
        S.SetFillGradientShape(Shape);
        const auto Brush = S.CreateGradientBrush();
        ASSERT_NE(Brush, nullptr);
        TBitmap32 B;
        Paint(B, *Brush, 3, 3);
        EXPECT_EQ(B.Pixel(0, 0), 0u) << Shape;
        EXPECT_EQ(B.Pixel(1, 1), 0u) << Shape;
    }
}

TEST(LayerStyle, EffectsAreAppendedInOrder) {
    T2DLayerStyle S;
    S.AddEffect(efEmboss);
    S.AddEffect(efSharpen);
    S.AddEffect(efEmboss);
    EXPECT_EQ(S.EffectList, (std::vector<TEffectType>{efEmboss, efSharpen, efEmboss}));
}

TEST(FontLayerStyle, FontNameReplacesTheFamilyOrFailsKeepingTheOldOne) {
    TFontLayerStyle S;
    S.SetFontName("liberation serif");
    EXPECT_EQ(S.FontFamily().Name(), "Liberation Serif");
    try {
        S.SetFontName("No Such Font Family 4711");
        FAIL() << "no error";
    } catch (const EGdipError& E) {
        EXPECT_EQ(E.Status(), FontFamilyNotFound);
    }
    EXPECT_EQ(S.FontName(), "No Such Font Family 4711");
    EXPECT_EQ(S.FontFamily().Name(), "Liberation Serif");
}

TEST(FontLayerStyle, StyleBitsFollowTheFlags) {
    TFontLayerStyle S;
    S.SetFontBold(true);
    EXPECT_EQ(S.FontStyle(), 1);
    S.SetFontStrikeOut(true);
    EXPECT_EQ(S.FontStyle(), 9);
    S.SetFontItalic(true);
    S.SetFontUnderline(true);
    EXPECT_EQ(S.FontStyle(), 15);
    S.SetFontBold(false);
    EXPECT_EQ(S.FontStyle(), 14);
}

TEST(FontLayerStyle, AssignCopiesTextFontAndFlags) {
    TFontLayerStyle A;
    A.SetText("Hallo");
    A.SetFontName("Liberation Mono");
    A.SetFontSize(33);
    A.SetFontItalic(true);
    A.SetFontUnderline(true);
    A.SetMissingFont("Comic");
    A.SetOutlineColor(0xFF00FF00);
    A.SetOutlineAlpha(10);
    TFontLayerStyle C;
    C.SetFontBold(true);
    C.Assign(A);
    EXPECT_EQ(C.Text(), "Hallo");
    EXPECT_EQ(C.FontName(), "Liberation Mono");
    EXPECT_EQ(C.FontFamily().Name(), "Liberation Mono");
    EXPECT_EQ(C.FontSize(), 33);
    EXPECT_EQ(C.FontStyle(), FontStyleItalic | FontStyleUnderline);
    EXPECT_EQ(C.MissingFont(), "Comic");
    EXPECT_EQ(C.OutlineColor(), 0x0A00FF00u);
}

TEST(FontLayerStyle, PixelSizeMeasuresInPointsPlusOutlineOrShadow) {
    TFontLayerStyle S;
    EXPECT_EQ(S.PixelWidth(), 2) << "an empty text measures 0";
    EXPECT_EQ(S.PixelHeight(), 2);
    S.SetOutlineSize(4);
    EXPECT_EQ(S.PixelWidth(), 2) << "the outline counts only when it is on";
    S.SetOutline(true);
    EXPECT_EQ(S.PixelWidth(), 4);
    EXPECT_EQ(S.PixelHeight(), 4);
    S.SetShadow(true);
    S.SetShadowXShift(-7);
    S.SetShadowYShift(2);
    EXPECT_EQ(S.PixelWidth(), 7);
    EXPECT_EQ(S.PixelHeight(), 4);

    // 15 points are 20 pixels: "Hallo" is 45.56 wide and 23 high in Arial's metrics.
    S.SetText("Hallo");
    S.SetFontSize(15);
    S.SetOutline(false);
    S.SetShadow(false);
    EXPECT_EQ(S.PixelWidth(), 46);
    EXPECT_EQ(S.PixelHeight(), 23);
    S.SetShadow(true);
    EXPECT_EQ(S.PixelWidth(), 53);
    EXPECT_EQ(S.PixelHeight(), 25);

    // A name that failed to resolve still measures, with the generic sans-serif family.
    EXPECT_THROW(S.SetFontName("No Such Font Family 4711"), EGdipError);
    EXPECT_GT(S.PixelWidth(), 7);
}

} // namespace
} // namespace zp
