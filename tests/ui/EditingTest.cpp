// Editing layers through the real window: mouse clicks on the canvas, key short cuts, menu
// items and tool buttons, on the offscreen platform.
#include "support/EditingFixture.h"

#include "shell/Settings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"
#include "ui/DocumentWindow.h"
#include "ui/FrameViewWidget.h"
#include "ui/MainWindow.h"

#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"
#include "layers/Figuren.h"
#include "layers/TextLayer.h"
#include "raster/Blend.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstring>

namespace zp {
namespace {

TEST_F(TEditingFixture, ClickSelectsAndTheKeysDeleteUndoAndRedo) {
    ASSERT_TRUE(Canvas);
    ASSERT_EQ(Layers().Count(), 5);
    TCustomLayer* Rectangle = Layers().Items(0);
    Click(100, 75); // inside the rectangle, which nothing covers there
    EXPECT_EQ(Doc->Selection(), Rectangle);
    EXPECT_TRUE(Window->Action("mnDelete")->isEnabled());
    EXPECT_FALSE(Window->Action("mnSendBack")->isEnabled()); // it is the bottom layer
    EXPECT_FALSE(Window->Action("mnUndo")->isEnabled());

    Key(Qt::Key_Delete);
    EXPECT_EQ(Layers().Count(), 4);
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_TRUE(Window->Action("mnUndo")->isEnabled());
    EXPECT_TRUE(ToolButton("TlBtnUndo")->isEnabled());
    EXPECT_FALSE(ToolButton("TlBtnRedo")->isEnabled());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), 5);
    EXPECT_EQ(Layers().Items(0), Rectangle);
    EXPECT_EQ(Doc->Selection(), Rectangle);
    EXPECT_TRUE(Window->Action("mnRedo")->isEnabled());
    EXPECT_TRUE(ToolButton("TlBtnRedo")->isEnabled());
    EXPECT_FALSE(Doc->Modified()); // back as it was made: closing would ask nothing

    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), 4);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Layers().Count(), 4);
    ToolButton("TlBtnUndo")->trigger();
    EXPECT_EQ(Layers().Count(), 5);
}

TEST_F(TEditingFixture, ScalingWithTheSelectionFrameAndUndoingIt) {
    const std::unique_ptr<TBitmap32> Before = TDocForm::ComposeFrame(*Doc->CurrentView());
    auto* Ellipse = dynamic_cast<T2DFiguren*>(Layers().Items(1));
    ASSERT_TRUE(Ellipse);
    Click(280, 95);
    ASSERT_EQ(Doc->Selection(), Ellipse);
    Key(Qt::Key_T, Qt::ControlModifier); // "Skalieren"
    ASSERT_TRUE(Doc->RBLayer());
    EXPECT_FALSE(Doc->ToolMode());

    // The bottom-right handle, pulled 40 pixels to the right.
    const TFloatRect F = Doc->RBLayer()->Location();
    const QPoint Corner = At(static_cast<int>(F.Right), static_cast<int>(F.Bottom));
    Drag(Corner, Corner + QPoint(40, 0));
    EXPECT_GT(Ellipse->ScaleFactor().X, 1.1f);
    EXPECT_FLOAT_EQ(Ellipse->ScaleFactor().Y, 1.0f);

    // In layer mode a click on another layer selects it and takes the frame along.
    Click(100, 40);
    EXPECT_EQ(Doc->Selection(), Layers().Items(0));
    EXPECT_EQ(Doc->RBLayer()->ChildLayer(), Layers().Items(0));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(Ellipse->ScaleFactor().X, 1.0f);
    Doc->ResetRubberbandLayer();
    EXPECT_TRUE(SamePixels(*TDocForm::ComposeFrame(*Doc->CurrentView()), *Before));
}

TEST_F(TEditingFixture, MenuItemsTransformReorderFlattenAndEverythingUndoes) {
    const std::unique_ptr<TBitmap32> Before = TDocForm::ComposeFrame(*Doc->CurrentView());
    TCustomLayer* Line = Layers().Items(3);
    ASSERT_EQ(Doc->Selection(), Line);
    Dialogs.Angles = {QStringLiteral("-30")};
    Dialogs.MotionBlurs = {{2, 1}};
    for (const char* Item : {"mnRotate270", "mnRotate90", "mnRotateAngel", "mnFlipVert", "mnFlipHorz",
                             "mnMotionBlur", "mnEmboss", "mnSoften", "mnSharpen", "mnColorAmboss",
                             "mnStrongSharpen", "mnRelief", "mnFineRelief"}) {
        ASSERT_TRUE(Window->Action(QString::fromLatin1(Item))->isEnabled()) << Item;
        Window->Action(QString::fromLatin1(Item))->trigger();
    }
    EXPECT_EQ(Doc->UndoCount(), 13);
    Window->Action("mnBringFront")->trigger(); // above the text
    EXPECT_EQ(Line->Index(), 4);
    EXPECT_FALSE(Window->Action("mnBringFront")->isEnabled());
    Window->Action("mnSendBack")->trigger();
    EXPECT_EQ(Line->Index(), 0);
    Window->Action("mnLevelUp")->trigger();
    EXPECT_EQ(Line->Index(), 1);
    Window->Action("mnFlatten")->trigger();
    EXPECT_EQ(Layers().Count(), 0);
    EXPECT_FALSE(Window->Action("mnFlatten")->isEnabled());

    while (Window->Action("mnUndo")->isEnabled()) Window->Action("mnUndo")->trigger();
    EXPECT_EQ(Layers().Count(), 5);
    EXPECT_TRUE(SamePixels(*TDocForm::ComposeFrame(*Doc->CurrentView()), *Before));
    EXPECT_EQ(Doc->RedoCount(), 17);
}

// A document window opens within the work area, however large the stored size.
TEST_F(TEditingFixture, DocumentWindowsOpenWithinTheWorkArea) {
    Settings().DocFormWidth = 5000;
    Settings().DocFormHeight = 4000;
    TDocForm& Second = Window->Model().NewSampleDocument();
    QApplication::processEvents();
    const QRect Area = Window->MdiArea()->viewport()->rect();
    const QRect Placed = Window->MdiArea()->subWindowList().back()->geometry();
    EXPECT_TRUE(Area.contains(Placed)) << Placed.x() << "," << Placed.y() << " " << Placed.width() << "x"
                                       << Placed.height() << " in " << Area.width() << "x" << Area.height();
    EXPECT_GE(Placed.width(), 320);
    EXPECT_TRUE(Window->DocumentWindow(&Second));
}

TEST_F(TEditingFixture, HiddenItemsDoNothingAtAll) {
    const int Asked = Dialogs.Questions;
    Window->Action("mnNewCustomLayer")->trigger();
    EXPECT_EQ(Dialogs.Questions, Asked);
}

TEST_F(TEditingFixture, InsertingAPictureFromAFileAndUndoingIt) {
    TBitmap32 Picture;
    Picture.SetSize(30, 20);
    Picture.Clear(0x8000FF00); // half transparent green
    const QString Png = Places.Path(QStringLiteral("gruen.png"));
    WriteFileSafely(Png, EncodeTransparentPNG(Picture));
    const int Records = Doc->UndoCount();

    Dialogs.FileNames = {Png};
    Window->Action("mnPicLayer")->trigger();
    ASSERT_EQ(Layers().Count(), 6);
    auto* Inserted = dynamic_cast<TBitmapLayer*>(Layers().Items(5));
    ASSERT_TRUE(Inserted);
    EXPECT_STREQ(Inserted->ClassName(), "TPicLayer");
    EXPECT_EQ(Doc->Selection(), Inserted);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    // The picture sits at the origin, with its transparency.
    const std::unique_ptr<TBitmap32> Shown = TDocForm::ComposeFrame(*Doc->CurrentView());
    EXPECT_EQ(Shown->Pixel(5, 5), 0xFF80FF80u); // half green over white
    EXPECT_EQ(Shown->Pixel(29, 19), 0xFF80FF80u);
    EXPECT_EQ(Shown->Pixel(30, 5), 0xFFFFFFFFu); // beside it the background

    // A damaged file says why and adds nothing.
    const QString Bad = Places.Path(QStringLiteral("kaputt.png"));
    TTempPlaces::WriteText(Bad, "\x89PNG and nothing else");
    Dialogs.FileNames = {Bad};
    const std::size_t Messages = Dialogs.Shown.size();
    Window->Action("mnPicLayer")->trigger();
    EXPECT_EQ(Dialogs.Shown.size(), Messages + 1);
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgIcon::Error);
    EXPECT_EQ(Layers().Count(), 6);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_TRUE(Doc->ToolMode());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), 5);
}

TEST_F(TEditingFixture, InsertingATextLayerAndUndoingIt) {
    Window->Model().Palettes.SetTool(ptPaintEllipse); // the command brings the pointer back
    const int Records = Doc->UndoCount();
    ToolButton("TlBtnInsertText")->trigger();
    ASSERT_EQ(Layers().Count(), 6);
    auto* Text = dynamic_cast<TTextLayer*>(Layers().Items(5));
    ASSERT_TRUE(Text);
    EXPECT_EQ(Doc->Selection(), Text);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_EQ(Window->Model().Palettes.State().Tool, ptZeiger);
    EXPECT_TRUE(Window->Action("mnDelete")->isEnabled());

    // Typed text (the properties palette's part) shows on the canvas and undoes step by step.
    const std::unique_ptr<TBitmap32> Empty = TDocForm::ComposeFrame(*Doc->CurrentView());
    Doc->SetLayerText(*Text, QStringLiteral("Neu!"));
    EXPECT_FALSE(SamePixels(*TDocForm::ComposeFrame(*Doc->CurrentView()), *Empty));
    Window->Action("mnFlipHorz")->trigger();
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(*TDocForm::ComposeFrame(*Doc->CurrentView()), *Empty));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), 5);
}

TEST_F(TEditingFixture, InsertingAPictureTemplate) {
    TBitmap32 Picture;
    Picture.SetSize(12, 12);
    Picture.Clear(0xFFFF8000);
    const QString Png = Places.Path(QStringLiteral("knopf.png"));
    WriteFileSafely(Png, EncodeTransparentPNG(Picture));

    Dialogs.Templates = {Png};
    ToolButton("ToolButton3")->trigger();
    ASSERT_EQ(Layers().Count(), 6);
    EXPECT_EQ(Doc->Selection(), Layers().Items(5));
    // Merged over the white background as every figure is.
    EXPECT_EQ(TDocForm::ComposeFrame(*Doc->CurrentView())->Pixel(6, 6), MergeColor(0xFFFF8000u, 0xFFFFFFFFu));

    // A folder chosen instead of a picture says that the file is missing.
    Dialogs.Templates = {Places.ProgramDir()};
    const std::size_t Messages = Dialogs.Shown.size();
    Window->Action("mnPicFromTempl1")->trigger();
    ASSERT_EQ(Dialogs.Shown.size(), Messages + 1);
    EXPECT_EQ(Dialogs.Shown.back().Text, Window->Model().LangText(QStringLiteral("TxtMissFile")));
    EXPECT_EQ(Layers().Count(), 6);
}

// Icons and metafiles made by other programs go in like any picture, and out again by undo.
TEST_F(TEditingFixture, InsertingIconsAndMetafilesMadeElsewhere) {
    const int Before = Layers().Count();
    for (const char* File : {"icons/imagemagick-3sizes-alpha.ico", "icons/icotool-4bit-mask.ico",
                             "metafiles/shapes.emf", "metafiles/shapes.wmf", "metafiles/text.emf"}) {
        Dialogs.FileNames = {QStringLiteral(ZP_TEST_DATA_DIR "/") + QString::fromLatin1(File)};
        ToolButton("TlBtnInsertImage")->trigger();
        auto* Layer = dynamic_cast<TBitmapLayer*>(Doc->Selection());
        ASSERT_TRUE(Layer) << File;
        EXPECT_STREQ(Layer->ClassName(), "TPicLayer");
        EXPECT_GT(Layer->Bitmap().Width(), 16) << File;
    }
    EXPECT_EQ(Layers().Count(), Before + 5);
    for (int I = 0; I < 5; ++I) Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before);
}

} // namespace
} // namespace zp

namespace zp {
namespace {

// Arrow keys on the canvas nudge the selection by 1 pixel, 20 with Shift; each nudge undoes.
TEST_F(TEditingFixture, ArrowKeysNudgeTheSelectionAndUndo) {
    auto* Rectangle = dynamic_cast<TPositionedLayer*>(Layers().Items(0));
    ASSERT_TRUE(Rectangle);
    const TFloatRect Start = Rectangle->Location();
    Doc->SelectLayer(nullptr); // the sample starts with its line selected
    Key(Qt::Key_Right);        // nothing selected: nothing moves
    EXPECT_EQ(Rectangle->Location().Left, Start.Left);
    EXPECT_FALSE(Doc->Modified());
    Click(100, 75);
    ASSERT_EQ(Doc->Selection(), Rectangle);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ControlModifier);
    Key(Qt::Key_Up);
    EXPECT_EQ(Rectangle->Location().Left, Start.Left);
    EXPECT_EQ(Rectangle->Location().Top, Start.Top + 19);
    EXPECT_EQ(Rectangle->Location().Width(), Start.Width());
    EXPECT_TRUE(Doc->Modified());
    for (int I = 0; I < 4; ++I) Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rectangle->Location().Left, Start.Left);
    EXPECT_EQ(Rectangle->Location().Top, Start.Top);
    EXPECT_FALSE(Doc->Modified());
}

} // namespace
} // namespace zp
