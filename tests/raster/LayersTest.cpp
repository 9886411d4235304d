#include "raster/Layers.h"
#include "raster/Blend.h"
#include "raster/ImgView32.h"
#include "raster/RubberbandLayer.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

// A view whose picture (100 x 80) sits at control (5, 7) at the given scale.
struct TViewAt {
    TImgView32 View;
    explicit TViewAt(float Scale) {
        View.SetViewportSize(1000, 800);
        View.Bitmap().SetSize(100, 80);
        View.Bitmap().Clear(clWhite32);
        View.SetScaleMode(smScale);
        View.SetScale(Scale);
        View.SetBitmapAlign(baTopLeft);
        View.SetOffsets(5, 7);
        View.SetBitmapAlign(baCustom);
        View.SetOffsets(5, 7);
    }
    TBitmapLayer* AddLayer(TFloatRect Location, TColor32 Fill) {
        auto* L = View.Layers().Add<TBitmapLayer>();
        L->SetScaled(true);
        L->SetMouseEvents(true);
        L->Bitmap().SetSize(static_cast<int>(Location.Width()), static_cast<int>(Location.Height()));
        L->Bitmap().Clear(Fill);
        L->SetLocation(Location);
        return L;
    }
};

TEST(Layers, HitTestFollowsZoomAndShift) {
    TViewAt T(2.0f);
    ASSERT_EQ(T.View.GetBitmapRect(), (TRect{5, 7, 205, 167}));
    auto* L = T.AddLayer({10, 10, 20, 20}, clWhite32);
    EXPECT_TRUE(L->HitTest(25, 27));
    EXPECT_FALSE(L->HitTest(45, 47));
    EXPECT_TRUE(L->HitTest(44, 46));
    EXPECT_EQ(T.View.BitmapToControl({10, 10}), (TPoint{25, 27}));
    EXPECT_EQ(T.View.ControlToBitmap({25, 27}), (TPoint{10, 10}));
    EXPECT_EQ(T.View.ControlToBitmap({4, 6}), (TPoint{0, 0})); // truncation towards zero

    L->SetLocation({10, 10, 10, 20}); // zero-sized: no hit
    EXPECT_FALSE(L->HitTest(25, 27));
}

TEST(Layers, AlphaHitLetsClicksFallThroughTransparentPixels) {
    TViewAt T(1.0f);
    auto* Below = T.AddLayer({0, 0, 10, 10}, clWhite32);
    auto* Above = T.AddLayer({0, 0, 10, 10}, 0x00000000);
    Above->Bitmap().SetPixel(2, 2, 0xFF000000);
    EXPECT_EQ(T.View.Layers().FindLayerAtPos(5 + 5, 7 + 5, LOB_MOUSE_EVENTS), Above);
    Above->SetAlphaHit(true);
    EXPECT_EQ(T.View.Layers().FindLayerAtPos(5 + 5, 7 + 5, LOB_MOUSE_EVENTS), Below);
    EXPECT_EQ(T.View.Layers().FindLayerAtPos(5 + 2, 7 + 2, LOB_MOUSE_EVENTS), Above);
    Above->SetMouseEvents(false);
    EXPECT_EQ(T.View.Layers().FindLayerAtPos(5 + 2, 7 + 2, LOB_MOUSE_EVENTS), Below);
}

TEST(Layers, OrderingClampsAndKeepsTheOthers) {
    TLayerCollection C;
    auto* A = C.Add<TBitmapLayer>();
    auto* B = C.Add<TBitmapLayer>();
    auto* D = C.Add<TBitmapLayer>();
    D->BringToFront();
    A->SendToBack();
    EXPECT_EQ(C.Items(0), A);
    EXPECT_EQ(C.Items(2), D);
    A->SetIndex(99);
    EXPECT_EQ(A->Index(), 2);
    EXPECT_EQ(C.Items(0), B);
    EXPECT_EQ(C.Items(1), D);
    D->SetIndex(-5);
    EXPECT_EQ(C.Items(0), D);
    EXPECT_EQ(C.Items(1), B);

    auto Loose = C.Extract(B);
    ASSERT_TRUE(Loose);
    EXPECT_EQ(Loose->Index(), -1);
    Loose->SetIndex(0); // ignored outside a collection
    EXPECT_EQ(C.Count(), 2);
    C.Insert(1, std::move(Loose));
    EXPECT_EQ(C.Items(1), B);
    EXPECT_NE(A->Id(), B->Id());
}

TEST(Layers, DestroyingTheChildLetsTheSelectionFrameForgetIt) {
    TLayerCollection C;
    auto* Child = C.Add<TBitmapLayer>();
    auto* Frame = C.Add<TRubberbandLayer>();
    Frame->SetChildLayer(Child);
    int Destroyed = 0;
    Child->OnDestroy.Add([&](TCustomLayer& L) {
        ++Destroyed;
        EXPECT_EQ(&L, Child);
    });
    C.Delete(Child);
    EXPECT_EQ(Destroyed, 1);
    EXPECT_EQ(Frame->ChildLayer(), nullptr);
    EXPECT_EQ(C.Count(), 1);
    C.Clear();
    EXPECT_EQ(C.Count(), 0);
}

TEST(Layers, SelectionFrameDefaultsAndOptions) {
    TRubberbandLayer F;
    EXPECT_EQ(F.LayerOptions(), 0xA0000000u);
    EXPECT_EQ(F.Handles(), RBHandle(rhCenter) | RBHandle(rhSides) | RBHandle(rhCorners) | RBHandle(rhFrame));
    EXPECT_EQ(F.HandleSize(), 3);
    EXPECT_EQ(F.MinWidth(), 10.0f);
    EXPECT_EQ(F.MaxWidth(), 0.0f);
    EXPECT_EQ(F.FrameStipplePattern(), (std::vector<TColor32>{clWhite32, clWhite32, clBlack32, clBlack32}));
    F.SetLayerOptions(0xB0000000u);
    EXPECT_EQ(F.LayerOptions(), 0xA0000000u);
    F.SetLayerOptions(0x10000000u); // how the program hides a frame
    EXPECT_EQ(F.LayerOptions(), 0u);
    TBitmapLayer B;
    EXPECT_EQ(B.LayerOptions(), 0x80000000u);
}

TEST(Layers, SelectionFrameDragStatesAndResizeToMinimum) {
    TViewAt T(1.0f);
    T.View.SetOffsets(0, 0);
    auto* F = T.View.Layers().Add<TRubberbandLayer>();
    F->SetScaled(true);
    F->SetMinWidth(1);
    F->SetMinHeight(1);
    F->SetLocation({10, 10, 30, 20}); // frame pixels 10..29 x 10..19
    EXPECT_EQ(F->GetDragState(29, 19), dsSizeBR);
    EXPECT_EQ(F->GetDragState(10, 19), dsSizeBL);
    EXPECT_EQ(F->GetDragState(29, 10), dsSizeTR);
    EXPECT_EQ(F->GetDragState(10, 10), dsSizeTL);
    EXPECT_EQ(F->GetDragState(29, 14), dsSizeR);
    EXPECT_EQ(F->GetDragState(19, 19), dsSizeB);
    EXPECT_EQ(F->GetDragState(10, 14), dsSizeL);
    EXPECT_EQ(F->GetDragState(19, 10), dsSizeT);
    EXPECT_EQ(F->GetDragState(15, 12), dsMove);
    EXPECT_EQ(F->GetDragState(50, 50), dsNone);
    F->SetHandles(F->Handles() | RBHandle(rhNotBRCorner));
    EXPECT_EQ(F->GetDragState(29, 19), dsMove);
    F->SetHandles(F->Handles() & ~RBHandle(rhNotBRCorner));

    int Changes = 0;
    F->OnUserChange = [&](TRubberbandLayer&) { ++Changes; };
    T.View.MouseDown(mbLeft, 0, 29, 19);
    EXPECT_TRUE(F->IsDragging);
    EXPECT_EQ(F->DragState, dsSizeBR);
    T.View.MouseMove(ssLeft, 2, 3); // far beyond the top-left corner
    EXPECT_EQ(F->Location(), (TFloatRect{10, 10, 11, 11}));
    T.View.MouseUp(mbLeft, 0, 2, 3);
    EXPECT_FALSE(F->IsDragging);
    EXPECT_EQ(Changes, 1);

    // Moving keeps the size; OnResizing may veto.
    T.View.MouseDown(mbLeft, 0, 10, 10);
    EXPECT_EQ(F->DragState, dsSizeBR); // a 1 x 1 frame is all handle; bottom-right is tested first
    T.View.MouseUp(mbLeft, 0, 10, 10);
    F->SetLocation({10, 10, 30, 20});
    T.View.MouseDown(mbLeft, 0, 15, 12);
    ASSERT_EQ(F->DragState, dsMove);
    T.View.MouseMove(ssLeft, 25, 17);
    EXPECT_EQ(F->Location(), (TFloatRect{20, 15, 40, 25}));
    F->OnResizing = [](TRubberbandLayer&, const TFloatRect& Old, TFloatRect& New, TDragState, TShiftState) {
        New = Old;
    };
    T.View.MouseMove(ssLeft, 35, 17);
    EXPECT_EQ(F->Location(), (TFloatRect{10, 10, 30, 20})); // back to where the drag started
    T.View.MouseUp(mbLeft, 0, 35, 17);
}

TEST(Layers, MouseDispatchCapturesUntilRelease) {
    TViewAt T(1.0f);
    auto* A = T.AddLayer({0, 0, 10, 10}, clWhite32);
    auto* B = T.AddLayer({20, 0, 30, 10}, clWhite32);
    std::vector<std::string> Log;
    auto Hook = [&](TBitmapLayer* L, const char* Name) {
        L->OnMouseDown = [&Log, Name](TCustomLayer&, TMouseButton, TShiftState, int, int) {
            Log.push_back(std::string(Name) + " down");
        };
        L->OnMouseMove = [&Log, Name](TCustomLayer&, TShiftState, int, int) {
            Log.push_back(std::string(Name) + " move");
        };
        L->OnMouseUp = [&Log, Name](TCustomLayer&, TMouseButton, TShiftState, int, int) {
            Log.push_back(std::string(Name) + " up");
        };
    };
    Hook(A, "A");
    Hook(B, "B");
    TCustomLayer* Seen = nullptr;
    T.View.OnMouseDown = [&](TImgView32&, TMouseButton, TShiftState, int, int, TCustomLayer* L) { Seen = L; };

    T.View.MouseDown(mbLeft, 0, 5 + 2, 7 + 2);
    EXPECT_EQ(Seen, A);
    EXPECT_EQ(T.View.Layers().MouseListener(), A);
    EXPECT_TRUE(T.View.MouseCaptured());
    T.View.MouseMove(ssLeft, 5 + 25, 7 + 2); // over B, but A holds the mouse
    T.View.MouseUp(mbLeft, 0, 5 + 25, 7 + 2);
    EXPECT_EQ(T.View.Layers().MouseListener(), nullptr);
    EXPECT_FALSE(T.View.MouseCaptured());
    T.View.MouseMove(0, 5 + 25, 7 + 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"A down", "A move", "A up", "B move"}));

    T.View.Layers().MouseEvents = false;
    T.View.MouseDown(mbLeft, 0, 5 + 2, 7 + 2);
    EXPECT_EQ(Seen, nullptr);
    T.View.MouseUp(mbLeft, 0, 5 + 2, 7 + 2);
    EXPECT_EQ(Log.size(), 4u);
}

TEST(ImgView32, SmallPictureIsCentredAndIgnoresScrolling) {
    TImgView32 V;
    V.SetViewportSize(300, 100);
    V.Bitmap().SetSize(100, 200);
    V.SetScaleMode(smScale);
    V.SetBitmapAlign(baCustom);
    EXPECT_EQ(V.GetBitmapRect().Left, 100); // (300 - 100) / 2
    EXPECT_EQ(V.ScrollMaxHorz(), 0);
    EXPECT_EQ(V.ScrollMaxVert(), 100);
    V.SetScrollPos(50, 40);
    EXPECT_EQ(V.GetBitmapRect(), (TRect{100, -40, 200, 160}));
    V.SetScale(0.25f); // now it fits both ways
    EXPECT_EQ(V.GetBitmapRect(), (TRect{138, 25, 163, 75}));
    V.SetScale(0.0f);
    EXPECT_EQ(V.Scale(), 0.001f);
}

TEST(ImgView32, PaintToGivesBackgroundWithLayersAndNoSilver) {
    TViewAt T(3.0f);
    T.View.Bitmap().Clear(0xFF102030);
    auto* L = T.AddLayer({10, 10, 12, 12}, 0x80FF0000);
    L->Bitmap().SetDrawMode(dmBlend);
    T.View.OnPaintStage = [](TImgView32&, TBitmap32& Buffer, unsigned) { Buffer.Clear(clSilver32); };
    T.View.PaintStages()[0].Stage = PST_CUSTOM;

    TBitmap32 Out;
    Out.SetSize(100, 80);
    T.View.PaintTo(Out, Out.BoundsRect());
    TColor32 Blended = 0xFF102030;
    BlendColorStore(0x80FF0000, Blended);
    for (int Y = 0; Y < 80; ++Y)
        for (int X = 0; X < 100; ++X) {
            const bool In = X >= 10 && X < 12 && Y >= 10 && Y < 12;
            ASSERT_EQ(Out.Pixel(X, Y), In ? Blended : 0xFF102030u) << X << "," << Y;
        }
    // The view's own mapping is back afterwards.
    EXPECT_EQ(T.View.GetBitmapRect(), (TRect{5, 7, 305, 247}));
}

TEST(ImgView32, RepaintsOnlyWhatChanged) {
    TViewAt T(2.0f);
    auto* L = T.AddLayer({10, 10, 20, 20}, clWhite32);
    std::vector<TRect> Areas;
    T.View.OnInvalidate.Add([&](const TRect& R) { Areas.push_back(R); });
    L->Bitmap().FillRect(0, 0, 1, 1, clBlack32);
    ASSERT_EQ(Areas.size(), 1u);
    // Picture pixel (10, 10) is control (25, 27) at scale 2; one pixel of margin around it.
    EXPECT_EQ(Areas[0], (TRect{24, 26, 28, 30}));

    Areas.clear();
    L->SetLocation({30, 10, 40, 20});
    ASSERT_EQ(Areas.size(), 2u); // old and new place
    EXPECT_EQ(Areas[0], (TRect{24, 26, 46, 48}));
    EXPECT_EQ(Areas[1], (TRect{64, 26, 86, 48}));

    T.View.PaintBuffer(Areas[1]);
    EXPECT_EQ(T.View.Buffer().Pixel(65, 27), clBlack32); // the pixel painted black above
    EXPECT_EQ(T.View.Buffer().Pixel(70, 30), clWhite32);
    EXPECT_EQ(T.View.Buffer().Pixel(20, 30), 0u); // outside the repainted area: untouched
}

// A blended layer with a transparent margin (every figure has one) repaints only where it
// shows pixels, as its pixels are now.
TEST(ImgView32, MovingRepaintsOnlyWhatALayerShows) {
    TViewAt T(2.0f);
    auto* L = T.AddLayer({10, 10, 30, 30}, 0);
    L->Bitmap().SetDrawMode(dmBlend);
    L->Bitmap().FillRect(5, 5, 8, 7, clBlack32);
    std::vector<TRect> Areas;
    T.View.OnInvalidate.Add([&](const TRect& R) { Areas.push_back(R); });
    auto Covered = [&](int X, int Y) {
        for (const TRect& R : Areas)
            if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return true;
        return false;
    };
    L->SetLocation({20, 10, 40, 30});
    ASSERT_EQ(Areas.size(), 2u);
    // Picture pixels 15..17 x 15..16 at the old place, with one picture pixel and one control
    // pixel of margin.
    EXPECT_EQ(Areas[0], (TRect{32, 34, 44, 44}));
    EXPECT_TRUE(Covered(2 * 16 + 5, 2 * 16 + 7) && Covered(2 * 26 + 5, 2 * 16 + 7));
    EXPECT_FALSE(Covered(2 * 21 + 5, 2 * 11 + 7)); // the margin's corner

    // Drawn into the margin: the next move repaints that too.
    L->Bitmap().FillRect(0, 0, 1, 1, clBlack32);
    Areas.clear();
    L->SetLocation({30, 10, 50, 30});
    EXPECT_TRUE(Covered(2 * 20 + 5, 2 * 10 + 7) && Covered(2 * 30 + 5, 2 * 10 + 7));

    // Redrawn into a larger square in one update (as a figure is) and moved meanwhile: the old
    // pixels' place is repainted too.
    L->Bitmap().Clear(0);
    L->Bitmap().FillRect(10, 10, 20, 20, clBlack32);
    Areas.clear();
    L->Bitmap().BeginUpdate();
    L->Bitmap().SetSize(40, 40);
    L->Bitmap().Clear(0);
    L->SetLocation({20, 0, 60, 40});
    L->Bitmap().Changed();
    L->Bitmap().EndUpdate();
    EXPECT_TRUE(Covered(2 * 48 + 5, 2 * 28 + 7)); // an old pixel near its bottom-right corner

    // Nothing shows: nothing to repaint when it moves.
    L->Bitmap().Clear(0);
    Areas.clear();
    L->SetLocation({40, 10, 60, 30});
    EXPECT_TRUE(Areas.empty());
}

TEST(Layers, CloneCopiesPictureAndSettings) {
    TLayerCollection A, B;
    auto* L = A.Add<TBitmapLayer>();
    L->Bitmap().SetSize(2, 1);
    L->Bitmap().SetPixel(0, 0, 0x80FF0000);
    L->Bitmap().SetDrawMode(dmBlend);
    L->SetScaled(true);
    L->SetCropped(true);
    L->SetTranspGradient(true);
    auto* C = L->Clone(B);
    EXPECT_EQ(B.Count(), 1);
    EXPECT_EQ(C->Bitmap().Width(), 2);
    EXPECT_EQ(C->Bitmap().DrawMode(), dmBlend);
    EXPECT_EQ(C->Bitmap().ResamplerClassName(), "TLinearResampler");
    EXPECT_TRUE(C->Scaled() && C->Cropped() && C->TranspGradient());
    // Drawn with its own mode onto an empty surface: the blend rule, not a copy.
    TColor32 Expected = 0;
    BlendColorStore(0x80FF0000, Expected);
    EXPECT_EQ(C->Bitmap().Pixel(0, 0), Expected);
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST(Events, AHandlerRemovedByAnEarlierOneIsNotCalled) {
    TEventList<int> List;
    std::vector<int> Calls;
    int Second = 0;
    List.Add([&](int V) {
        Calls.push_back(1);
        List.Remove(Second);
        List.Add([&](int) { Calls.push_back(3); });
        (void)V;
    });
    Second = List.Add([&](int) { Calls.push_back(2); });
    List.Notify(0);
    EXPECT_EQ(Calls, (std::vector<int>{1})); // not 2, and 3 only from the next time on
    List.Notify(0);
    EXPECT_EQ(Calls, (std::vector<int>{1, 1, 3}));
}

} // namespace
} // namespace zp
