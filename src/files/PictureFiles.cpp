#include "files/PictureFiles.h"

#include "files/FileError.h"
#include "files/Metafile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace zp {

namespace {

std::string Utf8(const QString& Text) {
    return Text.toUtf8().toStdString();
}

void SavePicture(const QString& AFileName, const TBitmap32* ABitmap32,
                 std::vector<std::uint8_t> (*Encode)(const TBitmap32&)) {
    if (!ABitmap32) return;
    std::vector<std::uint8_t> Data;
    try {
        Data = Encode(*ABitmap32);
    } catch (const EFileError& E) {
        RaiseFileError(E.Kind(), FileTexts::SWriteFailed, Utf8(AFileName), E.what());
    }
    WriteFileSafely(AFileName, Data);
}

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const QString& FileName, std::int64_t MaxBytes) {
    QFile File(FileName);
    if (!File.exists()) RaiseFileError(fekNotFound, FileTexts::SNotFound, Utf8(FileName));
    if (!File.open(QIODevice::ReadOnly)) RaiseFileError(fekRead, FileTexts::SReadFailed, Utf8(FileName));
    const qint64 Size = File.size();
    if (Size > MaxBytes)
        RaiseFileError(fekTooLarge, FileTexts::SOpenFailed, Utf8(FileName), FileTexts::SFileTooLarge);
    std::vector<std::uint8_t> Data;
    try {
        Data.resize(static_cast<std::size_t>(Size));
    } catch (const std::bad_alloc&) {
        RaiseFileError(fekTooLarge, FileTexts::SOpenFailed, Utf8(FileName), FileTexts::SOutOfMemory);
    }
    qint64 Done = 0;
    while (Done < Size) {
        const qint64 Got = File.read(reinterpret_cast<char*>(Data.data()) + Done, Size - Done);
        if (Got <= 0) break;
        Done += Got;
    }
    // A file that shrank while being read is decoded as what was read.
    if (Done < Size) {
        if (File.error() != QFileDevice::NoError)
            RaiseFileError(fekRead, FileTexts::SReadFailed, Utf8(FileName));
        Data.resize(static_cast<std::size_t>(Done));
    }
    return Data;
}

QString FileExtension(const QString& FileName) {
    const QString Name = QFileInfo(FileName).fileName();
    const qsizetype Dot = Name.lastIndexOf(QLatin1Char('.'));
    return Dot < 0 ? QString() : Name.mid(Dot);
}

bool IsPictureExtension(const QString& Ext) {
    return PictureFormatOfExtension(Ext.toStdString()) != pfNone;
}

std::unique_ptr<TBitmap32> LoadPictureFromFile(const QString& FileName, const TDecodeLimits& Limits) {
    const QString Ext = FileExtension(FileName);
    const TPictureFormat Format = PictureFormatOfExtension(Ext.toStdString());
    if (Format == pfNone) RaiseFileError(fekUnsupported, FileTexts::SUnknownKind, Utf8(Ext));
    const std::vector<std::uint8_t> Data = ReadWholeFile(FileName);
    try {
        return DecodePicture(Data, Format, Limits);
    } catch (const EFileError& E) {
        RaiseFileError(E.Kind(), FileTexts::SOpenFailed, Utf8(FileName), E.what());
    }
}

namespace {

// An icon file holds the same picture in several sizes: the largest is taken. Qt's reader
// gives 32-bit icons their alpha and older ones their mask.
std::unique_ptr<TBitmap32> LoadIcon(const QString& FileName, const TDecodeLimits& Limits) {
    QImageReader Reader(FileName, "ico");
    if (!Reader.canRead())
        RaiseFileError(
            fekMalformed, FileTexts::SOpenFailed, Utf8(FileName),
            Utf8(QString::fromUtf8(FileTexts::SMalformed).arg(QStringLiteral("ICO"), Reader.errorString())));
    int Best = -1;
    std::int64_t BestPixels = -1;
    for (int I = 0; I < std::max(1, Reader.imageCount()); ++I) {
        if (!Reader.jumpToImage(I)) break;
        const QSize S = Reader.size();
        const std::int64_t Pixels = std::int64_t{S.width()} * S.height();
        if (Pixels > BestPixels) {
            Best = I;
            BestPixels = Pixels;
        }
    }
    if (BestPixels > Limits.MaxPixels)
        RaiseFileError(fekTooLarge, FileTexts::SOpenFailed, Utf8(FileName), FileTexts::SFileTooLarge);
    // Always jump back: the loop above left the reader at the last picture.
    if (Best >= 0) Reader.jumpToImage(Best);
    const QImage Image = Reader.read().convertToFormat(QImage::Format_ARGB32);
    if (Image.isNull())
        RaiseFileError(
            fekMalformed, FileTexts::SOpenFailed, Utf8(FileName),
            Utf8(QString::fromUtf8(FileTexts::SMalformed).arg(QStringLiteral("ICO"), Reader.errorString())));
    auto Picture = std::make_unique<TBitmap32>();
    Picture->SetSize(Image.width(), Image.height());
    for (int Y = 0; Y < Image.height(); ++Y)
        std::memcpy(Picture->ScanLine(Y), Image.constScanLine(Y),
                    static_cast<std::size_t>(Image.width()) * 4);
    return Picture;
}

} // namespace

std::unique_ptr<TBitmap32> LoadLayerPictureFromFile(const QString& FileName, const TDecodeLimits& Limits) {
    const QString Ext = FileExtension(FileName);
    if (Ext.compare(QLatin1String(".ico"), Qt::CaseInsensitive) == 0) {
        if (!QFileInfo::exists(FileName)) RaiseFileError(fekNotFound, FileTexts::SNotFound, Utf8(FileName));
        return LoadIcon(FileName, Limits);
    }
    const bool Emf = Ext.compare(QLatin1String(".emf"), Qt::CaseInsensitive) == 0;
    if (Emf || Ext.compare(QLatin1String(".wmf"), Qt::CaseInsensitive) == 0) {
        const std::vector<std::uint8_t> Data = ReadWholeFile(FileName);
        try {
            return Emf ? DecodeEMF(Data, Limits) : DecodeWMF(Data, Limits);
        } catch (const EFileError& E) {
            RaiseFileError(E.Kind(), FileTexts::SOpenFailed, Utf8(FileName), E.what());
        }
    }
    const TPictureFormat Format = PictureFormatOfExtension(Ext.toStdString());
    if (Format == pfNone) RaiseFileError(fekUnsupported, FileTexts::SUnknownKind, Utf8(Ext));
    const std::vector<std::uint8_t> Data = ReadWholeFile(FileName);
    try {
        // A picture layer keeps the picture's transparency.
        if (Format == pfGIF) return DecodeGIFWithAlpha(Data, Limits);
        if (Format != pfPNG) return DecodePicture(Data, Format, Limits);
        TPngTransparency Transparency = ptNone;
        return DecodePNGWithAlpha(Data, Transparency, Limits);
    } catch (const EFileError& E) {
        RaiseFileError(E.Kind(), FileTexts::SOpenFailed, Utf8(FileName), E.what());
    }
}

void WriteFileSafely(const QString& FileName, std::span<const std::uint8_t> Data) {
    // QSaveFile writes to a temporary file next to the target and renames it on commit; it
    // never falls back to writing the target directly. Unbuffered, because commit() does not
    // report a failure of the final flush: a short file would replace the old one.
    QSaveFile File(FileName);
    const auto Failed = [&](const QString& Reason) {
        File.cancelWriting();
        RaiseFileError(fekWrite, FileTexts::SWriteFailed, Utf8(FileName), Utf8(Reason));
    };
    if (!File.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) Failed(File.errorString());
    qint64 Done = 0;
    const auto Size = static_cast<qint64>(Data.size());
    while (Done < Size) {
        const qint64 Written = File.write(reinterpret_cast<const char*>(Data.data()) + Done, Size - Done);
        if (Written <= 0) Failed(File.errorString());
        Done += Written;
    }
    if (!File.commit()) Failed(File.errorString());
}

void SaveAsPNG(const QString& AFileName, const TBitmap32* ABitmap32) {
    SavePicture(AFileName, ABitmap32, EncodePNG);
}

void SaveAsJPG(const QString& AFileName, const TBitmap32* ABitmap32) {
    SavePicture(AFileName, ABitmap32, EncodeJPG);
}

void SaveAsBitmap(const QString& AFileName, const TBitmap32* ABitmap32) {
    SavePicture(AFileName, ABitmap32, EncodeBitmap);
}

} // namespace zp
