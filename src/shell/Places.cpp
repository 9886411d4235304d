#include "shell/Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace zp {

namespace {

QString FixedProgramFolder;
QString FixedAppDataFolder;
std::optional<QStringList> FixedArguments;

QString StripTrailingSeparator(QString Folder) {
    while (Folder.size() > 1 && Folder.endsWith(QLatin1Char('/'))) Folder.chop(1);
    return Folder;
}

} // namespace

QString ProgramFilePath() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ProgramFolder() {
    if (!FixedProgramFolder.isEmpty()) return FixedProgramFolder;
    return ProgramFolderFor(QFileInfo(ProgramFilePath()).absolutePath());
}

QString ProgramFolderFor(const QString& ExecutableFolder) {
    const QString ExeFolder = StripTrailingSeparator(ExecutableFolder);
    // An installed program keeps its files apart from the binary (app/CMakeLists.txt installs
    // them there); the build tree keeps them beside it.
    if (!QFileInfo::exists(ExeFolder + QStringLiteral("/lang.ini"))) {
        const QString Shared = QDir::cleanPath(ExeFolder + QStringLiteral("/../share/zelk-pixaro"));
        if (QFileInfo::exists(Shared + QStringLiteral("/lang.ini"))) return Shared;
    }
    return ExeFolder;
}

void SetProgramFolder(const QString& Folder) {
    FixedProgramFolder = StripTrailingSeparator(Folder);
}

QString AppDataFolder() {
    if (!FixedAppDataFolder.isEmpty()) return FixedAppDataFolder;
    QString Base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    if (Base.isEmpty() || QDir::isRelativePath(Base)) Base = QDir::homePath() + QStringLiteral("/.config");
    return StripTrailingSeparator(Base) + QStringLiteral("/Zelk-Pixaro");
}

void SetAppDataFolder(const QString& Folder) {
    FixedAppDataFolder = StripTrailingSeparator(Folder);
}

QString ForceAppDataFolder() {
    const QString Folder = AppDataFolder();
    // ~/.config itself may be missing on a fresh account, so create the whole path.
    QDir().mkpath(Folder);
    return Folder;
}

QString ParamStr(int Index) {
    if (Index < 1) return Index == 0 ? ProgramFilePath() : QString();
    QStringList Arguments;
    if (FixedArguments) {
        Arguments = *FixedArguments;
    } else if (QCoreApplication::instance()) {
        Arguments = QCoreApplication::arguments().mid(1);
    }
    return Index <= Arguments.size() ? Arguments.at(Index - 1) : QString();
}

void SetCommandLine(const QStringList& ArgumentsAfterProgram) {
    FixedArguments = ArgumentsAfterProgram;
}

void ResetCommandLine() {
    FixedArguments.reset();
}

bool IsBatchMode() {
    return ParamStr(1) == QStringLiteral("/a");
}

} // namespace zp
