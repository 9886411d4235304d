#include "document/DocForm.h"
#include "support/QtPrinters.h"

#include "raster/Blend.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TDocFixture : ::testing::Test {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;

    TDocFixture() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Host.Texts.insert(QStringLiteral("TxtUnknown"), QStringLiteral("Unbenannt"));
        Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(40, 30, TColor{0x00FFFFFF});
    }

    QStringList PageCaptions() const {
        QStringList L;
        for (int I = 0; I < Doc->PageCount(); ++I) L << Doc->Pages(I)->Caption();
        return L;
    }

    // A plain picture layer on the current frame, through the document's operation.
    TBitmapLayer* AddLayer(TFloatRect Location, TColor32 Fill) {
        TBitmap32 Picture;
        Picture.SetSize(static_cast<int>(Location.Width()), static_cast<int>(Location.Height()));
        Picture.Clear(Fill);
        return Doc->CreateBitmapLayer(
            Picture, {static_cast<int>(Location.Left), static_cast<int>(Location.Top)}, false);
    }
    // Counts the document's events of one kind.
    struct TCounter {
        int Count = 0;
        TDocSubscription Sub;
    };
    std::unique_ptr<TCounter> Count(TDocChange Kind) {
        auto C = std::make_unique<TCounter>();
        C->Sub = Doc->Subscribe([Kind, Raw = C.get()](const TDocEvent& E) { Raw->Count += E.Kind == Kind; });
        return C;
    }
};

TEST_F(TDocFixture, NewDocumentHasOneFrameAndThePreviewPage) {
    ASSERT_EQ(Doc->FrameCount(), 1u);
    const TGifFrames& R = Doc->Frame(0);
    EXPECT_EQ(R.Duration, 1000);
    EXPECT_EQ(R.ColorReduction, rmQuantize);
    EXPECT_EQ(R.DitherMode, dmFloydSteinberg);
    EXPECT_EQ(Doc->NumLoops(), 0);
    EXPECT_EQ(PageCaptions(), (QStringList{"Frame 1", "Gif Vorschau"}));
    EXPECT_EQ(Doc->TabSheetGif()->Tag(), 42);
    EXPECT_EQ(Doc->GetIndex(), 0);
    EXPECT_EQ(Doc->Frame1(), R.TabSheet);
    TImgView32& V = *Doc->ImgView();
    EXPECT_EQ(V.Bitmap().Pixel(39, 29), 0xFFFFFFFFu);
    EXPECT_EQ(V.Bitmap().OuterColor(), 0x7FFFFFFFu);
    EXPECT_EQ(V.ScaleMode(), smScale);
    EXPECT_EQ(V.BitmapAlign(), baCustom);
    EXPECT_EQ(V.PaintStages().front().Stage, PST_CUSTOM);
    EXPECT_EQ(Doc->Caption(), QStringLiteral("Unbenannt0"));
}

TEST_F(TDocFixture, EmptyFramesAreNumberedAndRenumberedAfterDeletion) {
    Doc->CreateNewFrame(3);
    Doc->NewImage(40, 30, 0);
    Doc->CreateNewFrame(3);
    EXPECT_EQ(PageCaptions(), (QStringList{"Frame 1", "Frame 2", "Frame 3", "Gif Vorschau"}));
    EXPECT_EQ(Doc->GetIndex(), 2);
    EXPECT_TRUE(Doc->Frame(1).Bitmap && Doc->Frame(1).Bitmap->Empty());
    EXPECT_EQ(Doc->Frame(2).TabSheet->Tag(), 2);
    TTabSheet* Third = Doc->Frame(2).TabSheet;

    Doc->SetActivePage(Doc->Frame(1).TabSheet);
    Doc->DeleteTabSheet();
    EXPECT_EQ(PageCaptions(), (QStringList{"Frame 1", "Frame 2", "Gif Vorschau"}));
    EXPECT_EQ(Doc->Frame(1).TabSheet, Third);
    EXPECT_EQ(Doc->GetIndex(), 0);

    // Never the last frame, never the preview page.
    Doc->SetActivePage(Doc->TabSheetGif());
    Doc->DeleteTabSheet();
    EXPECT_EQ(Doc->FrameCount(), 2u);
    Doc->SetActivePage(Doc->Frame1());
    Doc->DeleteTabSheet();
    Doc->DeleteTabSheet();
    EXPECT_EQ(Doc->FrameCount(), 1u);
    EXPECT_EQ(PageCaptions(), (QStringList{"Frame 1", "Gif Vorschau"}));
}

TEST_F(TDocFixture, ShiftingMovesRecordAndPageAndKeepsItActive) {
    Doc->CreateNewFrame(2);
    Doc->CreateNewFrame(2);
    TTabSheet* Second = Doc->Frame(1).TabSheet;
    TImgView32* SecondView = Doc->Frame(1).ImgView;
    SecondView->Bitmap().SetPixel(0, 0, 0xFF123456);
    Doc->SetFrameSettings(1, 250, rmQuantize, dmFloydSteinberg);
    Doc->SetActivePage(Second);

    Doc->ShiftTabSheetRight();
    EXPECT_EQ(Doc->Frame(2).TabSheet, Second);
    EXPECT_EQ(Doc->Frame(2).ImgView->Bitmap().Pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(Doc->Frame(2).Duration, 250);
    EXPECT_EQ(Doc->Pages(2), Second);
    EXPECT_EQ(Second->Caption(), QStringLiteral("Frame 3"));
    EXPECT_EQ(Doc->ActivePage(), Second);
    EXPECT_EQ(Doc->Pages(3), Doc->TabSheetGif());

    Doc->ShiftTabSheetRight(); // already last
    EXPECT_EQ(Doc->GetIndex(), 2);
    Doc->ShiftTabSheetLeft();
    Doc->ShiftTabSheetLeft();
    Doc->ShiftTabSheetLeft(); // already first
    EXPECT_EQ(Doc->GetIndex(), 0);
    EXPECT_EQ(Doc->Pages(0), Second);
    EXPECT_EQ(Second->Caption(), QStringLiteral("Frame 1"));
}

TEST_F(TDocFixture, CopiedFrameKeepsLayersInOrderAndPlace) {
    TImgView32& V = *Doc->ImgView();
    V.Bitmap().SetPixel(3, 3, 0xFF00FF00);
    Doc->SetFrameSettings(0, 70, rmQuantize, dmFloydSteinberg);
    AddLayer({1, 2, 11, 12}, 0xFFFF0000);
    AddLayer({5, 5, 9, 7}, 0x800000FF);
    Doc->SetRubberbandLayer(Doc->Selection());
    ASSERT_TRUE(Doc->RBLayer());

    Doc->CreateNewFrame(1);
    ASSERT_EQ(Doc->FrameCount(), 2u);
    TImgView32& C = *Doc->Frame(1).ImgView;
    EXPECT_EQ(Doc->Frame(1).Duration, 1000);
    EXPECT_EQ(C.Bitmap().Pixel(3, 3), 0xFF00FF00u);
    ASSERT_EQ(C.Layers().Count(), 2); // the selection frame is not copied
    auto* A = dynamic_cast<TBitmapLayer*>(C.Layers().Items(0));
    auto* B = dynamic_cast<TBitmapLayer*>(C.Layers().Items(1));
    ASSERT_TRUE(A && B);
    EXPECT_EQ(A->Location(), (TFloatRect{1, 2, 11, 12}));
    EXPECT_EQ(B->Location(), (TFloatRect{5, 5, 9, 7}));
    EXPECT_EQ(A->Bitmap().Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(B->Bitmap().Pixel(0, 0), 0x800000FFu);
    EXPECT_EQ(B->Bitmap().ResamplerClassName(), "TLinearResampler");
    EXPECT_TRUE(B->OnMouseDown);

    // Kind 2 takes the background only.
    Doc->SetActivePage(Doc->Frame1());
    Doc->CreateNewFrame(2);
    EXPECT_EQ(Doc->Frame(2).ImgView->Layers().Count(), 0);
    EXPECT_EQ(Doc->Frame(2).ImgView->Bitmap().Pixel(3, 3), 0xFF00FF00u);
    // Without a current frame view kinds 1 and 2 add nothing.
    Doc->SetActivePage(Doc->TabSheetGif());
    Doc->CreateNewFrame(1);
    Doc->CreateNewFrame(2);
    Doc->CreateNewFrame(7);
    EXPECT_EQ(Doc->FrameCount(), 3u);
}

TEST_F(TDocFixture, PreviewPageClearsTheSelection) {
    TImgView32& V = *Doc->ImgView();
    auto* L = AddLayer({0, 0, 5, 5}, 0xFFFF0000);
    Doc->SelectLayer(nullptr);
    auto Previews = Count(TDocChange::PreviewRequested);
    auto Selections = Count(TDocChange::Selection);
    Doc->SelectLayer(L);
    EXPECT_EQ(Doc->Selection(), L);
    EXPECT_EQ(Selections->Count, 1);
    Doc->SetActivePage(Doc->TabSheetGif());
    Doc->PageControl1Change();
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_EQ(Doc->GetIndex(), -1);
    EXPECT_EQ(Doc->GetImgViewFromArray(Doc->TabSheetGif()), nullptr);
    EXPECT_EQ(Doc->GetImgViewFromArray(5), nullptr);
    EXPECT_EQ(Previews->Count, 1);
    Doc->SetActivePage(Doc->Frame1());
    Doc->PageControl1Change();
    EXPECT_EQ(Doc->Selection(), nullptr);

    // A deleted selection never dangles.
    Doc->SelectLayer(L);
    Doc->DeleteLayer(L);
    EXPECT_EQ(Doc->Selection(), nullptr);
    EXPECT_EQ(V.Layers().Count(), 0);
}

TEST_F(TDocFixture, ZoomTexts) {
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral(" 150 %")), QStringLiteral("150%"));
    EXPECT_FLOAT_EQ(Doc->ImgView()->Scale(), 1.5f);
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral("0")), QStringLiteral("150%"));
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral("2001")), QStringLiteral("150%"));
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral("abc")), QStringLiteral("150%"));
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral(" % ")), QString());
    EXPECT_FLOAT_EQ(Doc->ImgView()->Scale(), 1.5f);
    QString Zoom;
    const TDocSubscription Sub = Doc->Subscribe([&](const TDocEvent& E) {
        if (E.Kind == TDocChange::Zoom) Zoom = E.Text;
    });
    Doc->LayerResetScale();
    EXPECT_EQ(Zoom, QStringLiteral("100%"));
    EXPECT_FLOAT_EQ(Doc->ImgView()->Scale(), 1.0f);
    Doc->SetActivePage(Doc->TabSheetGif());
    EXPECT_EQ(Doc->ScaleComboChange(QStringLiteral("200")), QString());
}

TEST_F(TDocFixture, CaptionsOfUnnamedAndNamedDocuments) {
    Host.Counter = 4;
    Doc->FormCaption(QStringLiteral("leer"));
    EXPECT_EQ(Doc->Caption(), QStringLiteral("Unbenannt4"));
    Doc->FormCaption(QStringLiteral("/home/anna/banner/sommer.dgm"));
    EXPECT_EQ(Doc->Caption(), QStringLiteral("sommer.dgm"));
    Doc->SetFileName(QStringLiteral("/x.dgm"));
    Doc->NewImage(10, 10, 0);
    EXPECT_TRUE(Doc->FileName().isEmpty());
    EXPECT_EQ(Doc->Caption(), QStringLiteral("Unbenannt4"));
}

TEST_F(TDocFixture, NewImageResetsTheFrameAndRefusesImpossibleSizes) {
    TImgView32& V = *Doc->ImgView();
    AddLayer({0, 0, 5, 5}, 0xFFFF0000);
    Doc->SetFrameSettings(0, 10, rmQuantize, dmNearest);
    V.SetScale(2.0f);

    EXPECT_THROW(Doc->NewImage(1 << 20, 1 << 20, 0), EBitmapError);
    EXPECT_EQ(V.Layers().Count(), 1); // nothing lost
    EXPECT_EQ(V.Bitmap().Width(), 40);

    Doc->NewImage(12, 8, TColor{0x000000FF}); // red, $00BBGGRR
    EXPECT_EQ(V.Layers().Count(), 0);
    EXPECT_EQ(V.Bitmap().Width(), 12);
    EXPECT_EQ(V.Bitmap().Pixel(11, 7), 0xFFFF0000u);
    EXPECT_EQ(V.Scale(), 1.0f);
    EXPECT_EQ(Doc->Frame(0).Duration, 1000);
    EXPECT_EQ(Doc->Frame(0).DitherMode, dmFloydSteinberg);

    // A view of no frame changes no record.
    Doc->SetFrameSettings(0, 10, rmQuantize, dmNearest);
    TImgView32 Hidden;
    Doc->CreateNewImage(3, 3, 0, &Hidden);
    EXPECT_EQ(Doc->Frame(0).Duration, 10);
    Doc->CreateNewImage(3, 3, 0, nullptr);
}

TEST_F(TDocFixture, RenderedFramesAreBackgroundWithLayersBlended) {
    TImgView32& V = *Doc->ImgView();
    V.SetViewportSize(300, 200);
    V.SetScale(3.0f); // the flattening ignores the zoom
    AddLayer({2, 2, 4, 4}, 0x80FF0000);
    auto* Hidden = AddLayer({6, 6, 8, 8}, 0xFF00FF00);
    Hidden->SetVisible(false);
    Doc->CreateNewFrame(3);
    Doc->NewImage(5, 5, 0);

    Doc->RenderFrameBitmaps();
    const TBitmap32& F0 = *Doc->Frame(0).Bitmap;
    ASSERT_EQ(F0.Width(), 40);
    TColor32 Blended = 0xFFFFFFFF;
    BlendColorStore(0x80FF0000, Blended);
    EXPECT_EQ(F0.Pixel(2, 2), Blended);
    EXPECT_EQ(F0.Pixel(6, 6), 0xFFFFFFFFu);
    EXPECT_EQ(F0.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(F0.Pixel(39, 29), 0xFFFFFFFFu);
    EXPECT_EQ(Doc->Frame(1).Bitmap->Width(), 5);
    EXPECT_EQ(Doc->Frame(1).Bitmap->Pixel(4, 4), 0xFF000000u);
}

TEST_F(TDocFixture, ViewSurroundIsSilverWithABlackOutline) {
    TImgView32& V = *Doc->ImgView();
    V.SetViewportSize(100, 80);
    V.SetScale(2.0f); // 80 x 60 centred: picture at (10, 10)
    ASSERT_EQ(V.GetBitmapRect(), (TRect{10, 10, 90, 70}));
    V.PaintBuffer(V.GetViewportRect());
    const TBitmap32& B = V.Buffer();
    EXPECT_EQ(B.Pixel(0, 0), clSilver32);
    EXPECT_EQ(B.Pixel(9, 9), clBlack32);
    EXPECT_EQ(B.Pixel(90, 70), clBlack32);
    EXPECT_EQ(B.Pixel(50, 9), clBlack32);
    EXPECT_EQ(B.Pixel(91, 71), clSilver32);
    EXPECT_EQ(B.Pixel(10, 10), 0xFFFFFFFFu);
}

TEST(DocFormLifetime, DestroyingDeletesFramesFromTheSecondOn) {
    TPlainDocHost Host;
    auto Doc = std::make_unique<TDocForm>(Host);
    Doc->NewImage(4, 4, 0);
    std::vector<TTabSheet*> Sheets{Doc->Frame1()};
    for (int I = 0; I < 4; ++I) {
        Doc->CreateNewFrame(2);
        Sheets.push_back(Doc->ActivePage());
    }
    // One frame more that waits in the undo list: it goes with the document, unseen.
    Doc->DeleteTabSheet();
    Doc->SetActivePage(Sheets[2]);
    std::vector<TTabSheet*> Removed;
    const TDocSubscription Sub = Doc->Subscribe([&](const TDocEvent& E) {
        if (E.Kind == TDocChange::FrameRemoved) Removed.push_back(E.Page);
    });
    Doc.reset();
    // Frames 2 to 4 are deleted one by one, then frame 1 goes with the window.
    EXPECT_EQ(Removed, (std::vector<TTabSheet*>{Sheets[1], Sheets[2], Sheets[3], Sheets[0]}));
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST_F(TDocFixture, AnimationFromTheFramesAndItsFailures) {
    Doc->ImgView()->Bitmap().Clear(0xFFFF0000);
    Doc->SetFrameSettings(0, 250, rmQuantize, dmFloydSteinberg);
    Doc->CreateNewFrame(3, 0xFF00FF00);
    Doc->SetNumLoops(3);
    auto Changes = Count(TDocChange::Gif);

    ASSERT_TRUE(Doc->CreateGifImgPreview());
    ASSERT_TRUE(Doc->GifImg());
    EXPECT_EQ(Doc->GifImg()->Count(), 2);
    EXPECT_EQ(Doc->GifImg()->Width(), 40);
    EXPECT_EQ(Changes->Count, 1);
    const std::vector<std::uint8_t> Bytes = Doc->GifImg()->SaveToBytes();
    ASSERT_GT(Bytes.size(), 6u);
    EXPECT_EQ(std::string(Bytes.begin(), Bytes.begin() + 6), "GIF89a");

    // A cancelled assembly keeps the previous animation.
    struct TCancel : TProgress {
        bool Step(int, int) override { return false; }
    } Cancel;
    const TGIFImage* Before = Doc->GifImg();
    EXPECT_FALSE(Doc->CreateGifImgPreview(&Cancel));
    EXPECT_EQ(Doc->GifImg(), Before);

    // More than 256 colours without reduction: an error, and no animation to show or save.
    TBitmap32& B = Doc->Frame(1).ImgView->Bitmap();
    for (int I = 0; I < 300; ++I) B.SetPixel(I % 40, I / 40, 0xFF000000u | static_cast<TColor32>(I));
    Doc->SetFrameSettings(1, 1000, rmNone, dmFloydSteinberg);
    EXPECT_THROW(Doc->CreateGifImgPreview(), std::exception);
    EXPECT_FALSE(Doc->GifImg());
    Doc->SaveAnimGif(QStringLiteral("/nonexistent/never.gif")); // nothing to save: nothing happens
}

} // namespace
} // namespace zp

namespace zp {
namespace {

// The progress display lets events through; what the user does meanwhile must be harmless.
TEST_F(TDocFixture, EventsDuringTheAssemblyAreHarmless) {
    Doc->CreateNewFrame(2);
    Doc->CreateNewFrame(2);
    struct TMeddling : TProgress {
        TDocForm& D;
        int Calls = 0;
        bool NestedResult = true;
        explicit TMeddling(TDocForm& Doc) : D(Doc) {}
        bool Step(int, int) override {
            if (Calls++ == 0) {
                NestedResult = D.CreateGifImgPreview(); // a second "Gif Vorschau"
                D.SetActivePage(D.Frame(1).TabSheet);
                D.DeleteTabSheet(); // "Frame löschen"
            }
            return true;
        }
    } Progress(*Doc);
    EXPECT_TRUE(Doc->CreateGifImgPreview(&Progress));
    EXPECT_FALSE(Progress.NestedResult);
    EXPECT_FALSE(Doc->Assembling());
    ASSERT_TRUE(Doc->GifImg());
    EXPECT_EQ(Doc->GifImg()->Count(), 3); // the frames as they were when the assembly began
    EXPECT_EQ(Doc->FrameCount(), 2u);
}

} // namespace
} // namespace zp
