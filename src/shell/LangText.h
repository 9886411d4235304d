#pragma once

#include <QString>

namespace zp {

// The language file: sections named after languages, keys that are control tags (captions and
// hints) or text keys (messages and fixed texts). It is read afresh for every lookup.
inline constexpr const char* LangFileBaseName = "lang.ini";
// The section every caption comes from, and the language a new settings file names.
inline constexpr const char* DefaultLanguage = "Deutsch";
// What a lookup gives for a key the file does not hold.
inline constexpr const char* TextError = "Text-Error!";

// The full path of lang.ini in the program folder.
QString LangFileName();

// The text of Key in section Language. A language the file does not know falls back to the
// file's second section. A missing file is reported to the user and gives an empty text.
QString LangText(const QString& Language, const QString& Key);
// The same for the language of the shared settings.
QString LangText(const QString& Key);

} // namespace zp
