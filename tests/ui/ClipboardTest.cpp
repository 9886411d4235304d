// Cut, copy and paste through the real window's keys and the desktop clipboard (QClipboard on
// the offscreen platform): layers stay editable inside the program, pictures come from outside.
#include "support/EditingFixture.h"
#include "support/QtPrinters.h"

#include "layers/GeneralGraphicFunctions.h"
#include "layers/PicLayer.h"
#include "layers/TextLayer.h"
#include "ui/Paintbox.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zp {
namespace {

struct TClipboardFixture : TEditingFixture {
    TClipboardFixture() { QGuiApplication::clipboard()->clear(); }
    TTextLayer* Text() const {
        for (int I = 0; I < Layers().Count(); ++I)
            if (auto* T = dynamic_cast<TTextLayer*>(Layers().Items(I))) return T;
        return nullptr;
    }
    // The centre of the visible area in picture pixels, where pastes go.
    TPoint VisibleCentre(TDocForm& D) const {
        const TRect R = D.CurrentView()->GetViewportRect();
        return D.CurrentView()->ControlToBitmap({R.Width() / 2, R.Height() / 2});
    }
    static TPoint CentreOf(const TPositionedLayer& L) {
        const TFloatRect R = L.Location();
        return {static_cast<int>(R.Left + R.Width() / 2), static_cast<int>(R.Top + R.Height() / 2)};
    }
};

// A copied rectangle pastes into another document as an editable rectangle with the same
// style, centred in the visible area, with one undo entry.
TEST_F(TClipboardFixture, CopiedFigurePastesEditableIntoAnotherDocument) {
    auto* Rect = dynamic_cast<T2DFiguren*>(Layers().Items(0));
    Click(100, 75);
    ASSERT_EQ(Doc->Selection(), Rect);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
    EXPECT_FALSE(Doc->Modified());

    TDocForm& Other = Window->Model().NewSampleDocument();
    Canvas = Window->DocumentWindow(&Other)->FrameWidget(Other.Frame1());
    const int Before = Other.CurrentView()->Layers().Count(), Records = Other.UndoCount();
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Other.CurrentView()->Layers().Count(), Before + 1);
    auto* Pasted = dynamic_cast<T2DFiguren*>(Other.Selection());
    ASSERT_TRUE(Pasted);
    EXPECT_STREQ(Pasted->ClassName(), "T2DRectangle");
    EXPECT_EQ(Pasted->LayerStyle().FillColor(), Rect->LayerStyle().FillColor());
    EXPECT_TRUE(Pasted->LayerStyle().Outline());
    EXPECT_TRUE(Pasted->Visible());
    const TPoint Centre = VisibleCentre(Other);
    EXPECT_LE(std::abs(CentreOf(*Pasted).X - Centre.X), 1);
    EXPECT_LE(std::abs(CentreOf(*Pasted).Y - Centre.Y), 1);
    EXPECT_EQ(Other.UndoCount(), Records + 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Other.CurrentView()->Layers().Count(), Before);
}

// Another program's picture on the clipboard wins over the program's own newest copy.
TEST_F(TClipboardFixture, APictureFromAnotherProgramIsPastedAsPicture) {
    Click(100, 75);
    Key(Qt::Key_C, Qt::ControlModifier);
    QImage Foreign(37, 21, QImage::Format_ARGB32);
    Foreign.fill(QColor(10, 200, 30, 128));
    QGuiApplication::clipboard()->setImage(Foreign);
    Key(Qt::Key_V, Qt::ControlModifier);
    auto* Pasted = dynamic_cast<TPicLayer*>(Doc->Selection());
    ASSERT_TRUE(Pasted);
    const QImage Shown = Pasted->ExtractBitmap();
    ASSERT_EQ(Shown.size(), Foreign.size());
    EXPECT_EQ(Shown.pixel(18, 10), Foreign.pixel(18, 10));
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoInsertPicLayer);
}

// With nothing selected and nothing marked the background alone is copied; a marked area half
// outside the picture copies only the part inside.
TEST_F(TClipboardFixture, BackgroundAndMarkedAreas) {
    Key(Qt::Key_Escape);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    auto* Background = dynamic_cast<TPicLayer*>(Doc->Selection());
    ASSERT_TRUE(Background);
    const QImage Copied = Background->ExtractBitmap();
    ASSERT_EQ(Copied.size(), QSize(400, 300));
    EXPECT_EQ(Copied.pixel(100, 75), qRgba(255, 255, 255, 255)); // not the rectangle above it
    Key(Qt::Key_Z, Qt::ControlModifier);

    Key(Qt::Key_Escape);
    Doc->PaintSurface(nullptr, [](TBitmap32& B) {
        TGeneralGraphicFunctions::CreateColorGradient(0xFF102030u, 0xFFF0E0D0u, {340, 10}, {399, 70}, B);
    });
    QTest::mouseClick(Window->Paintbox()->Button(ptMark), Qt::LeftButton);
    Drag(At(350, 20), At(450, 60)); // 50 pixels inside, 50 beyond the right edge
    ASSERT_TRUE(Doc->MarkLayer());
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    auto* Part = dynamic_cast<TPicLayer*>(Doc->Selection());
    ASSERT_TRUE(Part);
    const QImage Pasted = Part->ExtractBitmap();
    ASSERT_EQ(Pasted.size(), QSize(50, 40));
    // Exactly the background's pixels there.
    const TBitmap32& B = Doc->CurrentView()->Bitmap();
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 50; ++X) ASSERT_EQ(Pasted.pixel(X, Y), B.Pixel(350 + X, 20 + Y)) << X << "," << Y;
}

// A plain picture is not copied, so a cut leaves it where it is.
TEST_F(TClipboardFixture, CutOfAPlainPictureKeepsIt) {
    TBitmap32 Plain;
    Plain.SetSize(20, 20);
    Plain.Clear(0xFF00FF00);
    Doc->CreateBitmapLayer(Plain, {0, 0}, false);
    const int Before = Layers().Count();
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before);
}

// Cut removes a text layer, one undo brings it back, and paste adds an editable copy.
TEST_F(TClipboardFixture, CutTextUndoAndPaste) {
    TTextLayer* T = Text();
    ASSERT_TRUE(T);
    Doc->SelectLayer(T);
    const int Before = Layers().Count();
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before - 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Layers().Count(), Before + 1);
    auto* Copy = dynamic_cast<TTextLayer*>(Doc->Selection());
    ASSERT_TRUE(Copy);
    EXPECT_NE(Copy, T);
    EXPECT_EQ(Copy->FontLayerStyle().Text(), QStringLiteral("Zelk-Pixaro"));
    EXPECT_EQ(Doc->UndoRecord(Doc->UndoCount() - 1).fUndoType, undoInsertTextLayer);
}

} // namespace
} // namespace zp
