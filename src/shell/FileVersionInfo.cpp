#include "shell/FileVersionInfo.h"

#include "shell/Places.h"
#include "shell/Version.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include <iterator>

namespace zp {

namespace {

// File types as a version record states them.
constexpr std::uint32_t FileTypeApplication = 1;

bool IsProgramFile(const QString& FileName) {
    const QString Canonical = QFileInfo(FileName).canonicalFilePath();
    return !Canonical.isEmpty() && Canonical == QFileInfo(ProgramFilePath()).canonicalFilePath();
}

} // namespace

QString FileFunctionName(std::uint32_t FileType, std::uint32_t SubType) {
    static const char* const Drivers[] = {"Unknown Driver",  "Printer Driver",       "Keyboard Driver",
                                          "Language Driver", "Display Driver",       "Mouse Driver",
                                          "Network Driver",  "System Driver",        "InstallableDriver",
                                          "Sound Driver",    "Communications Driver"};
    static const char* const Fonts[] = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};
    switch (FileType) {
    case 0: return QStringLiteral("Unknown");
    case 1: return QStringLiteral("Application");
    case 2: return QStringLiteral("DLL");
    case 3: return SubType < std::size(Drivers) ? QString::fromLatin1(Drivers[SubType]) : QString();
    case 4: return SubType < std::size(Fonts) ? QString::fromLatin1(Fonts[SubType]) : QString();
    case 5:
        return QStringLiteral("Virtual Defice Identifier = ") +
               QStringLiteral("%1").arg(SubType, 8, 16, QLatin1Char('0')).toUpper();
    case 7: return QStringLiteral("Static-link Library");
    default: return QString();
    }
}

TFileVersionInfo ReadFileVersionInfo(const QString& FileName) {
    TFileVersionInfo Info;
    if (QFileInfo(FileName).exists()) Info.FileType = QMimeDatabase().mimeTypeForFile(FileName).comment();
    if (!IsProgramFile(FileName)) return Info;

    Info.CompanyName = QString::fromUtf8(CompanyName);
    Info.FileDescription = QString::fromUtf8(FileDescription);
    Info.FileVersion = QString::fromUtf8(ProductVersion);
    Info.InternalName = QStringLiteral("zelk-pixaro");
    Info.LegalCopyRight = QString::fromUtf8(LegalCopyRight);
    Info.OriginalFileName = QStringLiteral("zelk-pixaro");
    Info.ProductName = QString::fromUtf8(ProductName);
    Info.ProductVersion = QString::fromUtf8(ProductVersion);
    Info.FileFunction = FileFunctionName(FileTypeApplication, 0);
    return Info;
}

int VersionNumber(const QString& FileVersion) {
    QString Digits = FileVersion;
    Digits.remove(QLatin1Char('.'));
    bool Ok = false;
    const int Number = Digits.toInt(&Ok, 10);
    return Ok ? Number : 0;
}

} // namespace zp
