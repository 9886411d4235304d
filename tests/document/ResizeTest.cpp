// Resizing a document: the working area (backgrounds stretched, layers follow the centre) and
// the picture size (figures and texts scaled too), over every frame, with exact undo and redo.
#include "document/DocForm.h"
#include "support/QtPrinters.h"

#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TResize : ::testing::Test {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;

    TResize() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(100, 50, TColor{0x00FFFFFF});
        // A picture whose pixels tell where they went.
        TBitmap32& B = View().Bitmap();
        for (int Y = 0; Y < 50; ++Y)
            for (int X = 0; X < 100; ++X) B.SetPixel(X, Y, 0xFF000000u | static_cast<TColor32>(X << 8 | Y));
    }
    TImgView32& View() const { return *Doc->CurrentView(); }
    TBitmapLayer* Picture(float Left, float Top) {
        TBitmap32 B;
        B.SetSize(20, 10);
        B.Clear(0xFF00FF00);
        TBitmapLayer* L = Doc->CreateBitmapLayer(B, {0, 0}, false);
        Doc->MoveLayer(*L, Left, Top);
        return L;
    }
    T2DRectangle* Rectangle() {
        auto R = std::make_unique<T2DRectangle>(10, 10, 30, 20);
        R->LayerStyle().SetFillColor(0xFF0000FF);
        R->Paint();
        return static_cast<T2DRectangle*>(Doc->InsertLayer(std::move(R)));
    }
    static std::vector<TColor32> Pixels(const TBitmap32& B) {
        return {B.Bits(), B.Bits() + static_cast<std::ptrdiff_t>(B.Width()) * B.Height()};
    }
};

// 100 x 50 to 200 x 100: layers keep their size, their centres follow the picture's, and every
// old pixel becomes a 2 x 2 block.
TEST_F(TResize, WorkingAreaMovesLayersAndStretchesTheBackground) {
    TBitmapLayer* Centred = Picture(40, 20);
    TBitmapLayer* Corner = Picture(0, 0);
    const int Records = Doc->UndoCount();
    Doc->ResizeDocument(200, 100);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_EQ(Doc->UndoRecord(Records).fUndoType, undoResizeWorkingArea);
    EXPECT_EQ(Doc->UndoRecord(Records).fUndoVar.toString(), QStringLiteral("100;50"));
    EXPECT_EQ(Centred->Location(), (TFloatRect{90, 45, 110, 55}));
    EXPECT_EQ(Corner->Location(), (TFloatRect{10, 5, 30, 15}));
    EXPECT_EQ(Doc->Selection(), nullptr);
    const TBitmap32& B = View().Bitmap();
    ASSERT_EQ(B.Width(), 200);
    ASSERT_EQ(B.Height(), 100);
    for (auto [X, Y] : {std::pair{0, 0}, std::pair{37, 21}, std::pair{99, 49}})
        for (int DY = 0; DY < 2; ++DY)
            for (int DX = 0; DX < 2; ++DX)
                EXPECT_EQ(B.Pixel(2 * X + DX, 2 * Y + DY), 0xFF000000u | static_cast<TColor32>(X << 8 | Y));
}

// The picture size scales figures (and texts) before placing them; plain pictures only move.
TEST_F(TResize, PictureSizeScalesFiguresNotPlainPictures) {
    TBitmapLayer* Plain = Picture(40, 20);
    T2DRectangle* R = Rectangle();
    auto* T = Doc->NewTextLayer();
    Doc->SetLayerText(*T, QStringLiteral("Ab"));
    const int RW = R->Bitmap().Width(), TW = T->Bitmap().Width();
    Doc->ResizeImage(200, 100);
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoResize);
    EXPECT_EQ(R->ScaleFactor(), (TFloatPoint{2, 2}));
    EXPECT_NEAR(R->Bitmap().Width(), 2 * RW, 2);
    EXPECT_NEAR(T->Bitmap().Width(), 2 * TW, 4);
    EXPECT_EQ(Plain->Bitmap().Width(), 20);
    EXPECT_EQ(Plain->Location(), (TFloatRect{90, 45, 110, 55}));
    // Placed by their new picture size around the moved centre.
    const TFloatRect L = R->Location();
    EXPECT_FLOAT_EQ(L.Right - L.Left, static_cast<float>(R->Bitmap().Width()));
}

// The present size changes nothing but the stretch of a layer, and still counts as an edit.
TEST_F(TResize, ThePresentSizeOnlyUndoesStretching) {
    TBitmapLayer* L = Picture(40, 20);
    L->SetLocation({40, 20, 80, 40});
    const auto Before = Pixels(View().Bitmap());
    const int Records = Doc->UndoCount();
    Doc->ResizeDocument(100, 50);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    EXPECT_EQ(Pixels(View().Bitmap()), Before);
    EXPECT_EQ(L->Location(), (TFloatRect{40, 20, 60, 30}));
}

// Every frame takes the size; the shown frame's factors and centre place every frame's layers.
TEST_F(TResize, EveryFrameWithTheShownFramesFactors) {
    Picture(0, 0);
    Doc->CreateNewFrame(1);
    // The second frame's background differs in size; the shown (first) frame's factors rule.
    Doc->CurrentView()->Bitmap().SetSize(50, 50);
    Doc->SetActivePage(Doc->Frame(0).TabSheet);
    Doc->ResizeDocument(300, 150);
    for (int F = 0; F < 2; ++F) {
        const TImgView32& V = *Doc->Frame(F).ImgView;
        EXPECT_EQ(V.Bitmap().Width(), 300) << F;
        EXPECT_EQ(V.Bitmap().Height(), 150) << F;
        EXPECT_EQ(dynamic_cast<TBitmapLayer*>(V.Layers().Items(0))->Location(), (TFloatRect{20, 10, 40, 20}))
            << F;
    }
}

// Undo gives every frame back exactly, even after a reduction lost detail; redo repeats it.
TEST_F(TResize, UndoAndRedoAreExact) {
    T2DRectangle* R = Rectangle();
    TBitmapLayer* P = Picture(40, 20);
    const auto Background = Pixels(View().Bitmap());
    const auto Figure = Pixels(R->Bitmap());
    const TFloatRect RL = R->Location(), PL = P->Location();
    Doc->ResizeImage(33, 17);
    const auto Reduced = Pixels(View().Bitmap());
    Doc->Undo();
    EXPECT_EQ(Pixels(View().Bitmap()), Background);
    EXPECT_EQ(Pixels(R->Bitmap()), Figure);
    EXPECT_EQ(R->Location(), RL);
    EXPECT_EQ(P->Location(), PL);
    EXPECT_EQ(R->ScaleFactor(), (TFloatPoint{1, 1}));
    Doc->Redo();
    EXPECT_EQ(View().Bitmap().Width(), 33);
    EXPECT_EQ(Pixels(View().Bitmap()), Reduced);
    Doc->Undo();
    EXPECT_EQ(View().Bitmap().Width(), 100);
}

// Sizes without pixels, or beyond what a picture may hold, are refused before anything changes.
TEST_F(TResize, ImpossibleSizesChangeNothing) {
    TBitmapLayer* L = Picture(40, 20);
    const auto Before = Pixels(View().Bitmap());
    const int Records = Doc->UndoCount();
    for (auto [W, H] : {std::pair{0, 50}, std::pair{100, -1}, std::pair{1 << 20, 1 << 20}}) {
        EXPECT_THROW(Doc->ResizeDocument(W, H), EResizeError) << W << "x" << H;
        EXPECT_THROW(Doc->ResizeImage(W, H), EResizeError);
    }
    EXPECT_EQ(Doc->UndoCount(), Records);
    EXPECT_EQ(Pixels(View().Bitmap()), Before);
    EXPECT_EQ(L->Location(), (TFloatRect{40, 20, 60, 30}));
}

} // namespace
} // namespace zp
