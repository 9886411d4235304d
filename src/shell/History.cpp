#include "shell/History.h"

#include "shell/Places.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <pugixml.hpp>

#include <algorithm>
#include <sstream>

namespace zp {

namespace {

constexpr const char* RootName = "History";
constexpr const char* EntryName = "HistoryFile";
constexpr const char* IdName = "ID";

std::vector<pugi::xml_node> Entries(const pugi::xml_document& Doc) {
    std::vector<pugi::xml_node> Result;
    for (pugi::xml_node Child : Doc.child(RootName).children())
        if (Child.type() == pugi::node_element) Result.push_back(Child);
    return Result;
}

QString EntryText(const pugi::xml_node& Entry) {
    return QString::fromUtf8(Entry.child_value());
}

void SetEntryText(pugi::xml_node Entry, const QString& Text) {
    // Replace the whole content, so an entry never ends up with two text pieces.
    while (Entry.first_child()) Entry.remove_child(Entry.first_child());
    Entry.append_child(pugi::node_pcdata).set_value(Text.toUtf8().constData());
}

void AddDeclaration(pugi::xml_document& Doc) {
    pugi::xml_node Declaration = Doc.prepend_child(pugi::node_declaration);
    Declaration.append_attribute("version") = "1.0";
    Declaration.append_attribute("encoding") = "UTF-8";
}

// The history is only a convenience list: a missing or unreadable file counts as an empty one
// and is rewritten at the next recording.
void LoadHistory(pugi::xml_document& Doc, const QString& FileName) {
    const pugi::xml_parse_result Result =
        Doc.load_file(QFile::encodeName(FileName).constData(), pugi::parse_default | pugi::parse_declaration);
    if (!Result || !Doc.child(RootName)) {
        Doc.reset();
        AddDeclaration(Doc);
        Doc.append_child(RootName);
    } else if (Doc.first_child().type() != pugi::node_declaration) {
        AddDeclaration(Doc);
    }
}

bool SaveHistory(const pugi::xml_document& Doc, const QString& FileName) {
    std::ostringstream Text;
    Doc.save(Text, "  ", pugi::format_default, pugi::encoding_utf8);
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly)) return false;
    const std::string Bytes = Text.str();
    File.write(Bytes.data(), qint64(Bytes.size()));
    return File.commit();
}

QString CurrentDateTimeText() {
    const QLocale Locale = QLocale::system();
    const QDateTime Now = QDateTime::currentDateTime();
    return Locale.toString(Now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           Locale.toString(Now.time(), QStringLiteral("HH:mm:ss"));
}

} // namespace

QString DefaultHistoryFileName() {
    const QString Folder = IsBatchMode() ? ProgramFolder() : AppDataFolder();
    return Folder + QStringLiteral("/history.xml");
}

THistory::THistory(QString FileName)
    : FHistoryFileName(FileName.isEmpty() ? DefaultHistoryFileName() : std::move(FileName)) {}

void THistory::CreateIfMissing() const {
    if (QFileInfo::exists(FHistoryFileName)) return;
    pugi::xml_document Doc;
    AddDeclaration(Doc);
    Doc.append_child(RootName);
    SaveHistory(Doc, FHistoryFileName);
}

int HistoryItemIndex(const pugi::xml_document& AXMLDoc, const QString& AFilePath) {
    const std::vector<pugi::xml_node> List = Entries(AXMLDoc);
    int Found = -1;
    for (size_t I = 0; I < List.size(); ++I)
        if (EntryText(List[I]) == AFilePath) Found = int(I);
    return Found;
}

bool HistoryItemAlreadyExist(const pugi::xml_document& AXMLDoc, const QString& AFilePath) {
    return HistoryItemIndex(AXMLDoc, AFilePath) >= 0;
}

void SortHistoryItems(pugi::xml_document& AXMLDoc, const QString& AFilePath, int StartIndex) {
    const std::vector<pugi::xml_node> List = Entries(AXMLDoc);
    if (List.empty() || StartIndex < 0 || size_t(StartIndex) >= List.size()) return;
    for (size_t K = size_t(StartIndex); K + 1 < List.size(); ++K)
        SetEntryText(List[K], EntryText(List[K + 1]));
    SetEntryText(List.back(), AFilePath);
}

void THistory::WriteFileToHistory(const QString& AFilePath, int NumLastUsed) const {
    if (AFilePath.isEmpty() || !QFileInfo(AFilePath).isFile()) return;
    pugi::xml_document Doc;
    LoadHistory(Doc, FHistoryFileName);
    pugi::xml_node Root = Doc.child(RootName);
    const int N = std::max(NumLastUsed, 0);

    std::vector<pugi::xml_node> List = Entries(Doc);
    while (int(List.size()) > N) {
        Root.remove_child(List.front());
        List.erase(List.begin());
    }

    const int Index = HistoryItemIndex(Doc, AFilePath);
    if (Index >= 0) {
        SortHistoryItems(Doc, AFilePath, Index);
    } else if (int(List.size()) < N) {
        pugi::xml_node Entry = Root.append_child(EntryName);
        Entry.append_attribute(IdName) = CurrentDateTimeText().toUtf8().constData();
        SetEntryText(Entry, AFilePath);
    } else {
        // Full: the oldest path drops out, the elements and their IDs stay.
        SortHistoryItems(Doc, AFilePath, 0);
    }
    SaveHistory(Doc, FHistoryFileName);
}

std::vector<THistoryItem> THistory::HistoryItems() const {
    pugi::xml_document Doc;
    LoadHistory(Doc, FHistoryFileName);
    const std::vector<pugi::xml_node> List = Entries(Doc);
    std::vector<THistoryItem> Items;
    for (auto It = List.rbegin(); It != List.rend(); ++It) {
        const QString Path = EntryText(*It);
        Items.push_back({QFileInfo(Path).fileName(), Path});
    }
    return Items;
}

} // namespace zp
