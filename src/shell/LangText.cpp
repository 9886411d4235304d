#include "shell/LangText.h"

#include "document/UserDialogs.h"
#include "shell/IniFile.h"
#include "shell/Places.h"
#include "shell/Settings.h"
#include "shell/Version.h"

#include <QFileInfo>

namespace zp {

QString LangFileName() {
    return ProgramFolder() + QLatin1Char('/') + QLatin1String(LangFileBaseName);
}

QString LangText(const QString& Language, const QString& Key) {
    const QString FileName = LangFileName();
    if (!QFileInfo(FileName).isFile()) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  QStringLiteral("Language-file doesnt exist!"), TMsgIcon::Information);
        return QString();
    }
    const TIniFile Ini(FileName);
    const QString Missing = QString::fromUtf8(TextError);
    if (Ini.SectionExists(Language)) return Ini.ReadString(Language, Key, Missing);
    // A file with a single section and no match has nothing to fall back on.
    const QStringList Sections = Ini.ReadSections();
    if (Sections.size() < 2) return Missing;
    return Ini.ReadString(Sections.at(1), Key, Missing);
}

QString LangText(const QString& Key) {
    return LangText(Settings().Language, Key);
}

} // namespace zp
