#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zp {

// A Windows-style INI file (UTF-8) held in memory between loading and UpdateFile. Sections
// keep their file order, which the language lookup relies on. Section and key names compare
// without regard to case; the first of several equal sections or keys is the one used.
// Lines that are not sections or "key=value" pairs (comments, blanks) survive a rewrite.
class TIniFile {
public:
    // Reads FileName if it exists; a missing file is an empty one.
    explicit TIniFile(QString FileName);

    const QString& FileName() const { return FFileName; }
    bool FileExists() const;

    // Section names in file order, each once.
    QStringList ReadSections() const;
    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // A value that is not a whole number gives Default.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // Stored as a number: zero is false, any other number true.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;

    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);

    // Writes the file (through a temporary file, so a failed write keeps the old one).
    bool UpdateFile() const;

private:
    struct TLine {
        QString Text;    // the line as it stands in the file
        QString Section; // set for a section header
        QString Key;     // set for a key line
        QString Value;
        bool IsSection = false;
        bool IsKey = false;
    };

    void Parse(const QString& Text);
    // Index of the header line of Section, or -1.
    int FindSection(const QString& Section) const;
    // Index of the key line, or -1.
    int FindKey(const QString& Section, const QString& Ident) const;

    QString FFileName;
    std::vector<TLine> FLines;
    QString FLineBreak = QStringLiteral("\n");
};

} // namespace zp
