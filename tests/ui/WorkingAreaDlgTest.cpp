// The size dialog of "Arbeitsfläche" and "Bildgröße" through its real widgets, and both
// commands from the main window.
#include "support/EditingFixture.h"

#include "ui/WorkingAreaDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zp {
namespace {

struct TSizeDialog : ::testing::Test {
    TScriptedDialogs Dialogs;
    TfrmWorkingAreaDlg D;
    TSizeDialog() {
        D.OldWidth = 468;
        D.OldHeight = 60;
        D.show();
        QApplication::setActiveWindow(&D);
    }
    void Type(QLineEdit* E, const QString& Text) {
        E->setFocus();
        E->selectAll();
        QTest::keyClicks(E, Text);
    }
};

// While the proportion is kept each box follows the other as it is typed; Enter confirms.
TEST_F(TSizeDialog, TheProportionFollowsTheTypingAndEnterConfirms) {
    EXPECT_EQ(D.LblWidth()->text(), QStringLiteral("468"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("60"));
    EXPECT_TRUE(D.ChkProp()->isChecked());
    Type(D.EdtNewWidth(), QStringLiteral("234"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("30"));
    Type(D.EdtNewHeight(), QStringLiteral("120"));
    EXPECT_EQ(D.EdtNewWidth()->text(), QStringLiteral("936"));
    // Moving on with Tab keeps what was typed.
    Type(D.EdtNewWidth(), QStringLiteral("100"));
    QTest::keyClick(D.EdtNewWidth(), Qt::Key_Tab);
    EXPECT_EQ(D.EdtNewWidth()->text(), QStringLiteral("100"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("12"));
    // Not a number: the other box stays as the "1" before made it; Escape does nothing.
    Type(D.EdtNewWidth(), QStringLiteral("1x"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("0"));
    QTest::keyClick(D.EdtNewWidth(), Qt::Key_Escape);
    EXPECT_TRUE(D.isVisible());
    // Hexadecimal after "$", and Enter closes with OK.
    Type(D.EdtNewWidth(), QStringLiteral("$1F4"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("64"));
    QTest::keyClick(D.EdtNewWidth(), Qt::Key_Return);
    EXPECT_EQ(D.result(), QDialog::Accepted);
    EXPECT_FALSE(D.isVisible());
    EXPECT_EQ(D.NewWidth, 500);
    EXPECT_EQ(D.NewHeight, 64);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

// Without the proportion the boxes are independent and Enter does nothing.
TEST_F(TSizeDialog, WithoutTheProportion) {
    QTest::mouseClick(D.ChkProp(), Qt::LeftButton, Qt::NoModifier, QPoint(6, D.ChkProp()->height() / 2));
    ASSERT_FALSE(D.ChkProp()->isChecked());
    Type(D.EdtNewWidth(), QStringLiteral("300"));
    EXPECT_EQ(D.EdtNewHeight()->text(), QStringLiteral("60"));
    QTest::keyClick(D.EdtNewWidth(), Qt::Key_Return);
    EXPECT_TRUE(D.isVisible());
    QTest::mouseClick(D.BtOK(), Qt::LeftButton);
    EXPECT_EQ(D.result(), QDialog::Accepted);
    EXPECT_EQ(D.NewWidth, 300);
    EXPECT_EQ(D.NewHeight, 60);
}

// OK checks both boxes, width first; the dialog stays with the focus on the failing box.
// "Abbrechen" closes without any check.
TEST_F(TSizeDialog, OkChecksBothBoxesCancelNone) {
    QTest::mouseClick(D.ChkProp(), Qt::LeftButton, Qt::NoModifier, QPoint(6, D.ChkProp()->height() / 2));
    Type(D.EdtNewWidth(), QStringLiteral("abc"));
    Type(D.EdtNewHeight(), QStringLiteral(" 0"));
    QTest::mouseClick(D.BtOK(), Qt::LeftButton);
    EXPECT_TRUE(D.isVisible());
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_EQ(Dialogs.Shown[0].Caption, QStringLiteral("Fehler"));
    EXPECT_EQ(Dialogs.Shown[0].Text, QStringLiteral("Bitte einen numerischen Wert für die Breite eingeben."));
    EXPECT_EQ(Dialogs.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Dialogs.Shown[1].Text, QStringLiteral("Bitte für die Höhe mindestens 1 Pixel eingeben."));
    EXPECT_EQ(D.focusWidget(), D.EdtNewHeight());
    QTest::mouseClick(D.BtCancel(), Qt::LeftButton);
    EXPECT_FALSE(D.isVisible());
    EXPECT_EQ(D.result(), QDialog::Rejected);
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
}

// Both commands from the menu: the dialog is asked with the present size and its caption, the
// document takes the size, and "Rückgängig" gives it back; an impossible size is refused.
TEST_F(TEditingFixture, ResizeCommandsFromTheMenu) {
    Dialogs.Resizes = {{800, 600}, {40000, 40000}, {200, 150}};
    Window->Action("mnuPictureSize")->trigger();
    ASSERT_EQ(Dialogs.ResizesAsked.size(), 1u);
    EXPECT_EQ(Dialogs.ResizesAsked[0].Caption, QStringLiteral("Bildgröße ändern"));
    EXPECT_EQ(Dialogs.ResizesAsked[0].OldWidth, 400);
    EXPECT_EQ(Dialogs.ResizesAsked[0].OldHeight, 300);
    EXPECT_EQ(Doc->CurrentView()->Bitmap().Width(), 800);
    EXPECT_TRUE(Window->Action("mnUndo")->isEnabled());
    const std::size_t Shown = Dialogs.Shown.size();
    Window->Action("mnuWorkingArea")->trigger();
    EXPECT_EQ(Dialogs.ResizesAsked.back().Caption, QStringLiteral("Bild-Arbeitsflächengröße bearbeiten"));
    ASSERT_EQ(Dialogs.Shown.size(), Shown + 1);
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgIcon::Error);
    EXPECT_EQ(Doc->CurrentView()->Bitmap().Width(), 800);
    Window->Action("mnuWorkingArea")->trigger();
    EXPECT_EQ(Doc->CurrentView()->Bitmap().Width(), 200);
    Window->Action("mnUndo")->trigger();
    Window->Action("mnUndo")->trigger();
    EXPECT_EQ(Doc->CurrentView()->Bitmap().Width(), 400);
    EXPECT_EQ(Doc->CurrentView()->Bitmap().Height(), 300);
    // The canvas shows the picture at its size again.
    EXPECT_EQ(Layers().Count(), 5);
}

} // namespace
} // namespace zp
