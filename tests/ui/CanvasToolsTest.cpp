// The canvas tools through the real window: tool buttons of the tool palette, mouse drags and
// wheel on the canvas, the zoom box, and layers dragged from one document into another.
#include "support/EditingFixture.h"
#include "support/QtPrinters.h"

#include "files/GifDecode.h"
#include "layers/LayerStyle.h"
#include "layers/TextLayer.h"
#include "raster/Blend.h"
#include "ui/LayerDrag.h"
#include "ui/Paintbox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>

namespace zp {
namespace {

constexpr TColor Red = 0x0000FF, Blue = 0xFF0000;

struct TCanvasFixture : TEditingFixture {
    TCanvasFixture() {
        Window->Model().Palettes.SetColor1(Red);
        Window->Model().Palettes.SetColor2(Blue);
    }
    void Choose(TPaintTool Tool) {
        QAbstractButton* B = Window->Paintbox()->Button(Tool);
        QTest::mouseClick(B, Qt::LeftButton);
        ASSERT_EQ(Window->Model().Palettes.State().Tool, Tool);
    }
    void SetPalette(const std::function<void(TPaletteState&)>& Edit) {
        Window->Model().Palettes.Change(Edit);
    }
    const TPaletteState& Palette() const { return Window->Model().Palettes.State(); }
    void Press(QPoint P) { QTest::mousePress(Canvas->viewport(), Qt::LeftButton, Qt::NoModifier, P); }
    void Release(QPoint P) { QTest::mouseRelease(Canvas->viewport(), Qt::LeftButton, Qt::NoModifier, P); }
    TColor32 BackgroundPixel(int X, int Y) const { return Doc->CurrentView()->Bitmap().Pixel(X, Y); }
};

// Each drawing tool shows its help figure while dragging and creates its figure on release
// from the press point and the last movement point, in colour 1 at the gauge's opacity.
TEST_F(TCanvasFixture, DrawingToolsCreateTheirFiguresAndUndo) {
    SetPalette([](TPaletteState& S) {
        S.Opacity = 128;
        S.LineWidth = QStringLiteral("6");
        S.EdgeCount = QStringLiteral("7");
    });
    const int Before = Layers().Count();
    const struct {
        TPaintTool Tool;
        const char* Class;
    } Tools[] = {{ptPaintRectangle, "T2DRectangle"},
                 {ptPaintEllipse, "T2DEllipse"},
                 {ptPaintLine, "T2DLine"},
                 {ptPaintPolygon, "T2DPolygon"}};
    for (const auto& T : Tools) {
        Choose(T.Tool);
        Press(At(40, 180));
        MoveHeld(At(90, 200));
        MoveHeld(At(120, 250));
        T2DFiguren* Help = Doc->HelpFigure();
        ASSERT_TRUE(Help) << T.Class;
        EXPECT_EQ(Help->LayerCollection(), &Layers());
        EXPECT_FALSE(Help->Bitmap().Empty());
        // Saving in the middle of a drag keeps the help figure out of the file.
        EXPECT_EQ(QString::fromStdString(Doc->ProjectToXMLText())
                      .count(QRegularExpression(QStringLiteral("<Layer[\\s>]"))),
                  Layers().Count() - 1);
        // The release lies beyond the last movement: the figure ends where the pointer last was.
        Release(At(130, 270));
        EXPECT_FALSE(Doc->HelpFigure());
        auto* F = dynamic_cast<T2DFiguren*>(Doc->Selection());
        ASSERT_TRUE(F) << T.Class;
        EXPECT_STREQ(F->ClassName(), T.Class);
        EXPECT_EQ(F->LayerStyle().FillColor(), SetColorAlpha(Color32(Red), 128));
        EXPECT_EQ(F->LayerStyle().LineColor(), SetColorAlpha(Color32(Red), 128));
        EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoInsertPicLayer);
    }
    EXPECT_EQ(Layers().Count(), Before + 4);
    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(Before));
    EXPECT_EQ(Rect->X1(), 40);
    EXPECT_EQ(Rect->Y1(), 180);
    EXPECT_EQ(Rect->X2(), 120);
    EXPECT_EQ(Rect->Y2(), 250);
    EXPECT_EQ(dynamic_cast<T2DLine*>(Layers().Items(Before + 2))->LineWidth(), 6);
    EXPECT_EQ(dynamic_cast<T2DPolygon*>(Layers().Items(Before + 3))->NumEdges(), 7);
    EXPECT_EQ(Palette().PropertiesMode, enablePolygon);
    for (int I = 0; I < 4; ++I) Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before);
}

// A drag of at most one pixel only showed the help figure; a modifier freezes the help
// figure but the release still creates from the last movement point.
TEST_F(TCanvasFixture, TinyDragsAndHeldModifiers) {
    Choose(ptPaintRectangle);
    const int Before = Layers().Count();
    Press(At(50, 50));
    MoveHeld(At(51, 51));
    EXPECT_TRUE(Doc->HelpFigure());
    Release(At(60, 60));
    EXPECT_FALSE(Doc->HelpFigure());
    EXPECT_EQ(Layers().Count(), Before);

    Press(At(50, 200));
    MoveHeld(At(80, 220));
    const TFloatRect Frozen = Doc->HelpFigure()->Location();
    MoveHeld(At(150, 280), Qt::ShiftModifier);
    MoveHeld(At(160, 290), Qt::ControlModifier);
    EXPECT_EQ(Doc->HelpFigure()->Location(), Frozen);
    Release(At(170, 295));
    auto* F = dynamic_cast<T2DFiguren*>(Doc->Selection());
    ASSERT_TRUE(F);
    EXPECT_EQ(F->X2(), 160);
    EXPECT_EQ(F->Y2(), 290);
}

// The line width and edge count are checked at the press, and clamped while dragging.
TEST_F(TCanvasFixture, LineWidthAndEdgeCountAreCheckedAndCorrected) {
    const int Before = Layers().Count();
    Choose(ptPaintLine);
    for (const char* Width : {"0", "", "501"}) {
        SetPalette([Width](TPaletteState& S) { S.LineWidth = QString::fromLatin1(Width); });
        const std::size_t Shown = Dialogs.Shown.size();
        Press(At(20, 20));
        EXPECT_FALSE(Doc->HelpFigure());
        ASSERT_EQ(Dialogs.Shown.size(), Shown + 1);
        EXPECT_EQ(Dialogs.Shown.back().Caption, QStringLiteral("Ungültige Eingabe"));
        EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgIcon::Error);
        MoveHeld(At(100, 100));
        Release(At(100, 100));
        EXPECT_EQ(Layers().Count(), Before) << Width;
        EXPECT_EQ(Palette().LineWidth, QString::fromLatin1(std::string_view(Width) == "501" ? "500" : "1"));
    }
    Choose(ptPaintPolygon);
    SetPalette([](TPaletteState& S) { S.EdgeCount = QStringLiteral("4"); });
    Press(At(100, 100));
    EXPECT_FALSE(Doc->HelpFigure());
    EXPECT_TRUE(Dialogs.Shown.back().Text.contains(QStringLiteral("Polygon")));
    Release(At(100, 100));
    EXPECT_EQ(Palette().EdgeCount, QStringLiteral("5"));
    // Accepted at the press, then too many while dragging: clamped and written back.
    Press(At(100, 100));
    SetPalette([](TPaletteState& S) { S.EdgeCount = QStringLiteral("5000"); });
    MoveHeld(At(150, 120));
    Release(At(150, 120));
    EXPECT_EQ(Palette().EdgeCount, QStringLiteral("1000"));
    EXPECT_EQ(dynamic_cast<T2DPolygon*>(Doc->Selection())->NumEdges(), 1000);
}

// Colour gradients paint the background without a selection, and become the fill of a
// selected figure or text; plain pictures take them into their pixels; each one undoes.
TEST_F(TCanvasFixture, GradientToolsOnBackgroundFigureTextAndPicture) {
    ASSERT_TRUE(Doc->Selection()); // the sample starts with its line selected
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Doc->Selection());
    const TColor32 Corner = BackgroundPixel(5, 5);
    Choose(ptColorGradient);
    Click(200, 200); // a click paints nothing and records nothing
    EXPECT_EQ(Doc->UndoCount(), 0);
    Drag(At(0, 290), At(399, 290));
    EXPECT_FALSE(Doc->HelpFigure());
    EXPECT_EQ(BackgroundPixel(0, 290), Color32(Red));
    EXPECT_EQ(BackgroundPixel(399, 290), Color32(Blue));
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoPaint);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(BackgroundPixel(5, 5), Corner);

    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    Doc->SelectLayer(Rect);
    Choose(ptCircleGradient);
    const TFloatRect L = Rect->Location();
    Drag(At(static_cast<int>(L.Left) + 10, static_cast<int>(L.Top) + 10),
         At(static_cast<int>(L.Left) + 60, static_cast<int>(L.Top) + 30));
    const T2DLayerStyle& S = Rect->LayerStyle();
    EXPECT_TRUE(S.FillGradient());
    EXPECT_EQ(S.FillGradientShape(), shpCircle);
    EXPECT_EQ(S.FillGradientPStart(), (TPoint{10, 10}));
    EXPECT_EQ(S.FillGradientPEnd(), (TPoint{60, 30}));
    EXPECT_EQ(S.FillGradientColor1(), Color32(Red));
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undo2DLayerStyle);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Rect->LayerStyle().FillGradient());

    TTextLayer* Text = nullptr;
    for (int I = 0; I < Layers().Count(); ++I)
        if (auto* T = dynamic_cast<TTextLayer*>(Layers().Items(I))) Text = T;
    ASSERT_TRUE(Text);
    Doc->SelectLayer(Text);
    Choose(ptSqareTranspGradient);
    const TFloatRect TL = Text->Location();
    Drag(At(static_cast<int>(TL.Left) + 5, static_cast<int>(TL.Top) + 5),
         At(static_cast<int>(TL.Right) - 5, static_cast<int>(TL.Top) + 5));
    EXPECT_EQ(Text->FontLayerStyle().FillGradientShape(), shpSqareTransp);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoFontLayerStyle);

    // A plain picture of one colour, faded from left to right.
    TBitmap32 Plain;
    Plain.SetSize(100, 20);
    Plain.Clear(0xFF00FF00);
    auto* Picture = Doc->CreateBitmapLayer(Plain, {150, 250}, false);
    Choose(ptTransGradient);
    Drag(At(150, 260), At(249, 260));
    EXPECT_EQ(AlphaComponent(Picture->Bitmap().Pixel(0, 10)), 255u);
    EXPECT_EQ(AlphaComponent(Picture->Bitmap().Pixel(99, 10)), 0u);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoPaint);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Picture->Bitmap().Pixel(99, 10), 0xFF00FF00u);

    // Fades need a selection.
    Doc->SelectLayer(nullptr);
    const int Records = Doc->UndoCount();
    Drag(At(10, 10), At(300, 10));
    EXPECT_EQ(Doc->UndoCount(), Records);
    EXPECT_EQ(BackgroundPixel(300, 10), Corner);
}

// The fill bucket fills the background (undoable), a figure it hits, and nothing it misses.
TEST_F(TCanvasFixture, FillBucket) {
    Choose(ptColorFiller);
    EXPECT_EQ(Doc->CurrentView()->Cursor(), 117);
    Doc->SelectLayer(nullptr);
    Click(5, 5);
    EXPECT_EQ(BackgroundPixel(399, 299), Color32(Red));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(BackgroundPixel(399, 299), 0xFFFFFFFFu);

    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    Doc->SelectLayer(Rect);
    const int Records = Doc->UndoCount();
    Click(390, 290); // beside it
    EXPECT_EQ(Doc->UndoCount(), Records);
    EXPECT_EQ(BackgroundPixel(390, 290), 0xFFFFFFFFu);
    Click(100, 75);
    EXPECT_EQ(Rect->LayerStyle().FillColor(), Color32(Red));
    EXPECT_FALSE(Rect->LayerStyle().FillGradient());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(Rect->LayerStyle().FillColor(), Color32(Red));
}

// The marked rectangle is kept in view pixels from press to release, goes with a click, and
// with a click on any tool but the mark tool.
TEST_F(TCanvasFixture, MarkToolKeepsARectangleInViewPixels) {
    Choose(ptMark);
    EXPECT_EQ(Doc->CurrentView()->Cursor(), 1);
    Drag(QPoint(200, 150), QPoint(120, 90));
    ASSERT_TRUE(Doc->MarkLayer());
    EXPECT_EQ(Doc->MarkLayer()->Location(), (TFloatRect{120, 90, 200, 150}));
    QTest::mouseClick(Canvas->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_FALSE(Doc->MarkLayer());
    Drag(QPoint(10, 10), QPoint(60, 40));
    Choose(ptMark);
    EXPECT_TRUE(Doc->MarkLayer());
    Choose(ptZeiger);
    EXPECT_FALSE(Doc->MarkLayer());
}

// The pointer drags the selection with the mouse at any zoom; only a real move is recorded.
TEST_F(TCanvasFixture, PointerMovesTheSelectionAtAnyZoom) {
    Choose(ptZeiger);
    auto* Rect = dynamic_cast<TPositionedLayer*>(Layers().Items(0));
    const TFloatRect Start = Rect->Location();
    Doc->SelectLayer(nullptr);
    Click(100, 75);
    ASSERT_EQ(Doc->Selection(), Rect);
    EXPECT_FALSE(Doc->Modified());
    Window->ZoomBox()->setEditText(QStringLiteral("200 %"));
    ASSERT_FLOAT_EQ(Doc->CurrentView()->Scale(), 2.0f);
    const QPoint From = At(100, 75);
    Drag(From, From + QPoint(40, -20));
    EXPECT_EQ(Rect->Location().Left, Start.Left + 20);
    EXPECT_EQ(Rect->Location().Top, Start.Top - 10);
    EXPECT_EQ(Rect->Location().Width(), Start.Width());
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoShiftLayer);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rect->Location(), Start);
    EXPECT_FALSE(Doc->Modified());

    // Escape in the middle of a drag waits for its end, which is recorded.
    Press(From);
    MoveHeld(From + QPoint(20, 0));
    Key(Qt::Key_Escape);
    Release(From + QPoint(20, 0));
    EXPECT_EQ(Doc->Selection(), Rect);
    EXPECT_EQ(Rect->Location().Left, Start.Left + 10);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoShiftLayer);
}

// Typed zoom takes 1 % to 2000 %, with or without a blank before the sign; the wheel stops at
// 20 % and 2000 %.
TEST_F(TCanvasFixture, ZoomBoxAndWheel) {
    QComboBox* Box = Window->ZoomBox();
    TImgView32& V = *Doc->CurrentView();
    Box->lineEdit()->selectAll();
    QTest::keyClicks(Box->lineEdit(), QStringLiteral("1 %"));
    EXPECT_FLOAT_EQ(V.Scale(), 0.01f);
    Box->setEditText(QStringLiteral("0%"));
    EXPECT_FLOAT_EQ(V.Scale(), 0.01f);
    Box->setEditText(QStringLiteral("2001%"));
    EXPECT_FLOAT_EQ(V.Scale(), 0.01f);
    Box->setEditText(QStringLiteral("zwei"));
    EXPECT_FLOAT_EQ(V.Scale(), 0.01f);
    Box->setEditText(QStringLiteral("2000%"));
    EXPECT_FLOAT_EQ(V.Scale(), 20.0f);
    auto Wheel = [&](int Delta) {
        QWheelEvent E(QPointF(50, 50), Canvas->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, Delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Canvas->viewport(), &E);
    };
    Wheel(-120);
    EXPECT_FLOAT_EQ(V.Scale(), 20.0f);
    EXPECT_EQ(Box->currentText(), QStringLiteral("2000%"));
    for (int I = 0; I < 80; ++I) Wheel(120);
    EXPECT_FLOAT_EQ(V.Scale(), 0.2f);
    EXPECT_EQ(Box->currentText(), QStringLiteral("20%"));
}

// Ctrl resizes a plain picture about its centre, never below 4 x 4; Shift keeps the aspect on
// a corner only; figures are never constrained.
TEST_F(TCanvasFixture, SelectionFrameConstraintsForPlainPictures) {
    TBitmap32 Plain;
    Plain.SetSize(100, 50);
    Plain.Clear(0xFF00FF00);
    auto* Picture = Doc->CreateBitmapLayer(Plain, {100, 100}, false);
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Doc->RBLayer());
    QWidget* V = Canvas->viewport();
    // The handles show the program's own cursors, with their hot spot in the middle.
    for (const QPoint P : {At(200, 125), At(200, 150), At(150, 125)}) {
        QTest::mouseMove(V, P);
        EXPECT_EQ(V->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(V->cursor().hotSpot(), QPoint(16, 16));
    }
    auto DragWith = [&](QPoint From, QPoint To, Qt::KeyboardModifiers M) {
        QTest::mousePress(V, Qt::LeftButton, M, From);
        MoveHeld(To, M);
        QTest::mouseRelease(V, Qt::LeftButton, M, To);
    };
    DragWith(At(200, 125), At(300, 125), Qt::ControlModifier); // right edge, 100 further out
    EXPECT_EQ(Picture->Location(), (TFloatRect{0, 100, 300, 150}));
    DragWith(At(300, 125), At(-50, 125), Qt::ControlModifier); // far past the centre
    EXPECT_EQ(Picture->Location(), (TFloatRect{148, 100, 152, 150}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Picture->Location(), (TFloatRect{100, 100, 200, 150}));
    Doc->SelectLayer(Picture);
    Key(Qt::Key_T, Qt::ControlModifier);
    DragWith(At(200, 150), At(300, 170), Qt::ShiftModifier); // bottom-right corner
    EXPECT_EQ(Picture->Location(), (TFloatRect{100, 100, 300, 200}));
    DragWith(At(200, 200), At(200, 260), Qt::ShiftModifier); // bottom edge: unconstrained
    EXPECT_EQ(Picture->Location(), (TFloatRect{100, 100, 300, 260}));

    // Moved by the pointer and the keys, the scaled picture keeps its size, also through undo.
    Choose(ptZeiger);
    Drag(At(200, 180), At(210, 185));
    EXPECT_EQ(Picture->Location(), (TFloatRect{110, 105, 310, 265}));
    Key(Qt::Key_Right);
    EXPECT_EQ(Picture->Location(), (TFloatRect{111, 105, 311, 265}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Picture->Location(), (TFloatRect{100, 100, 300, 260}));
}

// A figure dragged out of one document's canvas into another's arrives as a clone centred at
// the drop point; the source keeps its layer where it was. A plain picture does not travel.
TEST_F(TCanvasFixture, DraggingAFigureIntoAnotherDocument) {
    TDocForm& Target = Window->Model().NewSampleDocument();
    TFrameViewWidget* TargetCanvas = Window->DocumentWindow(&Target)->FrameWidget(Target.Frame1());
    Window->Model().SetSelectedDocForm(Doc);
    const int TargetLayers = Target.CurrentView()->Layers().Count();
    QPoint DropAt(150, 120);
    LayerDragRunner = [&](QDrag& Drag) {
        QWidget* T = TargetCanvas->viewport();
        QDragEnterEvent Enter(DropAt, Qt::CopyAction, Drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(T, &Enter);
        if (!Enter.isAccepted()) return Qt::IgnoreAction;
        QDropEvent Drop(QPointF(DropAt), Qt::CopyAction, Drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(T, &Drop);
        return Drop.isAccepted() ? Qt::CopyAction : Qt::IgnoreAction;
    };
    struct TReset {
        ~TReset() { LayerDragRunner = nullptr; }
    } Reset;
    auto DragOut = [&](QPoint From) {
        Press(From);
        MoveHeld(From + QPoint(10, 0));
        MoveHeld(QPoint(-30, From.y()));
        QApplication::processEvents(); // the drag starts from the event loop
        Release(QPoint(-30, From.y()));
    };

    auto* Ellipse = dynamic_cast<T2DFiguren*>(Layers().Items(1));
    const TFloatRect Start = Ellipse->Location();
    Choose(ptZeiger);
    DragOut(At(280, 95));
    ASSERT_EQ(Target.CurrentView()->Layers().Count(), TargetLayers + 1);
    auto* Clone = dynamic_cast<T2DFiguren*>(Target.CurrentView()->Layers().Items(TargetLayers));
    ASSERT_TRUE(Clone);
    EXPECT_STREQ(Clone->ClassName(), "T2DEllipse");
    const TPoint Centre = Target.CurrentView()->ControlToBitmap({DropAt.x(), DropAt.y()});
    EXPECT_FLOAT_EQ((Clone->Location().Left + Clone->Location().Right) / 2, static_cast<float>(Centre.X));
    EXPECT_FLOAT_EQ(Clone->Location().Width(), std::trunc(Start.Width()));
    EXPECT_TRUE(SamePixels(Clone->Bitmap(), Ellipse->Bitmap()));
    EXPECT_EQ(Ellipse->Location(), Start);
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_FALSE(Doc->Modified());
    EXPECT_EQ(Target.UndoRecord(Target.UndoCount() - 1).fUndoType, undoInsertPicLayer);
    Target.Undo();
    EXPECT_EQ(Target.CurrentView()->Layers().Count(), TargetLayers);

    // In layer mode the selection frame is dragged out; the figure stays as it was.
    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    const TFloatRect RectAt = Rect->Location();
    Doc->SelectLayer(Rect);
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Doc->RBLayer());
    const int Records = Doc->UndoCount();
    DragOut(At(100, 75));
    ASSERT_EQ(Target.CurrentView()->Layers().Count(), TargetLayers + 1);
    EXPECT_STREQ(Target.CurrentView()->Layers().Items(TargetLayers)->ClassName(), "T2DRectangle");
    EXPECT_EQ(Rect->Location(), RectAt);
    EXPECT_EQ(Doc->UndoCount(), Records);

    TBitmap32 Plain;
    Plain.SetSize(40, 40);
    Plain.Clear(0xFF00FF00);
    Choose(ptZeiger);
    Doc->CreateBitmapLayer(Plain, {300, 200}, false);
    DragOut(At(320, 220));
    EXPECT_EQ(Target.CurrentView()->Layers().Count(), TargetLayers + 1);
}

// A style copied onto a figure brings its outline, opacity and shadow, not its colours; the
// selection frame goes, and one undo takes it back.
TEST_F(TCanvasFixture, CopyingAStyleOntoAFigure) {
    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    Doc->SelectLayer(Rect);
    Key(Qt::Key_T, Qt::ControlModifier);
    const TColor32 Fill = Rect->LayerStyle().FillColor();
    T2DLayerStyle Style;
    Style.SetOutline(true);
    Style.SetOutlineSize(5);
    Style.SetOutlineColor(0xFF00FF00);
    Style.SetShadow(false);
    Style.SetFillColor(0xFF123456);
    Style.SetFillColorAlpha(100);
    Doc->Paint2DFigure(Style);
    const T2DLayerStyle& S = Rect->LayerStyle();
    EXPECT_EQ(S.OutlineSize(), 5);
    EXPECT_EQ(S.OutlineColor(), 0xFF00FF00u);
    EXPECT_FALSE(S.Shadow());
    EXPECT_EQ(S.FillColor(), SetColorAlpha(Fill, 100));
    EXPECT_TRUE(Doc->ToolMode());
    EXPECT_FALSE(Doc->RBLayer());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rect->LayerStyle().OutlineSize(), 2);
    EXPECT_TRUE(Rect->LayerStyle().Shadow());
}

// The typical road as far as the canvas reaches: a new picture, a rectangle drawn with the
// mouse, a new frame with the layers, the rectangle nudged with the keys, the GIF assembled.
TEST_F(TCanvasFixture, NewPictureRectangleSecondFrameArrowKeysGif) {
    Dialogs.WhatToDo = {1};
    Dialogs.NewImages = {{120, 80, 0x00FFFFFF}};
    Window->Action("mnFileNew")->trigger();
    TDocForm* New = Window->Model().SelectedDocForm();
    ASSERT_TRUE(New && New != Doc);
    Doc = New;
    Canvas = Window->DocumentWindow(Doc)->FrameWidget(Doc->Frame1());
    Choose(ptPaintRectangle);
    Drag(At(10, 10), At(50, 40));
    ASSERT_TRUE(dynamic_cast<T2DRectangle*>(Doc->Selection()));
    Dialogs.NewFrames = {1};
    Window->Action("NewFrame")->trigger();
    ASSERT_EQ(Doc->FrameCount(), 2);
    Canvas = Window->DocumentWindow(Doc)->FrameWidget(Doc->Frame(1).TabSheet);
    Choose(ptZeiger);
    Click(30, 25);
    ASSERT_TRUE(dynamic_cast<T2DRectangle*>(Doc->Selection()));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down);
    Window->Action("mnGifErzeugen")->trigger();
    ASSERT_TRUE(Doc->GifImg());

    const test::TDecodedGif Gif = test::DecodeGif(Doc->GifImg()->SaveToBytes());
    ASSERT_EQ(Gif.Images.size(), 2u);
    for (int F = 0; F < 2; ++F) {
        const std::unique_ptr<TBitmap32> Shown = TDocForm::ComposeFrame(*Doc->Frame(F).ImgView);
        const test::TDecodedImage& I = Gif.Images[static_cast<std::size_t>(F)];
        ASSERT_EQ(I.Width, 120);
        ASSERT_EQ(I.Height, 80);
        int Differences = 0;
        for (int Y = 0; Y < 80; ++Y)
            for (int X = 0; X < 120; ++X) {
                const TGifColor C = I.ColorMap[I.Pixels[static_cast<std::size_t>(Y * 120 + X)]];
                Differences += (Shown->Pixel(X, Y) & 0xFFFFFF) != Color32(C.R, C.G, C.B, 0);
            }
        EXPECT_EQ(Differences, 0) << "frame " << F;
        // The rectangle's inside is colour 1 over the white background, one frame later 20
        // pixels right and 1 down.
        const int DX = F == 0 ? 0 : 20, DY = F == 0 ? 0 : 1;
        const TColor32 Inside = MergeColor(Color32(Red), 0xFFFFFFFFu);
        EXPECT_EQ(Shown->Pixel(30 + DX, 25 + DY), Inside);
        EXPECT_EQ(Shown->Pixel(12 + DX, 12 + DY), Inside);
        EXPECT_EQ(Shown->Pixel(5 + DX, 5 + DY), 0xFFFFFFFFu);
    }
}

} // namespace
} // namespace zp
