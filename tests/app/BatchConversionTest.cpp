// The conversion "zelk-pixaro /a PROJECT TARGET", run as the real program without any display.
#include "document/DocForm.h"
#include "support/QtPrinters.h"
#include "support/ShownDocument.h"

#include "files/GifDecode.h"
#include "files/PictureFiles.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TRun {
    int Code = -1;
    QString Errors;
};

struct TBatchConversion : ::testing::Test {
    QTemporaryDir Dir;
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;
    QString Project;

    TBatchConversion() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Doc = std::make_unique<TDocForm>(Host);
        Doc->NewImage(90, 60, TColor{0x00F0E0D0});
        auto R = std::make_unique<T2DRectangle>(10, 10, 60, 40);
        R->LayerStyle().SetFillColor(0xFF2040C0);
        R->Paint();
        Doc->InsertLayer(std::move(R));
        TTextLayer* T = Doc->NewTextLayer();
        Doc->SetLayerText(*T, QStringLiteral("Hallo"));
        Doc->SetFrameSettings(0, 120, rmNetscape, dmNearest);
        Doc->CreateNewFrame(2);
        Doc->SetFrameSettings(1, 70, rmQuantize, dmFloydSteinberg);
        Doc->SetNumLoops(3);
        Doc->SelectLayer(nullptr);
        Project = Path("banner.dgm");
        EXPECT_TRUE(Doc->SelectSaveMethod(Project, QStringLiteral(".dgm")));
    }

    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    // The program as a user starts it from a terminal without a desktop.
    static TRun Run(const QStringList& Arguments) {
        QProcess P;
        QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
        for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            Env.remove(QString::fromLatin1(Name));
        P.setProcessEnvironment(Env);
        P.start(QStringLiteral(ZP_PROGRAM), QStringList{QStringLiteral("/a")} + Arguments);
        if (!P.waitForFinished(120000)) {
            P.kill();
            P.waitForFinished();
            return {};
        }
        const int Code = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1;
        return {Code, QString::fromUtf8(P.readAllStandardError())};
    }

    static std::vector<std::uint8_t> Bytes(const QString& Name) {
        QFile F(Name);
        if (!F.open(QIODevice::ReadOnly)) return {};
        const QByteArray B = F.readAll();
        return {B.begin(), B.end()};
    }
};

TEST_F(TBatchConversion, EveryTargetIsWrittenWithoutADisplay) {
    const TShown Shown(*Doc);

    ASSERT_EQ(Run({Project, Path("anim.gif")}).Code, 0);
    const test::TDecodedGif Gif = test::DecodeGif(Bytes(Path("anim.gif")));
    EXPECT_EQ(Gif.Width, 90);
    ASSERT_EQ(Gif.Images.size(), 2u);
    EXPECT_EQ(Gif.Images[0].Delay(), 12);
    EXPECT_EQ(Gif.Images[1].Delay(), 7);
    EXPECT_EQ(Gif.Images[0].Loops(), 3);

    // One picture: the first frame, as it is shown.
    for (const char* Name : {"bild.png", "bild.bmp"}) {
        ASSERT_EQ(Run({Project, Path(QString::fromLatin1(Name))}).Code, 0) << Name;
        const auto Picture = LoadPictureFromFile(Path(QString::fromLatin1(Name)));
        EXPECT_TRUE(SamePixels(*Picture, *Shown.Frames[0].Picture)) << Name;
    }
    ASSERT_EQ(Run({Project, Path("bild.jpg")}).Code, 0);
    EXPECT_EQ(LoadPictureFromFile(Path("bild.jpg"))->Width(), 90);
    ASSERT_EQ(Run({Project, Path("bild.GIF")}).Code, 0);
    EXPECT_EQ(test::DecodeGif(Bytes(Path("bild.GIF"))).Images.size(), 1u);

    // And a copy of the project.
    ASSERT_EQ(Run({Project, Path("kopie.dgm")}).Code, 0);
    TDocForm Copy(Host);
    Copy.LoadProjectFromXML(Path("kopie.dgm"));
    EXPECT_TRUE(TShown(Copy) == Shown);
}

TEST_F(TBatchConversion, AConversionThatWritesNothingSaysWhyAndFails) {
    const auto Refused = [&](const QStringList& Arguments, const QString& Said) {
        const TRun R = Run(Arguments);
        EXPECT_EQ(R.Code, 1) << Arguments.join(' ').toStdString();
        EXPECT_TRUE(R.Errors.contains(Said)) << R.Errors.toStdString();
    };
    Refused({Project}, QStringLiteral("Aufruf"));
    Refused({Path("fehlt.dgm"), Path("a.gif")}, QStringLiteral("gibt es nicht"));
    ASSERT_TRUE(QFile::copy(Project, Path("GROSS.DGM")));
    Refused({Path("GROSS.DGM"), Path("a.gif")}, QStringLiteral("„.dgm“"));
    Refused({Project, Path("fehlt/a.gif")}, QStringLiteral("Ordner"));
    Refused({Project, Path("fehlt/a.png")}, QStringLiteral("Ordner"));
    Refused({Project, Path("a.tif")}, QStringLiteral("Endung"));
    const std::vector<std::uint8_t> Good = Bytes(Project);
    QFile Half(Path("halb.dgm"));
    ASSERT_TRUE(Half.open(QIODevice::WriteOnly));
    Half.write(reinterpret_cast<const char*>(Good.data()), static_cast<qint64>(Good.size() / 2));
    Half.close();
    Refused({Path("halb.dgm"), Path("a.gif")}, QStringLiteral("kann nicht geöffnet werden"));
    for (const char* Name : {"a.gif", "a.png", "a.tif", "fehlt"})
        EXPECT_FALSE(QFile::exists(Path(QString::fromLatin1(Name)))) << Name;
}

} // namespace
} // namespace zp
