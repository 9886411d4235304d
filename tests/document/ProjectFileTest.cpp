// Project files: what is written comes back as it was shown, and damaged files are refused.
#include "document/DocForm.h"
#include "support/QtPrinters.h"
#include "support/ShownDocument.h"

#include "files/FileError.h"
#include "files/PictureFiles.h"
#include "files/PictureStrings.h"
#include "layers/Filters.h"
#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"
#include "layers/XmlValues.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TProjectFile : ::testing::Test {
    TPlainDocHost Host;

    TProjectFile() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Host.Texts.insert(QStringLiteral("TxtMissFont1"), QStringLiteral("Es fehlen:"));
        Host.Texts.insert(QStringLiteral("TxtMissFont2"), QStringLiteral("Ersatz: Arial."));
    }

    std::unique_ptr<TDocForm> NewDoc(int W = 120, int H = 90) {
        auto Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(W, H, TColor{0x00FFFFFF});
        return Doc;
    }

    std::unique_ptr<TDocForm> Read(std::string_view Text) {
        auto Doc = std::make_unique<TDocForm>(Host);
        Doc->LoadProjectFromXMLText(Text);
        return Doc;
    }

    // Every layer kind with most of the style: two frames, settings and a loop count.
    std::unique_ptr<TDocForm> RichDocument() {
        auto Doc = NewDoc();
        TBitmap32& Back = Doc->CurrentView()->Bitmap();
        for (int X = 0; X < Back.Width(); ++X) Back.SetPixel(X, 3, Color32(X, 255 - X, 40, X)); // alpha too

        auto R = std::make_unique<T2DRectangle>(10, 10, 60, 40);
        R->LayerStyle().SetFillGradient(true);
        R->LayerStyle().SetFillGradientColor1(0xFFFF0000);
        R->LayerStyle().SetFillGradientColor2(0x800000FF);
        R->LayerStyle().SetShadow(true);
        R->LayerStyle().SetOutline(true);
        R->LayerStyle().SetOutlineSize(3);
        R->LayerStyle().SetOutlineDashStyle(DashStyleDash);
        R->Paint();
        T2DRectangle* Rect = static_cast<T2DRectangle*>(Doc->InsertLayer(std::move(R)));
        Doc->SelectLayer(Rect);
        Doc->RotateClick(30);
        Doc->AddEffect(efEmboss);

        auto E = std::make_unique<T2DEllipse>(50, 30, 100, 70);
        E->LayerStyle().SetFillPattern(true);
        E->LayerStyle().SetNoOfHatchBrush(7);
        E->Paint();
        Doc->InsertLayer(std::move(E));
        Doc->AddMotionBlurEffect(4, bldBottomLeft);

        auto P = std::make_unique<T2DPolygon>(30, 60, 45, 70, 7);
        P->LayerStyle().SetFillColor(0xFF30C030);
        P->Paint();
        Doc->InsertLayer(std::move(P));
        Doc->FlipHorzClick();

        auto L = std::make_unique<T2DLine>(5, 80, 110, 50);
        L->SetLineWidth(6);
        L->Paint();
        Doc->InsertLayer(std::move(L));

        TBitmap32 Picture;
        Picture.SetSize(17, 9);
        for (int Y = 0; Y < 9; ++Y)
            for (int X = 0; X < 17; ++X) Picture.SetPixel(X, Y, Color32(X * 15, Y * 28, 200, 60 + X * 10));
        Doc->InsertLayer(std::make_unique<TPicLayer>(Picture));
        Doc->MoveLayer(*Doc->Selection(), 70, 5);

        TTextLayer* T = Doc->NewTextLayer();
        T->FontLayerStyle().SetFontSize(20);
        T->FontLayerStyle().SetShadow(true);
        Doc->SetLayerText(*T, QStringLiteral("A<&>\"ü"));

        Doc->SetFrameSettings(0, 120, rmNetscape, dmStucki);
        Doc->CreateNewFrame(1);
        Doc->MoveLayer(*dynamic_cast<TPositionedLayer*>(Doc->CurrentView()->Layers().Items(0)), 3, 4);
        Doc->SetFrameSettings(1, 70, rmWindows256, dmNearest);
        Doc->SetNumLoops(3);
        Doc->SelectLayer(nullptr);
        return Doc;
    }
};

TEST_F(TProjectFile, ARichDocumentComesBackAsItWasShownAndStaysEditable) {
    auto Doc = RichDocument();
    const TShown Before(*Doc);
    const std::string Text = Doc->ProjectToXMLText();
    auto Back = Read(Text);
    EXPECT_TRUE(TShown(*Back) == Before);
    ASSERT_EQ(Back->FrameCount(), 2);
    EXPECT_EQ(Back->CurrentView(), Back->Frame(0).ImgView);
    EXPECT_FALSE(Back->CanUndo());

    // Every layer is the kind it was, and editing goes on.
    TLayerCollection& Layers = Back->Frame(0).ImgView->Layers();
    ASSERT_EQ(Layers.Count(), 6);
    EXPECT_NE(dynamic_cast<T2DRectangle*>(Layers.Items(0)), nullptr);
    EXPECT_NE(dynamic_cast<T2DEllipse*>(Layers.Items(1)), nullptr);
    EXPECT_NE(dynamic_cast<T2DPolygon*>(Layers.Items(2)), nullptr);
    EXPECT_NE(dynamic_cast<T2DLine*>(Layers.Items(3)), nullptr);
    EXPECT_NE(dynamic_cast<TPicLayer*>(Layers.Items(4)), nullptr);
    auto* T = dynamic_cast<TTextLayer*>(Layers.Items(5));
    ASSERT_NE(T, nullptr);
    EXPECT_EQ(T->FontLayerStyle().Text(), QStringLiteral("A<&>\"ü"));
    Back->SelectLayer(T);
    Back->FlipVertClick();
    Back->Undo();
    EXPECT_TRUE(TShown(*Back) == Before);
}

TEST_F(TProjectFile, OneFrameWithoutLayersAndTheBackgroundAlphaSurvive) {
    auto Doc = NewDoc(3, 2);
    TBitmap32& B = Doc->CurrentView()->Bitmap();
    B.SetPixel(0, 0, 0x00123456);
    B.SetPixel(1, 0, 0x7FABCDEF);
    B.SetPixel(2, 1, 0x01000000);
    const std::string Text = Doc->ProjectToXMLText();
    EXPECT_NE(Text.find("<NumLayers>0</NumLayers>"), std::string::npos);
    EXPECT_EQ(Text.find("<Layer"), std::string::npos);
    auto Back = Read(Text);
    ASSERT_EQ(Back->FrameCount(), 1);
    EXPECT_TRUE(SamePixels(Back->CurrentView()->Bitmap(), B));
}

TEST_F(TProjectFile, PlainPictureLayersAndMasterAlphaAreKept) {
    auto Doc = NewDoc(40, 30);
    TBitmap32 Picture;
    Picture.SetSize(6, 5);
    Picture.Clear(0xFFC02020);
    Doc->CreateBitmapLayer(Picture, {4, 7}, false);
    auto R = std::make_unique<T2DRectangle>(10, 10, 30, 20);
    R->Paint();
    Doc->SetMasterAlpha(*Doc->InsertLayer(std::move(R)), 128);
    const TShown Before(*Doc);
    auto Back = Read(Doc->ProjectToXMLText());
    EXPECT_TRUE(TShown(*Back) == Before);
    EXPECT_TRUE(typeid(*Back->CurrentView()->Layers().Items(0)) == typeid(TBitmapLayer));
    // Another reader gets a picture layer with the same pixels at the same place.
    std::string Text = Doc->ProjectToXMLText();
    for (const char* Extra : {"PlainLayer", "PlainPosLeftTopX", "PlainPosLeftTopY", "TranspGradient"}) {
        const std::size_t At = Text.find(std::string("<") + Extra + ">");
        ASSERT_NE(At, std::string::npos);
        Text.erase(At, Text.find('\n', At) - At);
    }
    auto Other = Read(Text);
    auto* AsPicture = dynamic_cast<TPicLayer*>(Other->CurrentView()->Layers().Items(0));
    ASSERT_NE(AsPicture, nullptr);
    EXPECT_EQ(AsPicture->gdiBitmap().Width(), 6);
    const TFloatRect L = AsPicture->Location();
    EXPECT_EQ(L.Left + static_cast<float>(AsPicture->StartPoint.X), 4.0f);
    EXPECT_EQ(L.Top + static_cast<float>(AsPicture->StartPoint.Y), 7.0f);
}

TEST_F(TProjectFile, SavingReplacesTheFileOnlyWhenComplete) {
    QTemporaryDir Dir;
    const QString Name = Dir.path() + QStringLiteral("/banner.dgm");
    auto Doc = RichDocument();
    ASSERT_TRUE(Doc->SelectSaveMethod(Name, QStringLiteral(".dgm")));
    EXPECT_EQ(Doc->FileName(), Name);
    EXPECT_FALSE(Doc->Modified());
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QByteArray Saved = F.readAll();
    F.close();

    auto Other = NewDoc();
    Other->LoadProjectFromXML(Name);
    EXPECT_TRUE(TShown(*Other) == TShown(*Doc));

    // A folder that cannot take the file: the old name stays, nothing is written.
    auto Second = NewDoc();
    EXPECT_THROW(Second->SelectSaveMethod(Dir.path() + QStringLiteral("/none/x.dgm"), QStringLiteral(".dgm")),
                 EFileError);
    EXPECT_TRUE(Second->FileName().isEmpty());
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.readAll(), Saved);
}

TEST_F(TProjectFile, VersionNumbersSelectTheLayout) {
    EXPECT_EQ(ProjectFileVersion("3.0.0.0"), 3000);
    EXPECT_EQ(ProjectFileVersion("2.0.0.1"), 2001);
    EXPECT_EQ(ProjectFileVersion("2.0.0.0"), 2000);
    EXPECT_EQ(ProjectFileVersion("3.0"), 30);
    EXPECT_THROW(ProjectFileVersion("1.2.3.4.5"), EXMLReadError); // "1234.5"
    EXPECT_THROW(ProjectFileVersion(""), EXMLReadError);
    EXPECT_THROW(ProjectFileVersion("3.x.0.0"), EXMLReadError);
    EXPECT_THROW(ProjectFileVersion("99999999999"), EXMLReadError);
}

TEST_F(TProjectFile, DamagedFilesAreRefusedWithAMessage) {
    auto Doc = RichDocument();
    const std::string Good = Doc->ProjectToXMLText();
    const auto Replaced = [&](const std::string& From, const std::string& To) {
        std::string S = Good;
        const std::size_t At = S.find(From);
        EXPECT_NE(At, std::string::npos) << From;
        if (At != std::string::npos) S.replace(At, From.size(), To);
        return S;
    };
    const std::vector<std::string> Bad = {
        Good.substr(0, Good.size() / 2),
        "<NotAProject/>",
        "",
        Replaced("<NumFrames>2</NumFrames>", "<NumFrames>3</NumFrames>"),
        Replaced("<NumFrames>2</NumFrames>", "<NumFrames>2000000000</NumFrames>"),
        Replaced("<NumLoops>3</NumLoops>", "<NumLoops>-1</NumLoops>"),
        Replaced("<ShowDuration>120</ShowDuration>", "<ShowDuration></ShowDuration>"),
        Replaced("<ColorReduction>6</ColorReduction>", "<ColorReduction>77</ColorReduction>"),
        Replaced("<Background>", "<Background>QUJD"),
        Replaced("<NumLayers>6</NumLayers>", "<NumLayers>7</NumLayers>"),
        Replaced("<LayerType>4</LayerType>", "<LayerType>x</LayerType>"),
        Replaced("<NumEdges>7</NumEdges>", "<NumEdges>2000000000</NumEdges>"),
        Replaced("<DirectionVector.AX>", "<DirectionVector.AX>1e9"),
        // The second frame fails after the first was built with all its layers.
        Replaced("<ShowDuration>70</ShowDuration>", "<ShowDuration>-1</ShowDuration>"),
    };
    for (const std::string& Text : Bad) {
        auto D = std::make_unique<TDocForm>(Host);
        EXPECT_ANY_THROW(D->LoadProjectFromXMLText(Text)) << Text.substr(0, 80);
        // Nothing that was read before the failure stays.
        EXPECT_TRUE(LeftEmpty(*D)) << Text.substr(0, 80);
    }
}

TEST_F(TProjectFile, MotionBlurFromAFileIsCappedAndReported) {
    auto Doc = NewDoc(60, 40);
    auto R = std::make_unique<T2DRectangle>(10, 10, 30, 20);
    R->Paint();
    Doc->InsertLayer(std::move(R));
    Doc->AddMotionBlurEffect(TMotionBlur::MaxStrength, bldRight);
    const std::string Text = Doc->ProjectToXMLText();
    auto Same = Read(Text);
    EXPECT_TRUE(Same->ReportCappedEffects().isEmpty());
    EXPECT_TRUE(TShown(*Same) == TShown(*Doc));

    std::string Strong = Text;
    const std::string Key = "<MotionBlurStrength>10</MotionBlurStrength>";
    Strong.replace(Strong.find(Key), Key.size(), "<MotionBlurStrength>100000</MotionBlurStrength>");
    auto Capped = Read(Strong);
    EXPECT_TRUE(TShown(*Capped) == TShown(*Doc));
    EXPECT_TRUE(Capped->ReportCappedEffects().contains(QStringLiteral("100000")));
}

} // namespace
} // namespace zp
