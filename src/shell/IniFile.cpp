#include "shell/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zp {

namespace {

bool SameName(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// Values written by hand are sometimes quoted; the quotes are not part of the value.
QString Unquote(const QString& Value) {
    if (Value.size() >= 2) {
        const QChar First = Value.front();
        if ((First == QLatin1Char('"') || First == QLatin1Char('\'')) && Value.back() == First)
            return Value.mid(1, Value.size() - 2);
    }
    return Value;
}

} // namespace

TIniFile::TIniFile(QString FileName) : FFileName(std::move(FileName)) {
    QFile File(FFileName);
    if (!File.open(QIODevice::ReadOnly)) return;
    const QByteArray Bytes = File.readAll();
    if (Bytes.contains("\r\n")) FLineBreak = QStringLiteral("\r\n");
    Parse(QString::fromUtf8(Bytes));
}

bool TIniFile::FileExists() const {
    return QFileInfo(FFileName).isFile();
}

void TIniFile::Parse(const QString& Text) {
    QStringList Lines = Text.split(QLatin1Char('\n'));
    // The last element is what follows the final line break; it is no line of its own.
    if (!Lines.isEmpty() && Lines.back().isEmpty()) Lines.removeLast();
    // Editors on other systems like to start UTF-8 files with a byte-order mark.
    if (!Lines.isEmpty() && Lines.front().startsWith(QChar(0xFEFF))) Lines.front().remove(0, 1);
    QString Current;
    for (QString& Raw : Lines) {
        if (Raw.endsWith(QLatin1Char('\r'))) Raw.chop(1);
        TLine Line;
        Line.Text = Raw;
        const QString Trimmed = Raw.trimmed();
        if (Trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype Close = Trimmed.indexOf(QLatin1Char(']'));
            if (Close > 0) {
                Current = Trimmed.mid(1, Close - 1).trimmed();
                Line.IsSection = true;
                Line.Section = Current;
            }
        } else if (!Trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype Equal = Trimmed.indexOf(QLatin1Char('='));
            if (Equal > 0) {
                Line.IsKey = true;
                Line.Section = Current;
                Line.Key = Trimmed.left(Equal).trimmed();
                Line.Value = Unquote(Trimmed.mid(Equal + 1).trimmed());
            }
        }
        FLines.push_back(std::move(Line));
    }
}

int TIniFile::FindSection(const QString& Section) const {
    for (size_t I = 0; I < FLines.size(); ++I)
        if (FLines[I].IsSection && SameName(FLines[I].Section, Section)) return int(I);
    return -1;
}

int TIniFile::FindKey(const QString& Section, const QString& Ident) const {
    const int Header = FindSection(Section);
    if (Header < 0) return -1;
    for (size_t I = size_t(Header) + 1; I < FLines.size() && !FLines[I].IsSection; ++I)
        if (FLines[I].IsKey && SameName(FLines[I].Key, Ident)) return int(I);
    return -1;
}

QStringList TIniFile::ReadSections() const {
    QStringList Result;
    for (const TLine& Line : FLines) {
        if (!Line.IsSection) continue;
        bool Known = false;
        for (const QString& Name : Result) Known = Known || SameName(Name, Line.Section);
        if (!Known) Result.push_back(Line.Section);
    }
    return Result;
}

bool TIniFile::SectionExists(const QString& Section) const {
    return FindSection(Section) >= 0;
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
    return FindKey(Section, Ident) >= 0;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    const int Index = FindKey(Section, Ident);
    return Index < 0 ? Default : FLines[size_t(Index)].Value;
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
    bool Ok = false;
    const int Value = ReadString(Section, Ident, QString()).toInt(&Ok, 10);
    return Ok ? Value : Default;
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    TLine Line;
    Line.IsKey = true;
    Line.Key = Ident;
    Line.Value = Value;
    Line.Text = Ident + QLatin1Char('=') + Value;

    const int Existing = FindKey(Section, Ident);
    if (Existing >= 0) {
        Line.Section = FLines[size_t(Existing)].Section;
        Line.Key = FLines[size_t(Existing)].Key;
        Line.Text = Line.Key + QLatin1Char('=') + Value;
        FLines[size_t(Existing)] = std::move(Line);
        return;
    }
    int Header = FindSection(Section);
    if (Header < 0) {
        TLine Head;
        Head.IsSection = true;
        Head.Section = Section;
        Head.Text = QLatin1Char('[') + Section + QLatin1Char(']');
        FLines.push_back(std::move(Head));
        Header = int(FLines.size()) - 1;
    }
    Line.Section = FLines[size_t(Header)].Section;
    // After the section's last key, so blank lines between sections stay where they were.
    size_t Insert = size_t(Header) + 1;
    for (size_t I = Insert; I < FLines.size() && !FLines[I].IsSection; ++I)
        if (FLines[I].IsKey) Insert = I + 1;
    FLines.insert(FLines.begin() + std::ptrdiff_t(Insert), std::move(Line));
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::UpdateFile() const {
    QString Text;
    for (const TLine& Line : FLines) Text += Line.Text + FLineBreak;
    QSaveFile File(FFileName);
    if (!File.open(QIODevice::WriteOnly)) return false;
    File.write(Text.toUtf8());
    return File.commit();
}

} // namespace zp
