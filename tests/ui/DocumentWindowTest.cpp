#include "ui/DocumentWindow.h"
#include "support/QtPrinters.h"
#include "ui/FrameViewWidget.h"
#include "ui/GifPreview.h"

#include <QScrollBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TWindowFixture : ::testing::Test {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> DocPtr;
    TDocForm& Doc;
    TWindowFixture() : DocPtr(MakeDoc(Host)), Doc(*DocPtr) { Doc.NewImage(468, 60, 0x00FFFFFF); }
    static std::unique_ptr<TDocForm> MakeDoc(TPlainDocHost& H) {
        H.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        return std::make_unique<TDocForm>(H);
    }
    static QStringList TabTexts(const QTabWidget& Tabs) {
        QStringList L;
        for (int I = 0; I < Tabs.count(); ++I) L << Tabs.tabText(I);
        return L;
    }
};

TEST_F(TWindowFixture, TabsMirrorTheFramesOfTheModel) {
    TDocumentWindow W(Doc);
    QTabWidget& Tabs = *W.Tabs();
    EXPECT_EQ(TabTexts(Tabs), (QStringList{"Frame 1", "Gif Vorschau"}));

    Doc.CreateNewFrame(2);
    Doc.CreateNewFrame(3);
    EXPECT_EQ(TabTexts(Tabs), (QStringList{"Frame 1", "Frame 2", "Frame 3", "Gif Vorschau"}));
    EXPECT_EQ(Tabs.currentIndex(), 2);

    TTabSheet* Second = Doc.Pages(1);
    Doc.SetActivePage(Second);
    EXPECT_EQ(Tabs.currentIndex(), 1);
    Doc.ShiftTabSheetRight();
    EXPECT_EQ(Tabs.indexOf(W.FrameWidget(Second)), 2);
    EXPECT_EQ(Tabs.currentIndex(), 2);
    EXPECT_EQ(TabTexts(Tabs), (QStringList{"Frame 1", "Frame 2", "Frame 3", "Gif Vorschau"}));

    Doc.DeleteTabSheet();
    EXPECT_EQ(TabTexts(Tabs), (QStringList{"Frame 1", "Frame 2", "Gif Vorschau"}));
    EXPECT_EQ(W.FrameWidget(Second), nullptr);
    EXPECT_EQ(Tabs.currentIndex(), 0);
}

TEST_F(TWindowFixture, ChoosingATabSwitchesTheCurrentFrame) {
    TDocumentWindow W(Doc);
    int Previews = 0;
    const TDocSubscription Sub =
        Doc.Subscribe([&](const TDocEvent& E) { Previews += E.Kind == TDocChange::PreviewRequested; });
    Doc.CreateNewFrame(2);
    W.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(Doc.GetIndex(), 0);
    W.Tabs()->setCurrentIndex(2);
    EXPECT_EQ(Doc.GetIndex(), -1);
    EXPECT_EQ(Previews, 1);
}

TEST_F(TWindowFixture, FrameViewScrollsAndZoomsThroughTheModel) {
    TDocumentWindow W(Doc);
    W.resize(300, 200);
    W.show();
    TFrameViewWidget* F = W.FrameWidget(Doc.Frame1());
    ASSERT_NE(F, nullptr);
    TImgView32& V = *Doc.ImgView();
    EXPECT_GT(V.GetViewportRect().Width(), 0);
    EXPECT_GT(V.ScrollMaxHorz(), 0); // 468 pixels do not fit in 300
    F->horizontalScrollBar()->setValue(50);
    EXPECT_EQ(V.ScrollPosHorz(), 50);
    EXPECT_EQ(V.GetBitmapRect().Left, -50);

    QString Zoom;
    const TDocSubscription Sub = Doc.Subscribe([&](const TDocEvent& E) {
        if (E.Kind == TDocChange::Zoom) Zoom = E.Text;
    });
    for (int I = 0; I < 40; ++I) Doc.ImgViewMouseWheelUp();
    EXPECT_FLOAT_EQ(V.Scale(), 0.2f);
    EXPECT_EQ(Zoom, QStringLiteral("20%"));
    for (int I = 0; I < 80; ++I) Doc.ImgViewMouseWheelDown();
    EXPECT_FLOAT_EQ(V.Scale(), 20.0f);
    EXPECT_EQ(Zoom, QStringLiteral("2000%"));
    EXPECT_EQ(F->horizontalScrollBar()->maximum(), V.ScrollMaxHorz());
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST(GifPreview, PlacementCentresWithRoomElseOnePixelIn) {
    EXPECT_EQ(TGifPreview::Placement(QSize(100, 50), QSize(20, 10)), QPoint(40, 20));
    EXPECT_EQ(TGifPreview::Placement(QSize(22, 12), QSize(20, 10)), QPoint(1, 1)); // only 2 to spare
    EXPECT_EQ(TGifPreview::Placement(QSize(23, 13), QSize(20, 10)), QPoint(1, 1)); // 3: (3 div 2)
    EXPECT_EQ(TGifPreview::Placement(QSize(10, 5), QSize(20, 10)), QPoint(1, 1));
}

TEST_F(TWindowFixture, PreviewPlaysTheAssembledAnimation) {
    TDocumentWindow W(Doc);
    Doc.CreateNewFrame(2);
    ASSERT_TRUE(Doc.CreateGifImgPreview());
    EXPECT_EQ(W.Preview()->PictureSize(), QSize(468, 60));
    EXPECT_TRUE(W.Preview()->IsPlaying());
    EXPECT_GE(W.Preview()->minimumWidth(), 470);
}

} // namespace
} // namespace zp
