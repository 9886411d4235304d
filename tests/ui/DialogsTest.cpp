#include "ui/Dialogs.h"
#include "support/QtPrinters.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace zp {
namespace {

// Runs Action once the modal dialog's event loop is up.
void WhenShown(std::function<void()> Action) {
    QTimer::singleShot(0, std::move(Action));
}

TEST(Dialogs, StartChoiceAnswersAndAlwaysCountsAsDone) {
    TDlgWhatToDo D;
    int Done = 0;
    D.OnDone = [&] { ++Done; };
    WhenShown([&] { D.reject(); });
    EXPECT_EQ(D.Execute(), 0);
    EXPECT_EQ(Done, 1);
    WhenShown([&] {
        EXPECT_TRUE(D.Choice(0)->isChecked()); // every showing starts on the first choice
        D.Choice(2)->setChecked(true);
        D.accept();
    });
    EXPECT_EQ(D.Execute(), 3);
    WhenShown([&] {
        D.Choice(1)->setChecked(true);
        D.accept();
    });
    EXPECT_EQ(D.Execute(), 2);
    WhenShown([&] { D.accept(); });
    EXPECT_EQ(D.Execute(), 1);
    EXPECT_EQ(Done, 4);
}

TEST(Dialogs, NewImageSizesAndClipboardProposal) {
    QGuiApplication::clipboard()->clear();
    TNewImageForm D;
    EXPECT_EQ(D.SizeList()->currentIndex(), 1);
    EXPECT_EQ(D.ImageWidth(), 468);
    EXPECT_FALSE(D.WidthEdit()->isEnabled());
    D.SelectSize(8);
    EXPECT_EQ(D.ImageWidth(), 125);
    EXPECT_EQ(D.ImageHeight(), 125);
    D.SelectSize(0); // another size starts again from 468 x 60
    EXPECT_EQ(D.ImageWidth(), 468);
    EXPECT_EQ(D.ImageHeight(), 60);
    EXPECT_TRUE(D.WidthEdit()->isEnabled());
    EXPECT_EQ(D.SizeList()->count(), 14);
    EXPECT_EQ(D.SizeList()->itemText(13), QStringLiteral("88x31 Micro-Button"));
    D.WidthEdit()->setValue(20000);
    EXPECT_EQ(D.ImageWidth(), 10000);

    D.SelectSize(3);
    QImage Clip(321, 123, QImage::Format_RGB32);
    Clip.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(Clip);
    WhenShown([&] { D.accept(); });
    D.exec();
    EXPECT_EQ(D.SizeList()->currentIndex(), 0);
    EXPECT_EQ(D.ImageWidth(), 321);
    EXPECT_EQ(D.ImageHeight(), 123);
    QGuiApplication::clipboard()->clear();
}

TEST(Dialogs, NewFrameRemembersTheLastChoice) {
    TfrmNewFrame D;
    WhenShown([&] { D.reject(); });
    EXPECT_EQ(D.Execute(), 0);
    WhenShown([&] {
        D.Choice(2)->setChecked(true);
        D.accept();
    });
    EXPECT_EQ(D.Execute(), 3);
    WhenShown([&] {
        EXPECT_TRUE(D.Choice(2)->isChecked());
        D.Choice(1)->setChecked(true);
        D.accept();
    });
    EXPECT_EQ(D.Execute(), 2);
}

TEST(Dialogs, ReplaceQuestionStartsOnReplace) {
    TfrmDlgReplaceFile D(
        [](const QString& Key) { return Key == QLatin1String("TextPart1") ? "Die Datei" : "gibt es."; });
    WhenShown([&] {
        D.SaveOther()->setChecked(true);
        D.accept();
    });
    EXPECT_FALSE(D.Execute(QStringLiteral("/tmp/ordner/bild.png")));
    EXPECT_EQ(D.Text()->text(), QStringLiteral("Die Datei bild.png gibt es."));
    WhenShown([&] {
        EXPECT_TRUE(D.Replace()->isChecked());
        D.accept();
    });
    EXPECT_TRUE(D.Execute(QStringLiteral("x.png")));
    WhenShown([&] { D.reject(); });
    EXPECT_FALSE(D.Execute(QStringLiteral("x.png")));
}

TEST(Dialogs, AngleAndMotionBlurInputs) {
    TfrmAngel A;
    QLineEdit* E = A.Edit();
    E->setText(QStringLiteral("-45"));
    EXPECT_EQ(E->text(), QStringLiteral("-45"));
    int Pos = 0;
    QString Bad = QStringLiteral("4-5");
    EXPECT_EQ(E->validator()->validate(Bad, Pos), QValidator::Invalid);
    Bad = QStringLiteral("a");
    EXPECT_EQ(E->validator()->validate(Bad, Pos), QValidator::Invalid);
    E->setText(QStringLiteral("123456"));
    EXPECT_EQ(E->text().size(), 4);

    TfrmMotionBlur M;
    EXPECT_EQ(M.Strength(), 3);
    EXPECT_EQ(M.Direction(), 5);
    M.StrengthList()->setCurrentIndex(9);
    M.DirectionList()->setCurrentIndex(4);
    EXPECT_EQ(M.Strength(), 10);
    EXPECT_EQ(M.Direction(), 4); // top-left
    WhenShown([&] {
        EXPECT_EQ(M.Strength(), 3); // every showing starts again
        M.reject();
    });
    M.exec();
}

TEST(Dialogs, FileFiltersBecomeQtFilters) {
    EXPECT_EQ(TQtUserDialogs::QtFilters(QStringLiteral("Pixaro-Projektdatei (*.dgm)|*.dgm|JPEG-Grafikdatei "
                                                       "(*.jpg;*.jpeg)|*.jpg;*.jpeg")),
              (QStringList{"Pixaro-Projektdatei (*.dgm)", "JPEG-Grafikdatei (*.jpg *.jpeg)"}));
}

} // namespace
} // namespace zp
