// Layer operations, undo and redo of a document, checked by what the frames show.
#include "document/DocForm.h"
#include "support/QtPrinters.h"
#include "support/ShownDocument.h"

#include "layers/Figuren.h"
#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace zp {
namespace {

template <class T> std::unique_ptr<T> Styled(std::unique_ptr<T> F, TColor32 Fill) {
    F->LayerStyle().SetFillColor(Fill);
    F->LayerStyle().SetOutline(true);
    F->LayerStyle().SetOutlineSize(1);
    F->LayerStyle().SetOutlineColor(0xFF101010);
    F->Paint();
    return F;
}

struct TLayerUndo : ::testing::Test {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;
    std::vector<TDocEvent> Events;
    TDocSubscription Sub;

    TLayerUndo() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(80, 60, TColor{0x00FFFFFF});
        Doc->CurrentView()->SetViewportSize(80, 60);
        Sub = Doc->Subscribe([this](const TDocEvent& E) { Events.push_back(E); });
    }

    TImgView32& View() { return *Doc->CurrentView(); }

    T2DRectangle* Rectangle(TColor32 Fill, int X = 10, int Y = 10) {
        return static_cast<T2DRectangle*>(
            Doc->InsertLayer(Styled(std::make_unique<T2DRectangle>(X, Y, X + 20, Y + 15), Fill)));
    }

    TBitmapLayer* Picture(TColor32 Fill, TPoint At = {5, 6}) {
        TBitmap32 B;
        B.SetSize(10, 8);
        B.Clear(Fill);
        B.SetPixel(0, 0, 0xFF000000);
        return Doc->CreateBitmapLayer(B, At, false);
    }

    int Seen(TDocChange Kind) const {
        return static_cast<int>(std::count_if(Events.begin(), Events.end(),
                                              [Kind](const TDocEvent& E) { return E.Kind == Kind; }));
    }

    // Presses, drags and releases the left button on the shown frame, in control pixels.
    void Drag(TPoint From, TPoint To, TShiftState Keys = 0) {
        View().MouseDown(mbLeft, ssLeft | Keys, From.X, From.Y);
        View().MouseMove(ssLeft | Keys, (From.X + To.X) / 2, (From.Y + To.Y) / 2);
        View().MouseMove(ssLeft | Keys, To.X, To.Y);
        View().MouseUp(mbLeft, Keys, To.X, To.Y);
    }
};

TEST_F(TLayerUndo, ReorderingStopsAtBothEndsAndBelowTheSelectionFrame) {
    TBitmapLayer* A = Picture(0xFFFF0000);
    TBitmapLayer* B = Picture(0xFF00FF00);
    Doc->SetMouseEvents(false);
    Doc->SetRubberbandLayer(B);
    ASSERT_EQ(View().Layers().Count(), 3);
    const int Records = Doc->UndoCount();

    Doc->Reorder(29); // the top real layer: the frame above it does not count
    Doc->SelectLayer(A);
    Doc->Reorder(30); // the bottom layer
    EXPECT_EQ(Doc->UndoCount(), Records);
    EXPECT_EQ(A->Index(), 0);

    Doc->Reorder(27);
    EXPECT_EQ(A->Index(), 1);
    EXPECT_EQ(View().Layers().Items(2), Doc->RBLayer()); // the frame stays on top
    Doc->Reorder(28);
    EXPECT_EQ(A->Index(), 0);
    Doc->Undo();
    Doc->Undo();
    EXPECT_EQ(A->Index(), 0);
    EXPECT_EQ(B->Index(), 1);
    Doc->Redo();
    EXPECT_EQ(A->Index(), 1);
    EXPECT_EQ(Doc->Selection(), A);
}

TEST_F(TLayerUndo, FlatteningShowsWhatWasShownAndUndoingGivesBackTheSameLayers) {
    T2DRectangle* R = Rectangle(0xC02060E0);
    TBitmapLayer* P = Picture(0x80FF0000, {20, 15});
    auto* E = Doc->InsertLayer(Styled(std::make_unique<T2DEllipse>(30, 20, 70, 50), 0xFF20A020));
    Doc->SetFrameSettings(0, 250, rmNetscape, dmStucki);
    const TShown Before(*Doc);
    const int Records = Doc->UndoCount();

    Doc->FlattenImage();
    EXPECT_EQ(View().Layers().Count(), 0);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_TRUE(TShown(*Doc) == Before); // the background is what was shown, settings kept
    EXPECT_EQ(Doc->Selection(), nullptr);

    Doc->Undo();
    ASSERT_EQ(View().Layers().Count(), 3);
    // The very same layers, in the same order: records made before still find them.
    EXPECT_EQ(View().Layers().Items(0), R);
    EXPECT_EQ(View().Layers().Items(1), P);
    EXPECT_EQ(View().Layers().Items(2), E);
    EXPECT_EQ(Doc->Frame(0).Duration, 250);
    EXPECT_EQ(Doc->Frame(0).ColorReduction, rmNetscape);
    EXPECT_TRUE(TShown(*Doc) == Before);
    Doc->Undo(); // the settings
    Doc->Undo(); // the ellipse
    EXPECT_EQ(View().Layers().Count(), 2);

    Doc->Redo();
    Doc->Redo();
    Doc->Redo();
    EXPECT_EQ(View().Layers().Count(), 0);
    EXPECT_TRUE(TShown(*Doc) == Before);
}

TEST_F(TLayerUndo, UndoingAFlattenInLayerModeLeavesTheSelectionFrameWithTheFrame) {
    TBitmapLayer* A = Picture(0xFFFF0000);
    Picture(0xFF00FF00, {30, 20});
    Doc->FlattenImage();
    TBitmapLayer* C = Picture(0xFF0000FF);
    Doc->SetMouseEvents(false);
    Doc->SetRubberbandLayer(C);
    Doc->Undo(); // C goes
    Doc->Undo(); // A and B come back
    ASSERT_TRUE(Doc->RBLayer());
    EXPECT_EQ(Doc->RBLayer()->LayerCollection(), &View().Layers());
    EXPECT_EQ(View().Layers().Count(), 3);
    Doc->SelectLayer(A);
    Doc->SetRubberbandLayer(A);
    EXPECT_EQ(Doc->RBLayer()->ChildLayer(), A);
    EXPECT_EQ(View().Layers().Items(2), Doc->RBLayer());
}

TEST_F(TLayerUndo, DeletedLayersComeBackSelectedWithTheirStyleInTheirPlace) {
    T2DRectangle* R = Rectangle(0xFF2060E0);
    R->LayerStyle().SetShadow(true);
    R->Paint();
    TBitmapLayer* P = Picture(0xFFFF0000, {40, 30});
    const TShown Before(*Doc);
    const TFloatRect Place = R->Location();

    Doc->SelectLayer(R);
    Events.clear();
    Doc->DeleteClick();
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_EQ(View().Layers().Count(), 1);
    EXPECT_EQ(Seen(TDocChange::LayerRemoved), 1);
    Doc->SelectLayer(P);
    Doc->DeleteClick();
    EXPECT_EQ(View().Layers().Count(), 0);

    Doc->Undo();
    EXPECT_EQ(Doc->Selection(), P);
    Doc->Undo();
    ASSERT_EQ(View().Layers().Count(), 2);
    EXPECT_EQ(Doc->Selection(), R);
    EXPECT_EQ(R->Index(), 0); // under the picture, where it was
    EXPECT_EQ(R->Location(), Place);
    EXPECT_TRUE(R->LayerStyle().Shadow());
    EXPECT_EQ(Seen(TDocChange::LayerAdded), 2);
    EXPECT_TRUE(TShown(*Doc) == Before);

    Doc->Redo();
    EXPECT_EQ(View().Layers().Count(), 1);
    EXPECT_EQ(View().Layers().Items(0), P);
}

TEST_F(TLayerUndo, MovingTwiceAndUndoingTwiceReturnsToTheFirstPlace) {
    TBitmapLayer* P = Picture(0xFF0000FF, {5, 6});
    Doc->MoveLayer(*P, 20, 21);
    // The pointer tool moves first and records at the release.
    P->SetLocation({33, 34, 43, 42});
    Doc->RecordShift(*P, {20, 21});
    Doc->Undo();
    EXPECT_EQ(P->Location(), (TFloatRect{20, 21, 30, 29}));
    Doc->Undo();
    EXPECT_EQ(P->Location(), (TFloatRect{5, 6, 15, 14}));
    Doc->Redo();
    Doc->Redo();
    EXPECT_EQ(P->Location(), (TFloatRect{33, 34, 43, 42}));
}

TEST_F(TLayerUndo, UndoShowsTheFrameOfTheChange) {
    TBitmapLayer* P = Picture(0xFF0000FF);
    Doc->CreateNewFrame(2);
    ASSERT_EQ(Doc->GetIndex(), 1);
    Doc->SetActivePage(Doc->Frame(1).TabSheet);
    Doc->Undo(); // the new frame goes: frame 1 is shown
    EXPECT_EQ(Doc->FrameCount(), 1);
    Doc->Redo();
    EXPECT_EQ(Doc->GetIndex(), 1);
    Events.clear();
    Doc->Undo();
    Doc->Undo(); // the picture of frame 1
    EXPECT_EQ(Doc->GetIndex(), 0);
    EXPECT_EQ(View().Layers().Count(), 0);
    EXPECT_GE(Seen(TDocChange::FrameShown), 1);
    (void)P;
}

TEST_F(TLayerUndo, EffectsAndTransformationsComeOffExactly) {
    T2DRectangle* R = Rectangle(0xFF2060E0);
    const TShown Before(*Doc);
    Doc->AddEffect(efEmboss);
    Doc->AddMotionBlurEffect(4, bldLeft);
    Doc->RotateClick(30);
    Doc->FlipHorzClick();
    Doc->Rotate90Click();
    ASSERT_EQ(R->LayerStyle().EffectList.size(), 2u);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 5).fUndoType, undoEffect);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 4).fUndoType, undo2DLayerStyle);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoTransform);
    EXPECT_FALSE(TShown(*Doc) == Before);
    for (int I = 0; I < 5; ++I) Doc->Undo();
    EXPECT_TRUE(R->LayerStyle().EffectList.empty());
    EXPECT_TRUE(R->EffectObjectList.empty());
    EXPECT_TRUE(TShown(*Doc) == Before);
    EXPECT_EQ(Doc->Selection(), R);
}

TEST_F(TLayerUndo, ATextLayerIsInsertedCentredAndEveryEditOfItUndoes) {
    const TShown Empty(*Doc);
    TTextLayer* T = Doc->NewTextLayer();
    ASSERT_TRUE(T);
    EXPECT_EQ(Doc->Selection(), T);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoInsertTextLayer);
    // Empty, it is a tiny square in the middle of the visible area.
    const TFloatRect L = T->Location();
    EXPECT_FLOAT_EQ((L.Left + L.Right) / 2, 40);
    EXPECT_FLOAT_EQ((L.Top + L.Bottom) / 2, 30);

    Doc->SetLayerText(*T, QStringLiteral("Hallo"));
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoFontLayerStyle);
    const TShown Written(*Doc);
    EXPECT_FALSE(Written == Empty);
    Doc->FlipVertClick();
    Doc->RotateClick(45);
    Doc->AddEffect(efSharpen);
    Doc->AddMotionBlurEffect(2, bldTop);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoEffect);
    EXPECT_EQ(T->FontLayerStyle().EffectList.size(), 2u);
    for (int I = 0; I < 4; ++I) Doc->Undo();
    EXPECT_TRUE(TShown(*Doc) == Written);
    Doc->Undo();
    EXPECT_TRUE(T->FontLayerStyle().Text().isEmpty());
    Doc->Undo();
    EXPECT_EQ(View().Layers().Count(), 0);
    EXPECT_TRUE(TShown(*Doc) == Empty);
    Doc->Redo();
    Doc->Redo();
    EXPECT_TRUE(TShown(*Doc) == Written);

    // Scaling with the selection frame scales the text and records its style.
    auto* Again = dynamic_cast<TTextLayer*>(Doc->Selection());
    ASSERT_TRUE(Again);
    Doc->SetMouseEvents(false);
    Doc->SetRubberbandLayer(Again);
    const TFloatRect Frame = Doc->RBLayer()->Location();
    EXPECT_FLOAT_EQ(Frame.Left, Again->BoundingRect().Left);
    const TPoint Corner{static_cast<int>(Frame.Right), static_cast<int>(Frame.Bottom)};
    Drag(Corner, {Corner.X + static_cast<int>(Frame.Width()), Corner.Y});
    EXPECT_NEAR(Again->ScaleFactor().X, 2.0f, 0.15f);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoFontLayerStyle);
    Doc->ResetRubberbandLayer();

    // Placed at given corners (pasting, reading old files) it records nothing itself.
    const int Records = Doc->UndoCount();
    TTextLayer* Placed = Doc->NewTextLayer({5, 6}, {7, 8}, Doc->CurrentView());
    ASSERT_TRUE(Placed);
    EXPECT_EQ(Doc->Selection(), Placed);
    EXPECT_EQ(Placed->Location(), (TFloatRect{5, 6, 7, 8}));
    EXPECT_EQ(Doc->UndoCount(), Records);

    // A frame without a picture takes no text.
    TDocForm Blank(Host);
    EXPECT_EQ(Blank.NewTextLayer(), nullptr);
}

TEST_F(TLayerUndo, ARecordWhoseTargetIsGoneIsSkipped) {
    TBitmapLayer* P = Picture(0xFF0000FF);
    Doc->SetNumLoops(2);
    Doc->CreateNewFrame(3, 0xFF000000);
    Doc->SetActivePage(Doc->Frame1());
    Doc->MoveLayer(*P, 30, 30);
    // The frame is built anew without a record (as a project reader does): the layer is gone.
    Doc->CreateNewImage(80, 60, 0xFFFFFFFF, Doc->CurrentView());
    const int Records = Doc->UndoCount();
    Doc->Undo(); // the move finds nothing: the new frame goes instead
    EXPECT_EQ(Doc->FrameCount(), 1);
    EXPECT_EQ(Doc->UndoCount(), Records - 2);
    Doc->Undo();
    EXPECT_EQ(Doc->NumLoops(), 0);
    Doc->Undo(); // the insertion finds nothing either, and goes without harm
    EXPECT_FALSE(Doc->CanUndo());
    EXPECT_FALSE(Doc->CanRedo() && Doc->RedoCount() > 2);
}

TEST_F(TLayerUndo, FrameEditsUndoAndTheRedoListEndsWithANewEdit) {
    Picture(0xFF00FF00);
    Doc->CreateNewFrame(1);
    Doc->CreateNewFrame(3, 0xFFFF0000);
    TTabSheet* Third = Doc->ActivePage();
    Doc->ShiftTabSheetLeft();
    EXPECT_EQ(Doc->Frame(1).TabSheet, Third);
    Doc->SetFrameSettings(1, 40, rmMonochrome, dmNearest);
    Doc->DeleteTabSheet();
    EXPECT_EQ(Doc->FrameCount(), 2);
    EXPECT_EQ(Doc->GetIndex(), 0);

    Doc->Undo(); // the deleted frame is back, in its place, with its settings
    ASSERT_EQ(Doc->FrameCount(), 3);
    EXPECT_EQ(Doc->Frame(1).TabSheet, Third);
    EXPECT_EQ(Doc->Frame(1).Duration, 40);
    EXPECT_EQ(Doc->ActivePage(), Third);
    EXPECT_EQ(Third->Caption(), QStringLiteral("Frame 2"));
    Doc->Undo();
    EXPECT_EQ(Doc->Frame(1).Duration, 1000);
    Doc->Undo();
    EXPECT_EQ(Doc->Frame(2).TabSheet, Third);
    EXPECT_EQ(Doc->RedoCount(), 3);

    Doc->SetNumLoops(5); // a new edit: what was undone is gone
    EXPECT_FALSE(Doc->CanRedo());
    Doc->Redo();
    EXPECT_EQ(Doc->Frame(2).TabSheet, Third);
}

TEST_F(TLayerUndo, TheModifiedFlagFollowsTheUndoPosition) {
    EXPECT_FALSE(Doc->Modified());
    TBitmapLayer* P = Picture(0xFF0000FF);
    EXPECT_TRUE(Doc->Modified());
    Doc->MarkSaved();
    EXPECT_FALSE(Doc->Modified());
    Events.clear();
    Doc->MoveLayer(*P, 1, 2);
    EXPECT_TRUE(Doc->Modified());
    EXPECT_EQ(Seen(TDocChange::Modified), 1);
    Doc->Undo(); // back at the save
    EXPECT_FALSE(Doc->Modified());
    Doc->Undo(); // before the save
    EXPECT_TRUE(Doc->Modified());
    Doc->Redo();
    EXPECT_FALSE(Doc->Modified());
    Doc->Undo();
    Doc->SetNumLoops(1); // the saved state can never come back
    Doc->Undo();
    EXPECT_TRUE(Doc->Modified());
}

TEST_F(TLayerUndo, ScalingWithTheSelectionFrame) {
    T2DRectangle* R = Rectangle(0xFF2060E0, 20, 20);
    const TShown Before(*Doc);
    Doc->SetMouseEvents(false);
    Doc->SetRubberbandLayer(R);
    ASSERT_TRUE(Doc->RBLayer());
    const TFloatRect Frame = Doc->RBLayer()->Location();
    const int Records = Doc->UndoCount();

    // A press and release without a move: one record, the scale stays.
    const TPoint Inside{static_cast<int>(Frame.Left + Frame.Width() / 2),
                        static_cast<int>(Frame.Top + Frame.Height() / 2)};
    Drag(Inside, Inside);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_EQ(R->ScaleFactor(), (TFloatPoint{1, 1}));

    // The bottom-right handle pulled outwards doubles the width.
    const TPoint Corner{static_cast<int>(Frame.Right), static_cast<int>(Frame.Bottom)};
    Drag(Corner, {Corner.X + static_cast<int>(Frame.Width()), Corner.Y});
    EXPECT_NEAR(R->ScaleFactor().X, 2.0f, 0.1f);
    EXPECT_FLOAT_EQ(R->ScaleFactor().Y, 1.0f);
    Doc->Undo();
    Doc->Undo();
    EXPECT_EQ(R->ScaleFactor(), (TFloatPoint{1, 1}));
    ASSERT_TRUE(Doc->RBLayer()); // the frame comes back around the result
    EXPECT_EQ(Doc->RBLayer()->ChildLayer(), R);
    Doc->RBLayer()->SetVisible(false);
    EXPECT_TRUE(TShown(*Doc) == Before);
    Doc->RBLayer()->SetVisible(true);

    // Another layer chosen in layer mode takes the frame along.
    TBitmap32 Big;
    Big.SetSize(20, 16);
    Big.Clear(0xFFFF0000);
    TBitmapLayer* P = Doc->CreateBitmapLayer(Big, {50, 36}, false);
    EXPECT_EQ(Doc->RBLayer()->ChildLayer(), P);
    const TFloatRect Old = P->Location();
    Drag({60, 44}, {50, 34}); // a plain picture moves with the frame: one record
    EXPECT_EQ(P->Location(), (TFloatRect{Old.Left - 10, Old.Top - 10, Old.Right - 10, Old.Bottom - 10}));
    Doc->Undo();
    EXPECT_EQ(P->Location(), Old);
    Doc->ResetRubberbandLayer();
    EXPECT_TRUE(Doc->ToolMode());
    EXPECT_EQ(Doc->RBLayer(), nullptr);
}

TEST_F(TLayerUndo, ThePointerSelectsTheLayerItShows) {
    T2DRectangle* R = Rectangle(0xFF2060E0, 10, 10);
    TBitmapLayer* P = Picture(0xFFFF0000, {50, 40});
    Doc->SelectLayer(nullptr);
    View().MouseDown(mbLeft, ssLeft, 20, 17);
    View().MouseUp(mbLeft, 0, 20, 17);
    EXPECT_EQ(Doc->Selection(), R);
    View().MouseDown(mbLeft, ssLeft, 52, 42);
    EXPECT_EQ(Doc->Selection(), P);
    View().MouseDown(mbLeft, ssLeft, 75, 5); // bare background: the selection stays
    EXPECT_EQ(Doc->Selection(), P);
    Host.PaletteValues.Tool = ptPaintRectangle; // other tools select nothing
    View().MouseDown(mbLeft, ssLeft, 20, 17);
    EXPECT_EQ(Doc->Selection(), P);
}

TEST_F(TLayerUndo, StylesFromThePalettes) {
    TPaletteState& P = Host.PaletteValues;
    P.Outline = true;
    P.OutlineWidth = QStringLiteral(" 4");
    P.OutlineColor = 0x0000FF; // red, $00BBGGRR
    P.DashIndex = 2;
    P.Opacity = 128;
    P.Shadow = true;
    P.ShadowXShift = QStringLiteral("-2");
    P.Pattern = true;
    P.HatchIndex = 7;
    P.Color1 = 0x00FF00;
    P.Color2 = 0xFF0000;
    std::unique_ptr<T2DLayerStyle> S = Doc->GetALayerStyle(QString());
    EXPECT_EQ(S->OutlineSize(), 4);
    EXPECT_EQ(S->OutlineColor(), 0xFFFF0000u);
    EXPECT_EQ(S->OutlineDashStyle(), DashStyleDot);
    EXPECT_EQ(S->OutlinePosition(), posOutside);
    EXPECT_EQ(S->FillColorAlpha(), 128);
    EXPECT_EQ(S->ShadowXShift(), -2);
    EXPECT_TRUE(S->FillPattern());
    EXPECT_EQ(S->NoOfHatchBrush(), 7);
    EXPECT_EQ(S->HatchBrushForeColor(), 0xFF0000FFu); // colour 2
    EXPECT_EQ(S->HatchBrushBackColor(), 0xFF00FF00u); // colour 1

    // No hatch chosen: the selected figure's pattern picture, with the wrap mode of the list.
    T2DRectangle* R = Rectangle(0xFF2060E0);
    TBitmap32 Tile;
    Tile.SetSize(2, 2);
    R->LayerStyle().SetFillImage(true);
    R->LayerStyle().SetFillPatternBitmap(TGPImage::FromBitmap32(Tile));
    P.HatchIndex = -1;
    P.WrapModeIndex = 3;
    S = Doc->GetALayerStyle(QString());
    EXPECT_TRUE(S->FillImage());
    ASSERT_TRUE(S->FillPatternBitmap());
    EXPECT_NE(S->FillPatternBitmap(), R->LayerStyle().FillPatternBitmap()); // a copy
    EXPECT_EQ(S->FillPatternWrapMode(), WrapModeTileFlipXY);
    P.WrapModeIndex = 9;
    Doc->GetPatternWrapMode(*S);
    EXPECT_EQ(S->FillPatternWrapMode(), WrapModeTileFlipXY);
}

// Random edits of every kind, interleaved with undos and redos. Every undo and redo must show
// exactly what was shown at that place in the history, every edit that records nothing must
// change nothing, and undoing everything gives back the first picture.
TEST_F(TLayerUndo, RandomEditsAndTheirFullUndoGiveBackTheFirstPicture) {
    for (unsigned Seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(Seed);
        Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(90, 70, TColor{0x00E0E0E0});
        Doc->CurrentView()->SetViewportSize(90, 70);
        std::mt19937 Rng(Seed);
        auto Pick = [&](int N) { return static_cast<int>(Rng() % static_cast<unsigned>(N)); };
        auto Layers = [&]() -> TLayerCollection& { return Doc->CurrentView()->Layers(); };
        auto SelectAny = [&] {
            if (Layers().Count() == 0) return;
            Doc->SelectLayer(dynamic_cast<TPositionedLayer*>(Layers().Items(Pick(Layers().Count()))));
        };
        auto Colour = [&] { return 0xFF000000u | (Rng() & 0xFFFFFF); };
        const TShown First(*Doc);
        // What was shown with 0, 1, 2, ... records in the undo list, along the current history.
        std::vector<std::unique_ptr<TShown>> History;
        History.push_back(std::make_unique<TShown>(*Doc));
        int Recorded = 0, Undone = 0;

        for (int Step = 0; Step < 200; ++Step) {
            const int Before = Doc->UndoCount();
            const int X = Pick(60), Y = Pick(45);
            const int Op = Pick(22);
            switch (Op) {
            case 0:
                Doc->InsertLayer(Styled(
                    std::make_unique<T2DRectangle>(X, Y, X + 5 + Pick(20), Y + 5 + Pick(15)), Colour()));
                break;
            case 1:
                Doc->InsertLayer(
                    Styled(std::make_unique<T2DEllipse>(X, Y, X + 5 + Pick(20), Y + 5 + Pick(15)), Colour()));
                break;
            case 2:
                Doc->InsertLayer(Styled(
                    std::make_unique<T2DPolygon>(X, Y, X + 5 + Pick(9), Y + Pick(9), 5 + Pick(4)), Colour()));
                break;
            case 3:
                Doc->InsertLayer(
                    Styled(std::make_unique<T2DLine>(X, Y, X + Pick(30), Y + Pick(20)), Colour()));
                break;
            case 4: {
                TBitmap32 B;
                B.SetSize(3 + Pick(12), 3 + Pick(12));
                B.Clear(Colour() & 0xC0FFFFFF);
                Doc->CreateBitmapLayer(B, {X, Y}, false);
                break;
            }
            case 5:
                SelectAny();
                Doc->DeleteClick();
                break;
            case 6:
                SelectAny();
                Doc->Reorder(27 + Pick(4));
                break;
            case 7:
                SelectAny();
                Doc->FlipHorzClick();
                break;
            case 8:
                SelectAny();
                Doc->FlipVertClick();
                break;
            case 9:
                SelectAny();
                Doc->RotateClick(static_cast<float>(Pick(360) - 180));
                break;
            case 10:
                SelectAny();
                Doc->AddEffect(static_cast<TEffectType>(1 + Pick(7)));
                break;
            case 11:
                SelectAny();
                Doc->AddMotionBlurEffect(1 + Pick(3), static_cast<TBlurDirection>(Pick(8)));
                break;
            case 12:
                SelectAny();
                if (auto* L = Doc->Selection())
                    Doc->MoveLayer(*L, static_cast<float>(X), static_cast<float>(Y));
                break;
            case 13:
                SelectAny();
                if (auto* L = dynamic_cast<TBitmapLayer*>(Doc->Selection()))
                    Doc->SetMasterAlpha(*L, Pick(256));
                break;
            case 14:
                Doc->PaintSurface(nullptr, [&](TBitmap32& B) { B.FillRectS(X, Y, X + 10, Y + 8, Colour()); });
                break;
            case 15: Doc->CreateNewFrame(1 + Pick(3), Colour()); break;
            case 16: Doc->DeleteTabSheet(); break;
            case 17: Pick(2) ? Doc->ShiftTabSheetLeft() : Doc->ShiftTabSheetRight(); break;
            case 18:
                Doc->SetFrameSettings(Pick(Doc->FrameCount()), 10 * Pick(100),
                                      static_cast<TColorReduction>(Pick(10)),
                                      static_cast<TDitherMode>(Pick(7)));
                break;
            case 19: Pick(3) ? Doc->FlattenImage() : Doc->SetNumLoops(Pick(5)); break;
            case 20: Doc->Undo(); break;
            case 21:
                Doc->Redo();
                // The user looks at another frame now and then.
                Doc->SetActivePage(Doc->Frame(Pick(Doc->FrameCount())).TabSheet);
                break;
            }
            const int After = Doc->UndoCount();
            if (After > Before && Op == 21) {
                // Redone: the state it had then.
                ASSERT_TRUE(TShown(*Doc) == *History[static_cast<std::size_t>(After)])
                    << "step " << Step << " op " << Op << " " << Before << "->" << After;
            } else if (After > Before) {
                ++Recorded;
                History.resize(static_cast<std::size_t>(After));
                History.push_back(std::make_unique<TShown>(*Doc));
            } else {
                Undone += After < Before;
                ASSERT_TRUE(TShown(*Doc) == *History[static_cast<std::size_t>(After)])
                    << "step " << Step << " op " << Op << " " << Before << "->" << After;
            }
            // A new edit ends the history after it.
            if (!Doc->CanRedo()) History.resize(static_cast<std::size_t>(After) + 1);
        }
        EXPECT_GT(Recorded, 100);
        EXPECT_GE(Undone, 3);
        const TShown Last(*Doc);
        const int Redoable = Doc->RedoCount();
        while (Doc->CanUndo()) {
            Doc->Undo();
            ASSERT_TRUE(TShown(*Doc) == *History[static_cast<std::size_t>(Doc->UndoCount())]);
        }
        EXPECT_TRUE(TShown(*Doc) == First);
        while (Doc->RedoCount() > Redoable) Doc->Redo();
        EXPECT_TRUE(TShown(*Doc) == Last);
    }
}

} // namespace
} // namespace zp
