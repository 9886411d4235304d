// The whole road a user takes, through the real main window: a new banner, a rectangle drawn
// and styled, a second frame with the rectangle moved and a duration, the preview, the GIF
// export, the project saved, closed and reopened from the recently used list, and the same
// project converted by the program in batch mode; both GIFs are the same file.
#include "support/EditingFixture.h"

#include "files/GifDecode.h"
#include "layers/Rectangle.h"
#include "ui/LayersPalette.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTabBar>

namespace zp {
namespace {

std::vector<std::uint8_t> Bytes(const QString& Name) {
    QFile F(Name);
    if (!F.open(QIODevice::ReadOnly)) return {};
    const QByteArray B = F.readAll();
    return {B.begin(), B.end()};
}

struct TTypicalRoad : TEditingFixture {
    void Tool(TPaintTool T) { QTest::mouseClick(Window->Paintbox()->Button(T), Qt::LeftButton); }
    void ShowFrame(int F) {
        Canvas = Window->DocumentWindow(Doc)->FrameWidget(Doc->Frame(F).TabSheet);
        ASSERT_TRUE(Canvas);
    }
    QString File(const char* Name) const {
        return QDir(Places.ProgramDir()).filePath(QString::fromLatin1(Name));
    }
};

TEST_F(TTypicalRoad, FromANewBannerToTheSameGifByWindowAndByBatch) {
    TfrmFontProp& Props = *Window->PropertiesPalette();
    TfrmLayers& Frames = *Window->LayersPalette();
    Props.show();
    Frames.show();

    // 1. "Neu": a new 468 x 60 picture.
    Dialogs.WhatToDo = {1};
    Dialogs.NewImages = {{468, 60, 0x00FFFFFF}};
    Window->Action("mnFileNew")->trigger();
    Doc = Window->Model().SelectedDocForm();
    ASSERT_EQ(Doc->CurrentView()->Bitmap().Width(), 468);
    ShowFrame(0);

    // 2. A rectangle drawn with the mouse.
    Window->Model().Palettes.SetColor1(0x0000FF);
    Window->Model().Palettes.SetColor2(0xFF0000);
    Tool(ptPaintRectangle);
    Drag(At(20, 10), At(120, 50));
    auto* Rect = dynamic_cast<T2DRectangle*>(Doc->Selection());
    ASSERT_TRUE(Rect);

    // 3. A gradient over it, and a shadow from the properties palette.
    Tool(ptColorGradient);
    Drag(At(25, 30), At(115, 30));
    EXPECT_TRUE(Rect->LayerStyle().FillGradient());
    QApplication::setActiveWindow(&Props);
    QTest::mouseClick(Props.CheckBoxShadow(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(6, Props.CheckBoxShadow()->height() / 2));
    EXPECT_TRUE(Rect->LayerStyle().Shadow());

    // 4. A second frame with the layers; the rectangle moved 20 + 5 pixels right; its duration.
    Dialogs.NewFrames = {1};
    Window->Action("NewFrame")->trigger();
    ASSERT_EQ(Doc->FrameCount(), 2);
    ShowFrame(1);
    Tool(ptZeiger);
    Click(70, 30);
    ASSERT_TRUE(dynamic_cast<T2DRectangle*>(Doc->Selection()));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    for (int I = 0; I < 5; ++I) Key(Qt::Key_Right);
    QLineEdit* Duration = Frames.CmbDuration()->lineEdit();
    QApplication::setActiveWindow(&Frames);
    Duration->setFocus();
    Duration->selectAll();
    QTest::keyClicks(Duration, QStringLiteral("250"));
    QTest::keyClick(Duration, Qt::Key_Return);
    EXPECT_EQ(Doc->Frame(1).Duration, 250);

    // 5. The preview, then the export.
    Window->Action("mnGifErzeugen")->trigger();
    ASSERT_TRUE(Doc->GifImg());
    const QString ByWindow = File("road-window.gif");
    Dialogs.SaveNames = {{ByWindow, 0}};
    Window->Action("mnGifExportieren")->trigger();
    ASSERT_TRUE(QFileInfo(ByWindow).isFile());

    // 6. Back on the first frame's page: saved as a project, closed, and opened again from
    // "Zuletzt verendet".
    auto* Pages = Window->DocumentWindow(Doc)->findChild<QTabBar*>();
    ASSERT_TRUE(Pages);
    QTest::mouseClick(Pages, Qt::LeftButton, Qt::NoModifier, Pages->tabRect(0).center());
    ASSERT_TRUE(Doc->CurrentView());
    const QString Project = File("road.dgm");
    Dialogs.SaveNames = {{Project, 1}};
    Window->Action("mnSaveAs")->trigger();
    ASSERT_TRUE(QFileInfo(Project).isFile());
    EXPECT_FALSE(Doc->Modified());
    Window->Action("mnClose")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(Window->Model().DocFormList.size() == 1); // the sample document is left
    // Opening "Datei" lists the projects closed last.
    emit Window->menuBar()->actions().at(0)->menu()->aboutToShow();
    QMenu* LastUsed = Window->Action("mnLastUsed")->menu();
    QAction* Entry = nullptr;
    for (QAction* A : LastUsed->actions())
        if (A->text().contains(QStringLiteral("road.dgm"))) Entry = A;
    ASSERT_TRUE(Entry);
    Entry->trigger();
    TDocForm* Reopened = Window->Model().SelectedDocForm();
    ASSERT_TRUE(Reopened && Reopened->FileName() == Project);
    ASSERT_EQ(Reopened->FrameCount(), 2);
    // Its pages: the two frames, then the preview.
    auto* ReopenedPages = Window->DocumentWindow(Reopened)->findChild<QTabBar*>();
    ASSERT_EQ(ReopenedPages->count(), 3);
    EXPECT_EQ(ReopenedPages->tabText(2), QStringLiteral("Gif Vorschau"));
    EXPECT_EQ(Reopened->Pages(2), Reopened->TabSheetGif());
    EXPECT_EQ(Reopened->Frame(1).Duration, 250);

    // The same project converted by the program in batch mode.
    const QString ByBatch = File("road-batch.gif");
    QProcess P;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("HOME"), Places.ProgramDir());
    for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        Env.remove(QString::fromLatin1(Name));
    P.setProcessEnvironment(Env);
    P.start(QStringLiteral(ZP_PROGRAM), {QStringLiteral("/a"), Project, ByBatch});
    ASSERT_TRUE(P.waitForFinished(120000));
    ASSERT_EQ(P.exitCode(), 0) << P.readAllStandardError().toStdString();

    const std::vector<std::uint8_t> Gif = Bytes(ByWindow);
    EXPECT_EQ(Bytes(ByBatch), Gif);
    const test::TDecodedGif Decoded = test::DecodeGif(Gif);
    ASSERT_EQ(Decoded.Images.size(), 2u);
    EXPECT_EQ(Decoded.Images[1].Delay(), 25);
    // The rectangle's left edge: 25 pixels further right in the second frame.
    const auto LeftEdge = [&](const test::TDecodedImage& I) {
        const auto At = [&](int X) {
            return I.ColorMap[I.Pixels[static_cast<std::size_t>(30 * I.Width + X)]];
        };
        const TGifColor Background = At(0);
        for (int X = 0; X < I.Width; ++X)
            if (At(X).R != Background.R || At(X).G != Background.G || At(X).B != Background.B) return X;
        return -1;
    };
    const int First = LeftEdge(Decoded.Images[0]);
    ASSERT_GE(First, 15);
    EXPECT_EQ(LeftEdge(Decoded.Images[1]), First + 25);
}

} // namespace
} // namespace zp
