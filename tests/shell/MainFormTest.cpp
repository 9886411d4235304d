#include "shell/MainForm.h"
#include "raster/Blend.h"
#include "shell/Settings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"

#include <QDir>
#include <QFileInfo>

#include <QFile>
#include <set>

#include <gtest/gtest.h>

namespace zp {
namespace {

// Records what the model asks of its window.
struct TFakeView : TMainFormView {
    std::vector<TDocForm*> Windows;
    QString Zoom;
    TCommandStates States;
    int BroughtToFront = 0;
    int Closed = 0;
    int PalettesSaved = 0;
    QString Caption;
    struct TPlace {
        int Left, Top, Width, Height;
    };
    std::vector<TPlace> Places;

    void DocumentCreated(TDocForm& Doc) override { Windows.push_back(&Doc); }
    void DocumentClosing(TDocForm& Doc) override { std::erase(Windows, &Doc); }
    int DocumentWindowCount() const override { return static_cast<int>(Windows.size()); }
    void PlaceDocument(TDocForm&, int L, int T, int W, int H) override { Places.push_back({L, T, W, H}); }
    void SetZoomText(const QString& Text) override { Zoom = Text; }
    void ApplyCommandStates(const TCommandStates& S) override { States = S; }
    void BringToFront() override { ++BroughtToFront; }
    void CloseMainWindow() override { ++Closed; }
    void SetCaption(const QString& C) override { Caption = C; }
    void SavePalettePositions() override { ++PalettesSaved; }
    std::set<QString> VisiblePalettes;
    QHash<QString, bool> Checks;
    QStringList Toggled;
    int Adjusted = 0;
    bool IsPaletteVisible(const QString& C) const override { return VisiblePalettes.count(C) > 0; }
    void SetMenuCheck(const QString& C, bool Checked) override { Checks[C] = Checked; }
    void TogglePalette(const QString& C) override { Toggled << C; }
    void AdjustPalettes() override { ++Adjusted; }
    int TextFocused = 0;
    void FocusPropertiesText() override { ++TextFocused; }
};

// A layer that calls itself by another class name, as the figure and text layers will.
struct TNamedLayer : TBitmapLayer {
    const char* Name;
    explicit TNamedLayer(const char* N) : Name(N) {}
    const char* ClassName() const override { return Name; }
};

struct TMainFormFixture : ::testing::Test {
    TTempPlaces Places{{1000, 800}};
    TScriptedDialogs Dialogs;
    TFakeView View;
    std::unique_ptr<TMainForm> Model;

    TMainFormFixture() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        RecreateSettings();
        Model = std::make_unique<TMainForm>(View);
    }

    QString MakeFile(const QString& Name) {
        const QString Path = Places.Path(Name);
        TTempPlaces::WriteText(Path, "x");
        return Path;
    }

    TDocForm& NewPicture(int W = 468, int H = 60) {
        Dialogs.NewImages.push_back({W, H, 0x00FFFFFF});
        Model->NewImageFromDialog();
        return *Model->DocFormList.back();
    }

    // An edit, so that closing has something to ask about.
    static void Touch(TDocForm& Doc) { Doc.SetNumLoops(Doc.NumLoops() + 1); }
};

TEST_F(TMainFormFixture, StartChoiceIsShownOnceAndCancelCounts) {
    EXPECT_EQ(View.Caption, QStringLiteral("Zelk - Pixaro"));
    EXPECT_EQ(Model->iVersion, 3000);
    Model->FormActivate();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Caption, QStringLiteral("Willkommen bei Zelk - Pixaro"));
    EXPECT_TRUE(Model->StartupHandled);
    EXPECT_TRUE(Model->DocFormList.empty());
    Model->FormActivate();
    Model->FormActivate();
    EXPECT_EQ(Dialogs.Shown.size(), 1u);

    // "Neu" asks again, with its own caption.
    Model->Execute(TCmd::FileNew);
    EXPECT_EQ(Dialogs.Shown.back().Caption, QStringLiteral("Neues Projekt"));
}

TEST_F(TMainFormFixture, StartArgumentsProjectAndPicture) {
    SetCommandLine({MakeFile(QStringLiteral("bild.png"))});
    Model->FormActivate();
    EXPECT_TRUE(Dialogs.Shown.empty()); // a picture is ignored, and no start choice
    EXPECT_TRUE(Model->DocFormList.empty());
    EXPECT_FALSE(Model->StartupHandled);

    const QString Project = MakeFile(QStringLiteral("banner.DGM"));
    SetCommandLine({Project});
    // The project is opened; reading it is up to the project reader, which reports errors.
    EXPECT_ANY_THROW(Model->FormActivate());
    EXPECT_TRUE(Model->StartupHandled);
    EXPECT_TRUE(Model->DocFormList.empty()); // a file that could not be read leaves nothing open
    Model->FormActivate();                   // and is not tried again
}

TEST_F(TMainFormFixture, NewPicturesAreNumberedAndPlaced) {
    Model->StartupHandled = true;
    TDocForm& A = NewPicture(100, 50);
    TDocForm& B = NewPicture();
    EXPECT_EQ(A.Caption(), QStringLiteral("Unbenannt1"));
    EXPECT_EQ(B.Caption(), QStringLiteral("Unbenannt2"));
    EXPECT_EQ(A.ImgView()->Bitmap().Width(), 100);
    EXPECT_EQ(Model->SelectedDocForm(), &B);
    EXPECT_EQ(View.Zoom, QStringLiteral("100%"));
    // Window c of the cascade: c x 7 + palette width 196 + 5, c x 21; 70 % and 60 % of the screen.
    ASSERT_EQ(View.Places.size(), 2u);
    EXPECT_EQ(View.Places[0].Left, 1 * 7 + 196 + 5);
    EXPECT_EQ(View.Places[1].Left, 2 * 7 + 196 + 5);
    EXPECT_EQ(View.Places[1].Top, 2 * 21);
    EXPECT_EQ(View.Places[1].Width, 700);
    EXPECT_EQ(View.Places[1].Height, 480);

    Model->NewImageFromDialog(); // cancelled: nothing new
    EXPECT_EQ(Model->DocFormList.size(), 2u);
}

TEST_F(TMainFormFixture, ClosingAllStopsAtCancel) {
    Model->StartupHandled = true;
    TDocForm& A = NewPicture();
    TDocForm& B = NewPicture();
    TDocForm& C = NewPicture();
    for (TDocForm* D : {&A, &B, &C}) Touch(*D);
    Dialogs.Answers = {mrNo, mrCancel};
    EXPECT_FALSE(Model->FormClose());
    ASSERT_EQ(Model->DocFormList.size(), 2u);
    EXPECT_EQ(Model->DocFormList[0].get(), &B);
    EXPECT_EQ(Model->DocFormList[1].get(), &C);
    EXPECT_EQ(View.PalettesSaved, 0);
    // The question names the document being closed.
    EXPECT_TRUE(Dialogs.Shown[Dialogs.Shown.size() - 2].Text.contains(QStringLiteral("Unbenannt1")));
    EXPECT_TRUE(
        Dialogs.Shown.back().Text.startsWith(QStringLiteral("Möchten Sie die Änderungen an Unbenannt2")));
    (void)A;

    // "Yes" keeps a document whose saving did not happen.
    Dialogs.Answers = {mrYes};
    EXPECT_FALSE(Model->CloseProject(&B));
    EXPECT_EQ(Model->DocFormList.size(), 2u);

    Dialogs.Answers = {mrNo, mrNo};
    EXPECT_TRUE(Model->FormClose());
    EXPECT_TRUE(Model->DocFormList.empty());
    EXPECT_EQ(Model->SelectedDocForm(), nullptr);
    EXPECT_EQ(View.PalettesSaved, 1);
    EXPECT_FALSE(Model->CloseProject(nullptr));
}

TEST_F(TMainFormFixture, ClosingWithoutDocumentsSavesThePalettes) {
    EXPECT_TRUE(Model->FormClose());
    EXPECT_EQ(View.PalettesSaved, 1);
}

TEST_F(TMainFormFixture, CommandStatesFollowTheSelection) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    TCommandStates S = *Model->EnableSpecMenuItems();
    EXPECT_TRUE(S[TCmd::Save]);
    EXPECT_TRUE(S[TCmd::Close]);
    EXPECT_FALSE(S[TCmd::Flatten]);
    EXPECT_FALSE(S[TCmd::Delete]);
    EXPECT_TRUE(S[TCmd::GifPreview]);
    EXPECT_FALSE(S[TCmd::Undo]);
    EXPECT_EQ(View.States, S);

    TBitmap32 Picture;
    Picture.SetSize(4, 4);
    auto* L1 = Doc.CreateBitmapLayer(Picture, {0, 0}, false);
    auto* L2 = Doc.CreateBitmapLayer(Picture, {0, 0}, false);
    auto* L3 = Doc.CreateBitmapLayer(Picture, {0, 0}, false);
    EXPECT_TRUE(View.States[TCmd::Undo]);
    EXPECT_FALSE(View.States[TCmd::Redo]);
    Doc.SetMouseEvents(false);
    Doc.SetRubberbandLayer(L3);
    Doc.SelectLayer(L2); // third from the top, under a selection frame
    S = View.States;
    EXPECT_TRUE(S[TCmd::Flatten]);
    EXPECT_TRUE(S[TCmd::Delete]);
    EXPECT_TRUE(S[TCmd::BringFront]);
    EXPECT_TRUE(S[TCmd::LevelUp]);
    EXPECT_TRUE(S[TCmd::SendBack]);
    Doc.SelectLayer(L3); // second from the top
    S = View.States;
    EXPECT_FALSE(S[TCmd::BringFront]);
    EXPECT_FALSE(S[TCmd::LevelUp]);
    Doc.SelectLayer(L1);
    S = View.States;
    EXPECT_FALSE(S[TCmd::SendBack]);
    EXPECT_FALSE(S[TCmd::LevelDown]);

    // Without a selection frame the lower of two plain layers can still be raised.
    Doc.ResetRubberbandLayer();
    Doc.DeleteLayer(L3);
    Doc.SelectLayer(L1);
    EXPECT_TRUE(View.States[TCmd::BringFront]);
    Doc.Undo();
    EXPECT_TRUE(View.States[TCmd::Redo]);

    // The preview page: no frame view, no picture commands.
    Doc.SetActivePage(Doc.TabSheetGif());
    S = *Model->EnableSpecMenuItems();
    EXPECT_FALSE(S[TCmd::Save]);
    EXPECT_FALSE(S[TCmd::Flatten]);

    Model->SetSelectedDocForm(nullptr);
    EXPECT_FALSE(Model->EnableSpecMenuItems().has_value());
}

TEST_F(TMainFormFixture, ZoomBoxTexts) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    Model->ScaleComboChange(QStringLiteral("250"));
    EXPECT_FLOAT_EQ(Doc.ImgView()->Scale(), 2.5f);
    Model->ScaleComboChange(QStringLiteral("100"));
    Model->ScaleComboChange(QStringLiteral("250 %"));
    EXPECT_FLOAT_EQ(Doc.ImgView()->Scale(), 2.5f);
    for (const char* Bad : {"0", "2001", "viel"}) {
        Model->ScaleComboChange(QString::fromLatin1(Bad));
        EXPECT_FLOAT_EQ(Doc.ImgView()->Scale(), 2.5f) << Bad;
    }
    // Selecting a document shows its zoom.
    Model->SetSelectedDocForm(&Doc);
    EXPECT_EQ(View.Zoom, QStringLiteral("250%"));
    Model->Execute(TCmd::ResizeLayer);
    EXPECT_EQ(View.Zoom, QStringLiteral("100%"));
}

TEST_F(TMainFormFixture, FrameCommands) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(30, 20);
    Dialogs.NewFrames = {3, 2, 0};
    Model->Execute(TCmd::NewFrame);
    ASSERT_EQ(Doc.FrameCount(), 2u);
    EXPECT_EQ(Doc.CurrentView()->Bitmap().Width(), 30); // empty frame of the current size
    Model->Execute(TCmd::NewFrame);
    EXPECT_EQ(Doc.FrameCount(), 3u);
    Model->Execute(TCmd::NewFrame); // cancelled
    EXPECT_EQ(Doc.FrameCount(), 3u);
    Model->Execute(TCmd::FrameLeft);
    EXPECT_EQ(Doc.GetIndex(), 1);
    Model->Execute(TCmd::DeleteFrame);
    EXPECT_EQ(Doc.FrameCount(), 2u);
    EXPECT_EQ(Doc.GetIndex(), 0);
    Model->Execute(TCmd::FrameRight);
    EXPECT_EQ(Doc.GetIndex(), 1);
}

TEST_F(TMainFormFixture, HandOverOpensOnlyNewProjectsAndAlwaysComesForward) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    Doc.SetFileName(MakeFile(QStringLiteral("offen.dgm")));
    Model->HandleInstanceMessage({QStringLiteral("/usr/bin/zp"), Doc.FileName(), {}, {}});
    EXPECT_EQ(View.BroughtToFront, 1);
    EXPECT_EQ(Model->DocFormList.size(), 1u);
    Model->HandleInstanceMessage({QStringLiteral("/usr/bin/zp"), MakeFile(QStringLiteral("x.png")), {}, {}});
    Model->HandleInstanceMessage({QStringLiteral("/usr/bin/zp"), QStringLiteral("/a"), {}, {}});
    Model->HandleInstanceMessage(
        {QStringLiteral("/usr/bin/zp"), Places.Path(QStringLiteral("fehlt.dgm")), {}, {}});
    EXPECT_EQ(View.BroughtToFront, 4);
    EXPECT_EQ(Model->DocFormList.size(), 1u);
    EXPECT_ANY_THROW(Model->HandleInstanceMessage(
        {QStringLiteral("/usr/bin/zp"), MakeFile(QStringLiteral("neu.dgm")), {}, {}}));
}

TEST_F(TMainFormFixture, BatchRulesAlwaysEndTheProgram) {
    const QString Gif = Places.Path(QStringLiteral("out.gif"));
    SetCommandLine({QStringLiteral("/a"), MakeFile(QStringLiteral("quelle.DGM")), Gif});
    EXPECT_FALSE(Model->RunBatchConversion()); // the extension is compared exactly
    EXPECT_EQ(View.Closed, 1);
    EXPECT_TRUE(Model->DocFormList.empty());
    SetCommandLine({QStringLiteral("/a"), Places.Path(QStringLiteral("fehlt.dgm")), Gif});
    EXPECT_FALSE(Model->RunBatchConversion());
    SetCommandLine({QStringLiteral("/a"), MakeFile(QStringLiteral("q.dgm"))});
    EXPECT_FALSE(Model->RunBatchConversion());
    SetCommandLine({QStringLiteral("/b")});
    EXPECT_FALSE(Model->RunBatchConversion());
    EXPECT_EQ(View.Closed, 4);
    EXPECT_FALSE(QFile::exists(Gif));
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST_F(TMainFormFixture, ExportingTheAnimationFollowsTheNameRules) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(20, 10);
    EXPECT_FALSE(View.States[TCmd::GifExport]);
    const QString Bild = Places.Path(QStringLiteral("bild"));
    Dialogs.SaveNames = {{Bild, 0}};
    Model->Execute(TCmd::GifExport);
    EXPECT_EQ(Doc.ActivePage(), Doc.TabSheetGif());
    EXPECT_TRUE(QFile::exists(Bild + QStringLiteral(".gif")));
    EXPECT_EQ(Doc.AnimGifFileName(), Bild + QStringLiteral(".gif"));
    EXPECT_TRUE(View.States[TCmd::GifExport]);

    // The next export offers the last name; an existing file asks first: another name, then
    // replace.
    const QString Upper = Places.Path(QStringLiteral("bild.GIF"));
    Dialogs.SaveNames = {{Bild + QStringLiteral(".gif"), 0}, {Upper, 0}};
    Dialogs.ReplaceAnswers = {mrNo};
    Model->Execute(TCmd::GifExport);
    ASSERT_EQ(Dialogs.SavePresets.size(), 3u);
    EXPECT_EQ(Dialogs.SavePresets[1].first, Bild + QStringLiteral(".gif"));
    EXPECT_TRUE(QFile::exists(Upper + QStringLiteral(".gif"))); // bild.GIF becomes bild.GIF.gif

    Dialogs.SaveNames = {{Bild + QStringLiteral(".gif"), 0}};
    Dialogs.ReplaceAnswers = {mrCancel};
    QFile::remove(Upper + QStringLiteral(".gif"));
    Model->Execute(TCmd::GifExport);
    EXPECT_FALSE(QFile::exists(Upper + QStringLiteral(".gif")));
}

TEST_F(TMainFormFixture, SaveAsAddsTheFilterExtension) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(20, 10);
    const QString Bild = Places.Path(QStringLiteral("bild"));
    Dialogs.SaveNames = {{Bild, 5}};
    EXPECT_TRUE(Model->SaveDocumentAs(Doc));
    EXPECT_TRUE(QFile::exists(Bild + QStringLiteral(".gif")));
    EXPECT_TRUE(Doc.FileName().isEmpty()); // a picture save keeps the document untitled
    EXPECT_EQ(Doc.Caption(), QStringLiteral("Unbenannt1"));

    const QString Txt = Places.Path(QStringLiteral("bild.txt"));
    Dialogs.SaveNames = {{Txt, 5}};
    Model->SaveDocumentAs(Doc);
    EXPECT_TRUE(QFile::exists(Txt + QStringLiteral(".gif")));

    // The GIF of a single frame is a plain 87a picture.
    QFile F(Bild + QStringLiteral(".gif"));
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.read(6), QByteArray("GIF87a"));

    // The tool buttons start the dialog on PNG and JPEG.
    Dialogs.SavePresets.clear();
    Model->Execute(TCmd::SaveAsPng);
    Model->Execute(TCmd::SaveAsJpg);
    ASSERT_EQ(Dialogs.SavePresets.size(), 2u);
    EXPECT_EQ(Dialogs.SavePresets[0].second, 4);
    EXPECT_EQ(Dialogs.SavePresets[1].second, 2);
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST_F(TMainFormFixture, PropertiesModeFollowsLayerKindAndTool) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    auto* Text = Doc.InsertLayer(std::make_unique<TNamedLayer>("TTextLayer"));
    auto* Polygon = Doc.InsertLayer(std::make_unique<TNamedLayer>("T2DPolygon"));
    auto* Picture = Doc.InsertLayer(std::make_unique<TNamedLayer>("TPicLayer"));
    std::vector<TEnableType> Modes;
    const int Handler = Model->Palettes.OnChange.Add([&](const TPaletteState& S) {
        if (Modes.empty() || Modes.back() != S.PropertiesMode) Modes.push_back(S.PropertiesMode);
    });
    Doc.SelectLayer(Text);
    EXPECT_EQ(Modes, (std::vector<TEnableType>{enableText}));
    Doc.SelectLayer(Polygon); // the polygon tool is not down
    EXPECT_EQ(Modes.size(), 1u);
    Model->Palettes.SetTool(ptPaintPolygon);
    Model->UpdatePropertiesMode();
    EXPECT_EQ(Modes, (std::vector<TEnableType>{enableText, enablePolygon}));
    Doc.SelectLayer(Picture);
    EXPECT_EQ(Model->Palettes.State().PropertiesMode, enablePicture);
    Doc.SelectLayer(nullptr);
    Model->UpdatePropertiesMode();
    EXPECT_EQ(Model->Palettes.State().PropertiesMode, enablePicture);
    Model->Palettes.OnChange.Remove(Handler);
}

TEST_F(TMainFormFixture, PaletteCommandsCarryACheckWhenVisible) {
    View.VisiblePalettes = {QStringLiteral("mnLayerTool")};
    Model->ChangeMenuPic();
    EXPECT_FALSE(View.Checks["mnTextTool"]);
    EXPECT_TRUE(View.Checks["mnLayerTool"]);
    EXPECT_FALSE(View.Checks["mnPaintbox"]);
}

} // namespace
} // namespace zp

#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"

namespace zp {
namespace {

// A 4 x 2 picture file whose left half is transparent red and right half opaque blue.
QString WriteTransparentPng(const QString& Path) {
    TBitmap32 B;
    B.SetSize(4, 2);
    B.FillRect(0, 0, 2, 2, 0x00FF0000);
    B.FillRect(2, 0, 4, 2, 0xFF0000FF);
    WriteFileSafely(Path, EncodeTransparentPNG(B));
    return Path;
}

TEST_F(TMainFormFixture, PicturesOpenAsUntitledOpaqueDocuments) {
    Model->StartupHandled = true;
    const QString Png = WriteTransparentPng(Places.Path(QStringLiteral("x.PNG")));
    TDocForm* Doc = Model->OpenFile(Png, false);
    ASSERT_TRUE(Doc);
    const TBitmap32& B = Doc->ImgView()->Bitmap();
    EXPECT_EQ(B.Pixel(0, 0), 0xFF000000u); // transparent areas become opaque black
    EXPECT_EQ(B.Pixel(3, 1), 0xFF0000FFu);
    EXPECT_EQ(Doc->Caption(), QStringLiteral("Unbenannt1"));
    EXPECT_EQ(Doc->FileName(), Png);
    EXPECT_EQ(Model->OpenFile(Png, false), nullptr); // the same path opens no second document
    EXPECT_EQ(Model->DocFormList.size(), 1u);

    // Save offers the picture's path; replacing writes a PNG, the document stays untitled.
    Dialogs.SaveNames = {{Png, 0}};
    Dialogs.ReplaceAnswers = {mrYes};
    EXPECT_TRUE(Model->SaveDocument(*Doc));
    ASSERT_FALSE(Dialogs.SavePresets.empty());
    EXPECT_EQ(Dialogs.SavePresets.back().first, Png);
    EXPECT_EQ(Doc->FileName(), Png);
    EXPECT_EQ(Doc->Caption(), QStringLiteral("Unbenannt1"));
    const auto Back = LoadPictureFromFile(Png);
    EXPECT_EQ(Back->Pixel(0, 0), 0xFF000000u);

    // A broken picture reports an error and opens nothing.
    const QString Bad = Places.Path(QStringLiteral("kaputt.png"));
    TTempPlaces::WriteText(Bad, "\\x89PNG nothing else");
    EXPECT_THROW(Model->OpenFile(Bad, false), std::exception);
    EXPECT_EQ(Model->DocFormList.size(), 1u);
}

TEST_F(TMainFormFixture, SaveAsNameRulesForPictures) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(6, 4);
    auto Save = [&](const QString& Name, int Filter) {
        Dialogs.SaveNames = {{Places.Path(Name), Filter}};
        return Model->SaveDocumentAs(Doc);
    };
    EXPECT_TRUE(Save(QStringLiteral("bild"), 4));
    EXPECT_TRUE(QFile::exists(Places.Path(QStringLiteral("bild.png"))));
    EXPECT_TRUE(Save(QStringLiteral("bild.txt"), 4));
    EXPECT_TRUE(QFile::exists(Places.Path(QStringLiteral("bild.txt.png"))));
    EXPECT_TRUE(Save(QStringLiteral("bild.JPG"), 4));
    EXPECT_EQ(TTempPlaces::ReadText(Places.Path(QStringLiteral("bild.JPG"))).left(2), QByteArray("\xFF\xD8"));
    EXPECT_TRUE(Save(QStringLiteral("bild.jpeg"), 2));
    EXPECT_TRUE(QFile::exists(Places.Path(QStringLiteral("bild.jpeg.jpg"))));
    EXPECT_TRUE(Save(QStringLiteral("bild.bmp"), 1));
    EXPECT_EQ(TTempPlaces::ReadText(Places.Path(QStringLiteral("bild.bmp"))).left(2), QByteArray("BM"));

    // Cancelling the replace question writes nothing; "another name" asks again.
    const QString Png = Places.Path(QStringLiteral("bild.png"));
    const QByteArray Before = TTempPlaces::ReadText(Png);
    Doc.ImgView()->Bitmap().Clear(0xFF00FF00);
    Dialogs.SaveNames = {{Png, 0}};
    Dialogs.ReplaceAnswers = {mrCancel};
    EXPECT_FALSE(Model->SaveDocumentAs(Doc));
    EXPECT_EQ(TTempPlaces::ReadText(Png), Before);
    Dialogs.SavePresets.clear();
    Dialogs.SaveNames = {{Png, 0}, {Places.Path(QStringLiteral("anders.png")), 0}};
    Dialogs.ReplaceAnswers = {mrNo};
    EXPECT_TRUE(Model->SaveDocumentAs(Doc));
    EXPECT_EQ(Dialogs.SavePresets.size(), 2u);
    EXPECT_EQ(LoadPictureFromFile(Places.Path(QStringLiteral("anders.png")))->Pixel(0, 0), 0xFF00FF00u);
}

TEST_F(TMainFormFixture, SavedPicturesAreTheComposedFrameWithoutHandles) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(8, 8);
    TImgView32& V = *Doc.ImgView();
    V.Bitmap().Clear(0xFFFFFFFF);
    TBitmap32 Half;
    Half.SetSize(8, 8);
    Half.Clear(0x80FF0000);
    Doc.CreateBitmapLayer(Half, {0, 0}, false);
    Model->Execute(TCmd::Scale); // the selection frame and its handles are over the picture
    ASSERT_TRUE(Doc.RBLayer());

    TColor32 Expected = 0xFFFFFFFF;
    BlendColorStore(0x80FF0000, Expected);
    Dialogs.SaveNames = {{Places.Path(QStringLiteral("f.png")), 0}};
    ASSERT_TRUE(Model->SaveDocumentAs(Doc));
    const auto Png = LoadPictureFromFile(Places.Path(QStringLiteral("f.png")));
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) ASSERT_EQ(Png->Pixel(X, Y), Expected | 0xFF000000u) << X << "," << Y;
    EXPECT_EQ(Doc.Selection(), nullptr);

    // The BMP keeps the composed alpha byte.
    Dialogs.SaveNames = {{Places.Path(QStringLiteral("f.bmp")), 0}};
    ASSERT_TRUE(Model->SaveDocumentAs(Doc));
    const QByteArray Bmp = TTempPlaces::ReadText(Places.Path(QStringLiteral("f.bmp")));
    const int Offset = static_cast<unsigned char>(Bmp[10]) | (static_cast<unsigned char>(Bmp[11]) << 8);
    EXPECT_EQ(static_cast<unsigned char>(Bmp[Offset + 3]), AlphaComponent(Expected));
}

} // namespace
} // namespace zp

#include "files/GifImage.h"
#include "shell/GifCommand.h"

#include <QImage>

namespace zp {
namespace {

TEST(GifCommand, BuildsAnAnimationFromPictureFiles) {
    TTempPlaces Places;
    QStringList Args{Places.Path(QStringLiteral("out.gif")),
                     QStringLiteral("--delay"),
                     QStringLiteral("250"),
                     QStringLiteral("--loops"),
                     QStringLiteral("3"),
                     QStringLiteral("--reduction"),
                     QStringLiteral("rmNetscape"),
                     QStringLiteral("--dither"),
                     QStringLiteral("dmNearest")};
    for (int I = 0; I < 3; ++I) {
        TBitmap32 B;
        B.SetSize(10, 6);
        B.Clear(0xFF000000u | static_cast<TColor32>(I * 0x330000));
        const QString Name = Places.Path(QStringLiteral("f%1.png").arg(I));
        WriteFileSafely(Name, EncodeTransparentPNG(B));
        Args << Name;
    }
    // An icon is a frame too.
    QImage Icon(10, 6, QImage::Format_ARGB32);
    Icon.fill(0xFF00FF00u);
    Icon.setPixel(0, 0, 0x00FFFFFFu);
    const QString Ico = Places.Path(QStringLiteral("f3.ico"));
    ASSERT_TRUE(Icon.save(Ico, "ICO"));
    Args << Ico;
    std::FILE* Null = std::fopen("/dev/null", "w");
    ASSERT_EQ(RunGifCommand(Args, Null), 0);
    const QByteArray Gif = TTempPlaces::ReadText(Places.Path(QStringLiteral("out.gif")));
    EXPECT_TRUE(Gif.startsWith("GIF89a"));
    EXPECT_EQ(Gif.count("NETSCAPE2.0"), 1);
    const int Loop = Gif.indexOf("NETSCAPE2.0");
    EXPECT_EQ(static_cast<unsigned char>(Gif[Loop + 13]), 3); // loop count, low byte
    // Four graphic control extensions, each with a delay of 25 hundredths.
    EXPECT_EQ(Gif.count(QByteArray("\x21\xF9\x04\x00\x19\x00", 6)), 4);

    EXPECT_EQ(RunGifCommand({Places.Path(QStringLiteral("x.gif")), QStringLiteral("--dither"),
                             QStringLiteral("dmUnknown"), Args.last()},
                            Null),
              2);
    EXPECT_EQ(RunGifCommand({Places.Path(QStringLiteral("x.gif"))}, Null), 2);
    EXPECT_EQ(
        RunGifCommand({Places.Path(QStringLiteral("x.gif")), Places.Path(QStringLiteral("fehlt.png"))}, Null),
        1);
    EXPECT_FALSE(QFile::exists(Places.Path(QStringLiteral("x.gif"))));
    std::fclose(Null);
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST_F(TMainFormFixture, RefusedSizesAndFailedSavesLoseNothing) {
    Model->StartupHandled = true;
    TDocForm& A = NewPicture();
    Touch(A);
    Dialogs.NewImages.push_back({200000, 200000, 0x00FFFFFF});
    EXPECT_THROW(Model->NewImageFromDialog(), EBitmapError);
    EXPECT_EQ(Model->DocFormList.size(), 1u);
    EXPECT_EQ(View.Windows.size(), 1u);
    EXPECT_EQ(Model->UnknownCounter(), 1);

    // "Ja", a project name in a folder that does not exist: the project cannot be written, the
    // document stays open, the program keeps running and the error is shown.
    Dialogs.Answers = {mrYes};
    Dialogs.SaveNames = {{Places.Path(QStringLiteral("nowhere/banner")), 1}};
    const std::size_t Shown = Dialogs.Shown.size();
    EXPECT_FALSE(Model->FormClose());
    EXPECT_EQ(Model->DocFormList.size(), 1u);
    EXPECT_EQ(Dialogs.Shown.size(), Shown + 2); // the question, then the error
    EXPECT_TRUE(A.FileName().isEmpty());        // no name the project was never written under
    EXPECT_FALSE(QFileInfo::exists(Places.Path(QStringLiteral("nowhere"))));

    // The same plain name in a folder that exists: written as a project, then closed.
    Dialogs.Answers = {mrYes};
    Dialogs.SaveNames = {{Places.Path(QStringLiteral("banner")), 1}};
    EXPECT_TRUE(Model->FormClose());
    EXPECT_TRUE(Model->DocFormList.empty());
    EXPECT_TRUE(QFileInfo::exists(Places.Path(QStringLiteral("banner.dgm"))));
}

// A second close request for the same document while its question is open.
TEST_F(TMainFormFixture, ClosingTwiceAtOnceClosesOnce) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    Touch(Doc);
    struct TReentrant : TUserDialogs {
        TMainForm& M;
        TDocForm& D;
        bool Inner = true;
        int Asked = 0;
        TUserDialogs* Previous;
        TReentrant(TMainForm& Model, TDocForm& Doc) : M(Model), D(Doc), Previous(SetUserDialogs(this)) {}
        ~TReentrant() override { SetUserDialogs(Previous); }
        void ShowMessage(const QString&, const QString&, TMsgIcon) override {}
        TModalResult AskYesNo(const QString&, const QString&) override { return mrNo; }
        TModalResult AskYesNoCancel(const QString&, const QString&) override {
            ++Asked;
            Inner = M.CloseProject(&D); // what a queued close box click would do
            return mrNo;
        }
    } Dialogs2(*Model, Doc);
    EXPECT_TRUE(Model->CloseProject(&Doc));
    EXPECT_FALSE(Dialogs2.Inner);
    EXPECT_EQ(Dialogs2.Asked, 1);
    EXPECT_TRUE(Model->DocFormList.empty());
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST_F(TMainFormFixture, ToolClicksSetCursorsModesAndTheMarkedRectangle) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    Doc.SetMouseEvents(false); // layer mode, as "Skalieren" leaves it

    Model->PaintboxToolClicked(ptMark);
    EXPECT_TRUE(Doc.ToolMode());
    EXPECT_EQ(Model->Palettes.State().Tool, ptMark);
    EXPECT_EQ(Doc.ImgView()->Cursor(), 1);
    EXPECT_FALSE(Doc.ImgView()->Layers().MouseEvents);

    Model->PaintboxToolClicked(ptPaintPolygon);
    EXPECT_EQ(Model->Palettes.State().PropertiesMode, enablePolygon);
    Model->PaintboxToolClicked(ptColorFiller);
    EXPECT_EQ(Doc.ImgView()->Cursor(), 117);
    Model->PaintboxToolClicked(ptPipette); // the pipette leaves the cursor
    EXPECT_EQ(Doc.ImgView()->Cursor(), 117);
    Model->PaintboxToolClicked(ptZeiger);
    EXPECT_EQ(Doc.ImgView()->Cursor(), 2);
}

} // namespace
} // namespace zp

#include "layers/Rectangle.h"

namespace zp {
namespace {

// One situation in which every command of the table has something to act on: a document of
// three frames, the middle one shown with three figures, the middle figure selected, the
// view zoomed, and one edit undone.
struct TSituation {
    TFakeView View;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Model;
    TDocForm* Doc = nullptr;

    TSituation() : Model(std::make_unique<TMainForm>(View)) {
        Model->StartupHandled = true;
        Dialogs.NewImages.push_back({60, 40, 0x00FFFFFF});
        Model->NewImageFromDialog();
        Doc = Model->DocFormList.back().get();
        for (int I = 0; I < 3; ++I) {
            auto R = std::make_unique<T2DRectangle>(5 + 10 * I, 5, 25 + 10 * I, 25);
            R->LayerStyle().SetFillColor(0xFF000000u | static_cast<TColor32>(0x400000 * (I + 1)));
            R->Paint();
            Doc->InsertLayer(std::move(R));
        }
        Doc->CreateNewFrame(1);
        Doc->CreateNewFrame(1);
        Doc->SetActivePage(Doc->Frame(1).TabSheet);
        Doc->SelectLayer(dynamic_cast<TPositionedLayer*>(Doc->CurrentView()->Layers().Items(1)));
        Doc->SetNumLoops(4);
        Doc->Undo();
        Doc->CurrentView()->SetScale(2.0f);
        Dialogs.NewFrames = {1};
        Dialogs.Angles = {QStringLiteral("45")};
        Dialogs.MotionBlurs = {{3, 4}};
    }

    // What a command can change that a user would notice.
    QString Fingerprint() const {
        QStringList F;
        F << QString::number(Dialogs.Questions) << QString::number(Model->DocFormList.size())
          << QString::number(View.Closed) << View.Toggled.join(QLatin1Char(','))
          << QString::number(View.Adjusted) << QString::number(View.Checks.size())
          << QString::number(Model->ProgramClipboard().ClpBrdLayer.size());
        if (Model->DocFormList.empty()) return F.join(QLatin1Char(' '));
        const TDocForm& D = *Model->DocFormList.front();
        F << QString::number(D.UndoCount()) << QString::number(D.RedoCount())
          << QString::number(D.FrameCount()) << QString::number(D.PageIndex(D.ActivePage()))
          << QString::number(D.ToolMode()) << QString::number(D.RBLayer() != nullptr)
          << QString::number(D.GifImg() != nullptr);
        if (const TImgView32* V = D.CurrentView()) F << QString::number(V->Scale());
        return F.join(QLatin1Char(' '));
    }
};

TEST_F(TMainFormFixture, EveryCommandActsOrIsAHiddenItem) {
    for (TCmd Command : AllCommands()) {
        TSituation S;
        const QString Before = S.Fingerprint();
        const std::size_t Messages = S.Dialogs.Shown.size();
        S.Model->Execute(Command);
        const QString After = S.Fingerprint();
        if (TMainForm::IsHiddenCommand(Command)) {
            EXPECT_EQ(After, Before) << static_cast<int>(Command);
        } else {
            EXPECT_NE(After, Before) << static_cast<int>(Command);
        }
        // No command answers that it is not there yet.
        for (std::size_t I = Messages; I < S.Dialogs.Shown.size(); ++I)
            EXPECT_FALSE(S.Dialogs.Shown[I].Text.contains(QStringLiteral("noch nicht")))
                << static_cast<int>(Command);
    }
}

TEST_F(TMainFormFixture, EffectAndRotationCommandsReachTheSelectedFigure) {
    TSituation S;
    auto& R = dynamic_cast<T2DRectangle&>(*S.Doc->Selection());
    S.Model->Execute(TCmd::MotionBlur); // strength 3, the fifth direction
    ASSERT_EQ(R.EffectObjectList.size(), 1u);
    const auto& Blur = dynamic_cast<const TMotionBlur&>(*R.EffectObjectList[0]);
    EXPECT_EQ(Blur.Strenght(), 3);
    EXPECT_EQ(Blur.Direction(), bldTopLeft);
    for (TCmd C : {TCmd::StrongSharpen, TCmd::Relief, TCmd::FineRelief}) S.Model->Execute(C);
    EXPECT_EQ(R.LayerStyle().EffectList,
              (std::vector<TEffectType>{efMotionBlur, efEdgesEnhance, efFindEdges, efLaplace}));

    const TGPMatrixElements Before = R.LayerStyle().TransformMatrix();
    S.Model->Execute(TCmd::RotateAngel);
    EXPECT_NE(R.LayerStyle().TransformMatrix().M12, Before.M12);
    // An entry that is no number is refused with a message; an empty one does nothing.
    S.Dialogs.Angles = {QStringLiteral("-"), QString()};
    const int Records = S.Doc->UndoCount();
    S.Model->Execute(TCmd::RotateAngel);
    EXPECT_EQ(S.Dialogs.Shown.back().Icon, TMsgIcon::Error);
    S.Model->Execute(TCmd::RotateAngel);
    EXPECT_EQ(S.Doc->UndoCount(), Records);

    // Undo and redo all of it through the commands.
    for (int I = 0; I < 5; ++I) S.Model->Execute(TCmd::Undo);
    EXPECT_TRUE(R.LayerStyle().EffectList.empty());
    EXPECT_TRUE(S.View.States[TCmd::Redo]);
    S.Model->Execute(TCmd::Redo);
    EXPECT_EQ(R.LayerStyle().EffectList.size(), 1u);
}

TEST_F(TMainFormFixture, AnEmptyNewFrameTakesColourOne) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture(30, 20);
    Model->Palettes.SetColor1(0x0000FF); // red, $00BBGGRR
    Dialogs.NewFrames = {3};
    Model->Execute(TCmd::NewFrame);
    ASSERT_EQ(Doc.FrameCount(), 2);
    EXPECT_EQ(Doc.CurrentView()->Bitmap().Pixel(29, 19), 0xFFFF0000u);
    EXPECT_EQ(Model->Palettes.State().FrameIndex, 1);
}

TEST_F(TMainFormFixture, ClosingAsksOnlyWhenThereAreChanges) {
    Model->StartupHandled = true;
    TDocForm& Doc = NewPicture();
    const std::size_t Asked = Dialogs.Shown.size();
    Touch(Doc);
    Model->Execute(TCmd::Undo); // back to the document as it was made
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(View.States[TCmd::Redo]);
    EXPECT_TRUE(Model->CloseProject(&Doc));
    EXPECT_EQ(Dialogs.Shown.size(), Asked);
    EXPECT_TRUE(Model->DocFormList.empty());
    EXPECT_FALSE(View.States[TCmd::Redo]); // nothing left to take back or forth
}

TEST_F(TMainFormFixture, TheSampleDocumentHoldsOneLayerOfEachFigureKindAndAText) {
    SetCommandLine({QStringLiteral("--sample-layers")});
    Model->FormActivate();
    ASSERT_EQ(Model->DocFormList.size(), 1u);
    TDocForm& Doc = *Model->DocFormList.front();
    TLayerCollection& Layers = Doc.CurrentView()->Layers();
    QStringList Kinds;
    for (int I = 0; I < Layers.Count(); ++I) Kinds << QString::fromLatin1(Layers.Items(I)->ClassName());
    EXPECT_EQ(Kinds, (QStringList{"T2DRectangle", "T2DEllipse", "T2DPolygon", "T2DLine", "TTextLayer"}));
    EXPECT_EQ(Doc.Selection(), Layers.Items(3));
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(Dialogs.Shown.empty()); // no start choice
}

} // namespace
} // namespace zp
