#include "shell/GifCommand.h"

#include "files/AnimGif.h"
#include "files/PictureFiles.h"
#include "raster/Bitmap32.h"
#include "raster/Parallel.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <exception>
#include <memory>

namespace zp {

namespace {

constexpr const char* Usage =
    "Aufruf: zelk-pixaro --gif ZIEL.gif [--delay MS] [--loops N] [--reduction NAME] [--dither NAME] BILD...\n"
    "  --delay MS        Anzeigedauer jedes Bildes in Millisekunden (Vorgabe 1000)\n"
    "  --loops N         Wiederholungen, 0 = endlos (Vorgabe 0)\n"
    "  --reduction NAME  rmNone, rmWindows20, rmWindows256, rmWindowsGray, rmMonochrome, rmGrayScale,\n"
    "                    rmNetscape, rmQuantize (Vorgabe), rmQuantizeWindows\n"
    "  --dither NAME     dmNearest, dmFloydSteinberg (Vorgabe), dmStucki, dmSierra, dmJaJuNI,\n"
    "                    dmSteveArche, dmBurkes\n"
    "  BILD              JPEG, BMP, GIF, PNG, ICO, EMF oder WMF\n";

constexpr const char* ReductionNames[] = {"rmNone",        "rmWindows20",  "rmWindows256",
                                          "rmWindowsGray", "rmMonochrome", "rmGrayScale",
                                          "rmNetscape",    "rmQuantize",   "rmQuantizeWindows"};
constexpr const char* DitherNames[] = {"dmNearest", "dmFloydSteinberg", "dmStucki", "dmSierra",
                                       "dmJaJuNI",  "dmSteveArche",     "dmBurkes"};

template <std::size_t N> int IndexOf(const char* const (&Names)[N], const QString& Name) {
    for (std::size_t I = 0; I < N; ++I)
        if (Name == QLatin1String(Names[I])) return static_cast<int>(I);
    return -1;
}

int Fail(std::FILE* Err, const QString& Message) {
    std::fprintf(Err, "zelk-pixaro: %s\n", Message.toUtf8().constData());
    return 2;
}

bool IsDocumentPicture(const QString& File) {
    const QString Suffix = QFileInfo(File).suffix();
    return !Suffix.isEmpty() && IsPictureExtension(QLatin1Char('.') + Suffix);
}

// Decodes the frames on all cores; the first failure in order is reported.
std::vector<std::unique_ptr<TBitmap32>> LoadFrames(const QStringList& Files) {
    std::vector<std::unique_ptr<TBitmap32>> Frames(static_cast<std::size_t>(Files.size()));
    ParallelFor(static_cast<int>(Frames.size()), [&](int I) {
        const QString& File = Files[I];
        // The four document kinds open as documents do; icons and metafiles as they are
        // inserted, on a transparent background.
        Frames[static_cast<std::size_t>(I)] =
            IsDocumentPicture(File) ? LoadPictureFromFile(File) : LoadLayerPictureFromFile(File);
    });
    return Frames;
}

} // namespace

int RunGifCommand(const QStringList& Arguments, std::FILE* Err) {
    if (Arguments.isEmpty())
        return Fail(Err, QStringLiteral("Kein Ziel angegeben.\n") + QString::fromUtf8(Usage));
    const QString Target = Arguments.first();
    int Delay = 1000, Loops = 0;
    TColorReduction Reduction = rmQuantize;
    TDitherMode Dither = dmFloydSteinberg;
    QStringList Files;
    for (qsizetype I = 1; I < Arguments.size(); ++I) {
        const QString& A = Arguments[I];
        const bool Option = A == QLatin1String("--delay") || A == QLatin1String("--loops") ||
                            A == QLatin1String("--reduction") || A == QLatin1String("--dither");
        if (!Option) {
            Files << A;
            continue;
        }
        if (I + 1 >= Arguments.size()) return Fail(Err, QStringLiteral("Zu %1 fehlt der Wert.").arg(A));
        const QString Value = Arguments[++I];
        bool Ok = true;
        if (A == QLatin1String("--delay")) {
            Delay = Value.toInt(&Ok);
            // The file stores hundredths of a second in 16 bits.
            Ok = Ok && Delay >= 0 && Delay <= 655350;
        } else if (A == QLatin1String("--loops")) {
            Loops = Value.toInt(&Ok);
            Ok = Ok && Loops >= 0 && Loops <= 65535;
        } else if (A == QLatin1String("--reduction")) {
            const int R = IndexOf(ReductionNames, Value);
            Ok = R >= 0;
            if (Ok) Reduction = static_cast<TColorReduction>(R);
        } else {
            const int D = IndexOf(DitherNames, Value);
            Ok = D >= 0;
            if (Ok) Dither = static_cast<TDitherMode>(D);
        }
        if (!Ok)
            return Fail(
                Err,
                QStringLiteral("Unbekannter Wert für %1: %2\n%3").arg(A, Value, QString::fromUtf8(Usage)));
    }
    if (Files.isEmpty())
        return Fail(Err, QStringLiteral("Keine Bilder angegeben.\n") + QString::fromUtf8(Usage));

    // Icons and metafiles are read through Qt, metafile texts need its fonts.
    std::unique_ptr<QGuiApplication> App;
    if (!QCoreApplication::instance() &&
        std::any_of(Files.begin(), Files.end(), [](const QString& F) { return !IsDocumentPicture(F); })) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int Argc = 1;
        static char Name[] = "zelk-pixaro";
        static char* Argv[] = {Name, nullptr};
        App = std::make_unique<QGuiApplication>(Argc, Argv);
    }
    try {
        const std::vector<std::unique_ptr<TBitmap32>> Frames = LoadFrames(Files);
        std::vector<TGifFrameSource> Sources;
        for (const auto& F : Frames) Sources.push_back({F.get(), Delay, Reduction, Dither});
        const std::unique_ptr<TGIFImage> Gif = CreateAnimGif(Sources, Loops);
        SaveAnimGif(Gif.get(), Target);
    } catch (const std::exception& E) {
        std::fprintf(Err, "zelk-pixaro: %s\n", E.what());
        return 1;
    }
    return 0;
}

} // namespace zp
