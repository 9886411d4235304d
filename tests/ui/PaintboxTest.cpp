#include "ui/Paintbox.h"
#include "support/ScriptedDialogs.h"
#include "ui/ColorSwatch.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(Paintbox, ToolsAreExclusiveAndThePointerComesBack) {
    TPaletteModel Model;
    TfrmPaintbox P(Model);
    std::vector<TPaintTool> Clicked;
    int Cursor = 0;
    P.OnToolClick = [&](TPaintTool T) { Clicked.push_back(T); };
    P.OnSetCursor = [&](int C) { Cursor = C; };
    EXPECT_EQ(P.Tool(), ptZeiger);
    EXPECT_TRUE(P.Button(ptZeiger)->isChecked());
    P.Button(ptPaintEllipse)->click();
    EXPECT_EQ(P.Tool(), ptPaintEllipse);
    EXPECT_EQ(Model.State().Tool, ptPaintEllipse);
    EXPECT_FALSE(P.Button(ptZeiger)->isChecked());
    P.Button(ptMark)->click();
    EXPECT_EQ(Clicked, (std::vector<TPaintTool>{ptPaintEllipse, ptMark}));
    P.ActivateZeigerTool(); // no click reaction, cursor 2
    EXPECT_EQ(P.Tool(), ptZeiger);
    EXPECT_TRUE(P.Button(ptZeiger)->isChecked());
    EXPECT_EQ(Clicked.size(), 2u);
    EXPECT_EQ(Cursor, 2);
    EXPECT_EQ(P.Button(ptPipette)->toolTip(), QStringLiteral("Pipette"));
}

TEST(Paintbox, SwatchesStartBlackAndWhiteAndTakeAChosenColour) {
    TPaletteModel Model;
    TfrmPaintbox P(Model);
    EXPECT_EQ(P.Color1(), 0x000000);
    EXPECT_EQ(P.Color2(), 0xFFFFFF);
    P.ShpColor1()->SetColor(0x0000FF);
    EXPECT_EQ(P.Color1(), 0x0000FF);
    // The palette shows what its model holds.
    Model.SetColor2(0x00FF00);
    EXPECT_EQ(P.ShpColor2()->Color(), 0x00FF00);
    Model.SetTool(ptPaintLine);
    EXPECT_TRUE(P.Button(ptPaintLine)->isChecked());
}

} // namespace
} // namespace zp
