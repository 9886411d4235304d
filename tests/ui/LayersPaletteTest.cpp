// The frames and layers palette through its real widgets: panels that follow the shown frame,
// selection both ways, order buttons and dragged panels, the opacity gauge, the frame box and
// the animation settings.
#include "support/EditingFixture.h"
#include "support/QtPrinters.h"

#include "files/GifDecode.h"
#include "layers/GeneralGraphicFunctions.h"
#include "layers/TextLayer.h"
#include "shell/Settings.h"
#include "ui/LayerDrag.h"
#include "ui/LayersPalette.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

namespace zp {
namespace {

struct TPaletteFixture : TEditingFixture {
    TfrmLayers& P = *Window->LayersPalette();
    TPaletteFixture() {
        P.show();
        QApplication::processEvents();
    }
    TLayerPanel* PanelAt(int FromTop) const { return P.Panels().value(FromTop); }
    void Type(QComboBox* Box, const QString& Text) {
        Box->lineEdit()->selectAll();
        QTest::keyClick(Box->lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(Box->lineEdit(), Text);
        QTest::keyClick(Box->lineEdit(), Qt::Key_Return);
    }
    void Choose(QComboBox* Box, int Index) {
        Box->setCurrentIndex(Index);
        emit Box->activated(Index);
    }
};

// One panel per layer, the newest on top and the background at the bottom, with thumbnails and
// captions; a click on a panel selects on the canvas and a click on the canvas highlights.
TEST_F(TPaletteFixture, PanelsFollowTheFrameAndTheSelection) {
    QList<TLayerPanel*> Panels = P.Panels();
    ASSERT_EQ(Panels.size(), 6);
    EXPECT_EQ(Panels.front()->Lbl()->text(), QStringLiteral("(5) Zelk-Pixaro"));
    EXPECT_EQ(Panels.back()->Lbl()->text(), QStringLiteral("(0) Hintergrund"));
    EXPECT_TRUE(Panels.back()->IsBackground());
    EXPECT_EQ(Panels[4]->Lbl()->text(), QStringLiteral("(1) Bildebene"));
    EXPECT_EQ(Panels[4]->Image()->pixmap().size(), QSize(32, 32));
    // The wide rectangle fills the thumbnail's width, keeping its aspect.
    const QImage Thumb = Panels[4]->Image()->pixmap().toImage();
    EXPECT_GT(qAlpha(Thumb.pixel(1, 16)), 0);
    EXPECT_EQ(qAlpha(Thumb.pixel(16, 1)), 0);
    EXPECT_TRUE(Panels.back()->Image()->pixmap().isNull());
    EXPECT_EQ(P.CurrentLayer(), P.PanelOf(Doc->Selection())); // the sample's line

    QTest::mouseClick(Panels[4], Qt::LeftButton);
    EXPECT_EQ(Doc->Selection(), Layers().Items(0));
    EXPECT_EQ(P.CurrentLayer(), Panels[4]);
    QTest::mouseClick(Panels.back()->Lbl(), Qt::LeftButton);
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_EQ(P.CurrentLayer(), Panels.back());
    Click(280, 95); // the ellipse, on the canvas
    EXPECT_EQ(P.CurrentLayer(), Panels[3]);

    // A figure drawn on the canvas comes on top; deleted, its panel goes.
    QTest::mouseClick(Window->Paintbox()->Button(ptPaintRectangle), Qt::LeftButton);
    Drag(At(300, 200), At(380, 280));
    ASSERT_EQ(P.Panels().size(), 7);
    EXPECT_EQ(P.Panels().front()->BitmapLayer(), Doc->Selection());
    EXPECT_EQ(P.Panels().front()->Lbl()->text(), QStringLiteral("(6) Bildebene"));
    Key(Qt::Key_Delete);
    EXPECT_EQ(P.Panels().size(), 6);
    // Arrow keys on the palette move the selection on the canvas.
    QTest::mouseClick(P.Panels()[4], Qt::LeftButton);
    const float Left = Doc->Selection()->Location().Left;
    QTest::keyClick(P.PanelBox(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Doc->Selection()->Location().Left, Left + 20);
}

// The order buttons and a dragged panel move the layer; with two layers the lower one can be
// raised (real layers are counted, not the selection frames).
TEST_F(TPaletteFixture, OrderButtonsAndDraggedPanels) {
    auto* Rect = dynamic_cast<TPositionedLayer*>(Layers().Items(0));
    QTest::mouseClick(P.PanelOf(Rect), Qt::LeftButton);
    EXPECT_FALSE(P.LayerDown()->isEnabled());
    ASSERT_TRUE(P.LayerUp()->isEnabled());
    QTest::mouseClick(P.LayerUp(), Qt::LeftButton);
    EXPECT_EQ(Rect->Index(), 1);
    EXPECT_EQ(P.Panels()[3]->BitmapLayer(), Rect);
    EXPECT_EQ(P.Panels()[3]->Lbl()->text(), QStringLiteral("(2) Bildebene"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rect->Index(), 0);

    // Dragged onto the top panel, it goes to the top.
    LayerDragRunner = [&](QDrag& Drag) {
        QWidget* Box = P.PanelBox();
        const QPoint To = P.Panels().front()->geometry().center();
        QDragEnterEvent Enter(To, Qt::CopyAction, Drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Box, &Enter);
        QDropEvent Drop(QPointF(To), Qt::CopyAction, Drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Box, &Drop);
        return Drop.isAccepted() ? Qt::CopyAction : Qt::IgnoreAction;
    };
    struct TReset {
        ~TReset() { LayerDragRunner = nullptr; }
    } Reset;
    TLayerPanel* Panel = P.PanelOf(Rect);
    QTest::mousePress(Panel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent Move(QEvent::MouseMove, QPointF(10, 40), Panel->mapToGlobal(QPointF(10, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Panel, &Move);
    EXPECT_EQ(Rect->Index(), 4);
    EXPECT_EQ(P.Panels().front()->BitmapLayer(), Rect);
    EXPECT_FALSE(P.LayerUp()->isEnabled());

    // Two layers only.
    Doc->SelectLayer(nullptr);
    while (Layers().Count() > 2) Doc->DeleteLayer(dynamic_cast<TPositionedLayer*>(Layers().Items(0)));
    QTest::mouseClick(P.Panels()[1], Qt::LeftButton);
    EXPECT_TRUE(P.LayerUp()->isEnabled());
    EXPECT_FALSE(P.LayerDown()->isEnabled());
}

// The gauge shows the selected figure's opacity and changes it with one undo entry; new
// figures take it.
TEST_F(TPaletteFixture, OpacityGauge) {
    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    Doc->SelectLayer(nullptr);
    EXPECT_FALSE(P.GbarTransp()->isEnabled());
    EXPECT_EQ(P.LblBitTransp()->text(), QStringLiteral("100"));
    QTest::mouseClick(P.PanelOf(Rect), Qt::LeftButton);
    ASSERT_TRUE(P.GbarTransp()->isEnabled());
    const int Records = Doc->UndoCount();
    P.GbarTransp()->setValue(128);
    EXPECT_EQ(Rect->LayerStyle().FillColorAlpha(), 128);
    EXPECT_EQ(Rect->LayerStyle().LineColorAlpha(), 128);
    EXPECT_EQ(P.LblBitTransp()->text(), QStringLiteral("50"));
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_EQ(Window->Model().Palettes.State().Opacity, 128);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rect->LayerStyle().FillColorAlpha(), 255);
    EXPECT_EQ(P.GbarTransp()->value(), 255);
}

// Duration, colour reduction, dithering and loops edit the frame and the document; the frame
// box shows another frame; the facts follow the assembled animation.
TEST_F(TPaletteFixture, AnimationSettingsAndFrameBox) {
    P.Pages()->setCurrentIndex(1);
    Type(P.CmbDuration(), QStringLiteral("15"));
    EXPECT_EQ(Doc->Frame(0).Duration, 15);
    EXPECT_TRUE(P.DurationWarning()->isVisibleTo(&P));
    Type(P.CmbDuration(), QString());
    EXPECT_EQ(P.CmbDuration()->currentText(), QStringLiteral("15")); // an emptied field comes back
    EXPECT_EQ(Doc->Frame(0).Duration, 15);
    Type(P.CmbDuration(), QStringLiteral("250"));
    EXPECT_FALSE(P.DurationWarning()->isVisibleTo(&P));
    Choose(P.CmbColorReduction(), 4);
    EXPECT_EQ(Doc->Frame(0).ColorReduction, rmGrayScale);
    Choose(P.CmbDitherMode(), 2);
    EXPECT_EQ(Doc->Frame(0).DitherMode, dmStucki);
    Type(P.CmbLoops(), QStringLiteral("3"));
    EXPECT_EQ(Doc->NumLoops(), 3);
    Choose(P.CmbLoops(), 0);
    EXPECT_EQ(Doc->NumLoops(), 0);
    EXPECT_TRUE(P.GifFacts()->text().contains(QStringLiteral("noch nicht bekannt")));

    Dialogs.NewFrames = {1};
    Window->Action("NewFrame")->trigger();
    ASSERT_EQ(P.CmbFrames()->count(), 2);
    EXPECT_EQ(P.CmbFrames()->currentIndex(), 1);
    EXPECT_EQ(P.CmbDuration()->currentText(), QStringLiteral("1000")); // the new frame's own
    Choose(P.CmbFrames(), 0);
    EXPECT_EQ(Doc->GetIndex(), 0);
    Window->Action("mnGifErzeugen")->trigger();
    ASSERT_TRUE(Doc->GifImg());
    EXPECT_TRUE(P.GifFacts()->text().contains(QStringLiteral("KB")));
    EXPECT_TRUE(P.GifFacts()->text().contains(QStringLiteral("2 Frames")));
    // The animation, once made, follows the settings.
    Type(P.CmbDuration(), QStringLiteral("700"));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Doc->GifImg() && test::DecodeGif(Doc->GifImg()->SaveToBytes()).Images[0].Delay() == 70;
    }));
    // Undo takes the settings back one by one.
    while (Doc->CanUndo()) Doc->Undo();
    EXPECT_EQ(Doc->Frame(0).Duration, 1000);
}

// The panels follow every change of the layer and frame lists.
TEST_F(TPaletteFixture, PanelsFollowFlattenUndoRedoPasteDropAndFrames) {
    auto Count = [&] { return static_cast<int>(P.Panels().size()); };
    Window->Action("mnFlatten")->trigger();
    EXPECT_EQ(Count(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Count(), 6);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Count(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);

    QTest::mouseClick(P.Panels()[4], Qt::LeftButton);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Count(), 7);
    EXPECT_EQ(P.Panels().front()->BitmapLayer(), Doc->Selection());

    // A plain picture with a fade says so under its caption.
    TBitmap32 Faded;
    Faded.SetSize(20, 20);
    Faded.Clear(0x80FF0000);
    Doc->CreateBitmapLayer(Faded, {0, 0}, true);
    EXPECT_EQ(P.Panels().front()->InfoLbl()->text(), QStringLiteral("mit Transparenzverlauf"));

    // The context menu acts on the selection, whichever panel was right-clicked.
    const int Shown = Count();
    P.PopupMenu()->actions().at(4)->trigger(); // "Ebene löschen"
    EXPECT_EQ(Count(), Shown - 1);
    Key(Qt::Key_Z, Qt::ControlModifier);

    Dialogs.NewFrames = {2}; // background only
    Window->Action("NewFrame")->trigger();
    EXPECT_EQ(Count(), 1);
    Window->Action("mnFrameloeschen")->trigger();
    EXPECT_EQ(Count(), 8);

    // Dropped from another document's palette onto this canvas.
    TDocForm& Other = Window->Model().NewSampleDocument();
    EXPECT_EQ(Count(), 6); // the palette shows the selected document
    LayerDragRunner = [&](QDrag& Drag) {
        QWidget* Target = Canvas->viewport();
        QDragEnterEvent Enter(QPoint(100, 100), Qt::CopyAction, Drag.mimeData(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(Target, &Enter);
        QDropEvent Drop(QPointF(100, 100), Qt::CopyAction, Drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &Drop);
        return Drop.isAccepted() ? Qt::CopyAction : Qt::IgnoreAction;
    };
    struct TReset {
        ~TReset() { LayerDragRunner = nullptr; }
    } Reset;
    TLayerPanel* Ellipse = P.Panels()[3];
    QTest::mousePress(Ellipse, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent Move(QEvent::MouseMove, QPointF(10, 40), Ellipse->mapToGlobal(QPointF(10, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Ellipse, &Move);
    EXPECT_EQ(Doc->CurrentView()->Layers().Count(), 8);
    EXPECT_EQ(Other.CurrentView()->Layers().Count(), 5);
    Window->Model().SetSelectedDocForm(Doc);
    EXPECT_EQ(Count(), 9);
}

// What the palette sets reaches the written GIF: delays, loop count, reduction and dithering.
TEST_F(TPaletteFixture, AnimationSettingsReachTheGif) {
    Doc->SelectLayer(nullptr);
    // A grey ramp: dithering shows as noise, a threshold as one edge per row.
    Doc->PaintSurface(nullptr, [](TBitmap32& B) {
        TGeneralGraphicFunctions::CreateColorGradient(0xFF000000u, 0xFFFFFFFFu, {0, 0}, {399, 0}, B);
    });
    while (Layers().Count() > 0) Doc->DeleteLayer(dynamic_cast<TPositionedLayer*>(Layers().Items(0)));
    Dialogs.NewFrames = {1};
    Window->Action("NewFrame")->trigger();
    P.Pages()->setCurrentIndex(1);
    Choose(P.CmbFrames(), 0);
    Type(P.CmbDuration(), QStringLiteral("250"));
    Choose(P.CmbColorReduction(), 3); // "Monochrom"
    Choose(P.CmbDitherMode(), 0);     // "Ohne"
    Choose(P.CmbFrames(), 1);
    Type(P.CmbDuration(), QStringLiteral("500"));
    Choose(P.CmbColorReduction(), 3);
    Choose(P.CmbDitherMode(), 1); // "Floyd -Steinberg"
    Type(P.CmbLoops(), QStringLiteral("3"));
    Window->Action("mnGifErzeugen")->trigger();
    ASSERT_TRUE(Doc->GifImg());

    const test::TDecodedGif Gif = test::DecodeGif(Doc->GifImg()->SaveToBytes());
    ASSERT_EQ(Gif.Images.size(), 2u);
    EXPECT_EQ(Gif.Images[0].Delay(), 25);
    EXPECT_EQ(Gif.Images[1].Delay(), 50);
    EXPECT_EQ(Gif.Images[0].Loops(), 3);
    auto Edges = [](const test::TDecodedImage& I) {
        int N = 0;
        const std::size_t Row = static_cast<std::size_t>(I.Width) * 40;
        for (int X = 1; X < I.Width; ++X) N += I.Pixels[Row + X] != I.Pixels[Row + X - 1];
        return N;
    };
    for (const test::TDecodedImage& I : Gif.Images)
        for (const TGifColor& C : I.ColorMap)
            EXPECT_TRUE((C.R == 0 || C.R == 255) && C.R == C.G && C.G == C.B);
    EXPECT_LE(Edges(Gif.Images[0]), 2);
    EXPECT_GT(Edges(Gif.Images[1]), 50);
}

// "Fenster" -> "Ebenen" shows and hides the palette; quitting keeps the palettes as shown for
// the next start.
TEST_F(TPaletteFixture, MenuToggleAndQuittingKeepsThePalettesShown) {
    ASSERT_TRUE(P.isVisible());
    // Placed where the settings say.
    Settings().SaveFormProps(TFormProps{pkLayerForm, 40, 120, 210, 380, true});
    P.Adjust(Window.get());
    EXPECT_EQ(P.pos(), QPoint(40, 120));
    EXPECT_EQ(P.size(), QSize(210, 380)) << P.minimumSizeHint().width();
    Window->Action("mnLayerTool")->trigger();
    EXPECT_FALSE(P.isVisible());
    EXPECT_FALSE(RecreateSettings().LayerFormVisible);
    Window->Action("mnLayerTool")->trigger();
    EXPECT_TRUE(P.isVisible());
    Window->Paintbox()->show();
    Window->PropertiesPalette()->show();
    // Quitting closes every window, palettes included, without the user asking.
    Window->close();
    for (QWidget* Palette : {static_cast<QWidget*>(&P), static_cast<QWidget*>(Window->Paintbox()),
                             static_cast<QWidget*>(Window->PropertiesPalette())}) {
        QCloseEvent Close;
        QApplication::sendEvent(Palette, &Close);
    }
    const TSettings& S = RecreateSettings();
    EXPECT_TRUE(S.LayerFormVisible);
    EXPECT_TRUE(S.PaintBoxVisible);
    EXPECT_TRUE(S.TextFormVisible);
}

} // namespace
} // namespace zp
