#include "gfx/Graphics.h"

#include <gtest/gtest.h>

// Only the Liberation families (installed by the setup script) are relied on here.

namespace zp {
namespace {

TEST(Fonts, ArialIsServedByAMetricCompatibleFamilyAndCountsAsInstalled) {
    EXPECT_TRUE(IsFontInstalled("Arial"));
    EXPECT_TRUE(IsFontInstalled("aRIAL"));
    EXPECT_TRUE(IsFontInstalled("liberation sans"));
    EXPECT_FALSE(IsFontInstalled("No Such Font Family 4711"));
    EXPECT_FALSE(IsFontInstalled(""));
    const QStringList Names = InstalledFontNames();
    EXPECT_EQ(Names.count("Arial"), 1);

    const TGPFontFamily Arial("arial");
    EXPECT_EQ(Arial.Name(), "Arial");
    EXPECT_EQ(Arial.RenderFamily(), "Liberation Sans");
}

TEST(Fonts, UnknownFamilyIsAnErrorButAFontFallsBackToSans) {
    try {
        TGPFontFamily Missing("No Such Font Family 4711");
        FAIL() << "no error";
    } catch (const EGdipError& E) {
        EXPECT_EQ(E.Status(), FontFamilyNotFound);
    }
    const TGPFont Font("No Such Font Family 4711", 12, FontStyleBold, UnitPoint);
    EXPECT_EQ(Font.Family().Name(), TGPFontFamily::GenericSansSerif().Name());
    EXPECT_EQ(Font.Style(), FontStyleBold);
    EXPECT_FLOAT_EQ(Font.PixelSize(), 16);
}

TEST(Fonts, MeasuredBoxHasArialMetrics) {
    const TGPFont Font(TGPFontFamily("Arial"), 20, FontStyleRegular, UnitPixel);
    // Advances of H, a, l, l, o: 0.722 + 0.556 + 2 x 0.222 + 0.556 em; line spacing 1.15 em.
    const TGPRectF Box = MeasureString("Hallo", Font, {3, 4, 3200, 3200});
    EXPECT_EQ(Box.X, 3);
    EXPECT_EQ(Box.Y, 4);
    EXPECT_NEAR(Box.Width, 45.56, 0.1);
    EXPECT_NEAR(Box.Height, 23.0, 0.1);

    // Points at 96 dpi: 15 pt are 20 px.
    const TGPRectF InPoints = MeasureString("Hallo", TGPFont(TGPFontFamily("Arial"), 15), {0, 0, 0, 0});
    EXPECT_NEAR(InPoints.Width, Box.Width, 0.01);

    EXPECT_EQ(MeasureString("", Font, {0, 0, 0, 0}), (TGPRectF{0, 0, 0, 0}));
    EXPECT_FLOAT_EQ(MeasureString("ab   ", Font, {}).Width, MeasureString("ab", Font, {}).Width);
    EXPECT_NEAR(MeasureString("ab\nabc", Font, {}).Height, 2 * Box.Height, 0.01);
    EXPECT_FLOAT_EQ(MeasureString("ab\nabc", Font, {}).Width, MeasureString("abc", Font, {}).Width);
    const TGPFont Bold(TGPFontFamily("Arial"), 20, FontStyleBold, UnitPixel);
    EXPECT_GT(MeasureString("Hallo", Bold, {}).Width, Box.Width);
    EXPECT_EQ(MeasureString("Hallo", TGPFont(TGPFontFamily("Arial"), 0), {}).Width, 0);

    TBitmap32 B;
    B.SetSize(1, 1);
    TGPGraphics G(B);
    EXPECT_EQ(G.MeasureString("Hallo", Font, {3, 4, 3200, 3200}), Box);
}

TEST(Fonts, GlyphOutlinesStartAtTheLayoutBoxAndScaleWithTheEmSize) {
    const TGPFontFamily Arial("Arial");
    TGPPath P;
    P.AddString("H", Arial, FontStyleRegular, 100, {0, 0, 0, 0});
    const TGPRectF B = P.GetWorldBounds();
    // The baseline lies the ascent (0.905 em) below the box's top; capitals stand on it.
    EXPECT_NEAR(B.Y + B.Height, 90.5, 0.6);
    EXPECT_GT(B.Height, 60);
    EXPECT_LT(B.Height, 75);
    EXPECT_GT(B.X, 0);
    EXPECT_LT(B.X + B.Width, 72.3);

    TGPPath Moved;
    Moved.AddString("H", Arial, FontStyleRegular, 100, {10, 20, 0, 0});
    const TGPRectF M = Moved.GetWorldBounds();
    EXPECT_NEAR(M.X, B.X + 10, 1e-3);
    EXPECT_NEAR(M.Y, B.Y + 20, 1e-3);

    TGPPath Big;
    Big.AddString("H", Arial, FontStyleRegular, 2000, {0, 0, 0, 0});
    EXPECT_NEAR(Big.GetWorldBounds().Height, B.Height * 20, 0.5);

    TGPPath Underlined;
    Underlined.AddString("H", Arial, FontStyleUnderline, 100, {0, 0, 0, 0});
    EXPECT_GT(Underlined.GetWorldBounds().Height, B.Height + 5);

    TGPPath Nothing;
    Nothing.AddString("H", Arial, FontStyleRegular, 0, {0, 0, 0, 0});
    Nothing.AddString("", Arial, FontStyleRegular, 20, {0, 0, 0, 0});
    EXPECT_TRUE(Nothing.IsEmpty());
}

TEST(Fonts, GlyphPathFillsLikeAnyOtherPath) {
    TGPPath P;
    P.AddString("I", TGPFontFamily("Arial"), FontStyleBold, 40, {0, 0, 0, 0});
    const TGPRectF Box = P.GetWorldBounds();
    TBitmap32 B;
    B.SetSize(40, 50);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.FillPath(TGPSolidBrush(0xFF000000), P);
    const int MidX = static_cast<int>(Box.X + Box.Width / 2);
    const int MidY = static_cast<int>(Box.Y + Box.Height / 2);
    EXPECT_EQ(B.Pixel(MidX, MidY), 0xFF000000u);
    EXPECT_EQ(B.Pixel(MidX, 2), 0u);
    EXPECT_EQ(B.Pixel(static_cast<int>(Box.X + Box.Width) + 3, MidY), 0u);
}

} // namespace
} // namespace zp
