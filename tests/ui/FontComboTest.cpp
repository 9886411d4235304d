// The font picker: installed families with the stand-ins, the used fonts on top, typing to jump,
// and the sample beside the open list.
#include "ui/FontCombo.h"
#include "support/QtPrinters.h"

#include "gfx/Fonts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(FontCombo, ListsTheInstalledFamiliesWithArial) {
    TscFontComboBox Box;
    ASSERT_GT(Box.count(), 0);
    EXPECT_EQ(Box.count(), InstalledFontNames().size());
    Box.SetFontName(QStringLiteral("Arial"));
    EXPECT_EQ(Box.FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(Box.ItemCode(0), QStringLiteral("Arial=TA"));
    // Unknown names change nothing.
    Box.SetFontName(QStringLiteral("Keine Solche Schrift"));
    EXPECT_EQ(Box.FontName(), QStringLiteral("Arial"));
}

// A chosen font goes to the top; a sixth distinct choice drops the oldest used one; a used font
// chosen again moves up without a second copy.
TEST(FontCombo, UsedFontsOnTop) {
    TscFontComboBox Box;
    Box.Fill({QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie"),
              QStringLiteral("Delta"), QStringLiteral("Echo"), QStringLiteral("Foxtrot"),
              QStringLiteral("Golf"), QStringLiteral("@Hidden")});
    ASSERT_EQ(Box.count(), 7); // names beginning with "@" are left out
    for (const char* F : {"Bravo", "Charlie", "Delta", "Echo", "Foxtrot"})
        Box.SetFontName(QString::fromLatin1(F));
    EXPECT_EQ(Box.UsedFonts(), (QStringList{"Foxtrot", "Echo", "Delta", "Charlie", "Bravo"}));
    Box.SetFontName(QStringLiteral("Golf"));
    EXPECT_EQ(Box.UsedFonts(), (QStringList{"Golf", "Foxtrot", "Echo", "Delta", "Charlie"}));
    EXPECT_EQ(Box.count(), 12);
    // Chosen in the list by the user: committed, announced, moved up.
    QString Chosen;
    QObject::connect(&Box, &TscFontComboBox::FontChosen, [&](const QString& N) { Chosen = N; });
    const int Delta = Box.findText(QStringLiteral("Delta"));
    ASSERT_LT(Delta, TscFontComboBox::MaxUsed);
    emit Box.activated(Delta);
    EXPECT_EQ(Chosen, QStringLiteral("Delta"));
    EXPECT_EQ(Box.UsedFonts(), (QStringList{"Delta", "Golf", "Foxtrot", "Echo", "Charlie"}));
    EXPECT_EQ(Box.count(), 12);
    EXPECT_EQ(Box.FontName(), QStringLiteral("Delta"));
    // Chosen again from the alphabetical part: moved up, not listed twice.
    emit Box.activated(Box.count() - 1 - 3); // "Delta" among Alpha..Golf
    EXPECT_EQ(Box.UsedFonts(), (QStringList{"Delta", "Golf", "Foxtrot", "Echo", "Charlie"}));
    emit Box.activated(Box.count() - 1 - 5); // "Bravo"
    EXPECT_EQ(Box.UsedFonts(), (QStringList{"Bravo", "Delta", "Golf", "Foxtrot", "Echo"}));
    EXPECT_EQ(Box.count(), 12);
}

// Typing jumps to a font; the open list shows the highlighted font's sample beside the picker.
TEST(FontCombo, TypingJumpsAndTheListShowsASample) {
    TscFontComboBox Box;
    Box.Fill({QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Liberation Serif")});
    Box.show();
    Box.setFocus();
    QTest::keyClicks(&Box, QStringLiteral("Li"));
    EXPECT_EQ(Box.currentText(), QStringLiteral("Liberation Serif"));
    Box.showPopup();
    ASSERT_TRUE(Box.view()->isVisible());
    EXPECT_TRUE(Box.Preview()->isVisible());
    Box.hidePopup();
    EXPECT_FALSE(Box.Preview()->isVisible());
}

} // namespace
} // namespace zp
