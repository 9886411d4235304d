#pragma once

#include "shell/Places.h"
#include "shell/ScreenSize.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zp {

// A throw-away program folder and application-data folder, no command-line arguments and a
// screen of fixed size, for as long as the object lives.
class TTempPlaces {
public:
    explicit TTempPlaces(TScreenSize Screen = {1000, 800}) {
        QDir(Root.path()).mkpath(QStringLiteral("program"));
        SetProgramFolder(ProgramDir());
        // The application-data folder is left for the code under test to create.
        SetAppDataFolder(AppDataDir());
        SetCommandLine({});
        SetScreenSizeSource([Screen] { return Screen; });
    }
    ~TTempPlaces() {
        SetProgramFolder(QString());
        SetAppDataFolder(QString());
        ResetCommandLine();
        SetScreenSizeSource(nullptr);
    }
    TTempPlaces(const TTempPlaces&) = delete;
    TTempPlaces& operator=(const TTempPlaces&) = delete;

    QString ProgramDir() const { return Root.path() + QStringLiteral("/program"); }
    QString AppDataDir() const { return Root.path() + QStringLiteral("/config/Zelk-Pixaro"); }
    QString Path(const QString& Name) const { return Root.path() + QLatin1Char('/') + Name; }

    // Writes Text (UTF-8) to the file at FullPath.
    static void WriteText(const QString& FullPath, const QByteArray& Text) {
        QFile File(FullPath);
        if (File.open(QIODevice::WriteOnly)) File.write(Text);
    }
    static QByteArray ReadText(const QString& FullPath) {
        QFile File(FullPath);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }

private:
    QTemporaryDir Root;
};

} // namespace zp
