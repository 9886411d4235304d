#pragma once

#include <QString>

#include <vector>

namespace pugi {
class xml_document;
}

namespace zp {

// One entry of the recently used submenu: the file name as caption, the full path as hint.
struct THistoryItem {
    QString Caption;
    QString Hint;
};

// The list of recently closed projects in history.xml: a "History" root whose "HistoryFile"
// children hold the paths, oldest first. Nothing of it is kept in memory but the file name.
class THistory {
public:
    // Uses FileName, or the default place (see HistoryFileName()) when it is empty.
    explicit THistory(QString FileName = QString());

    const QString& HistoryFileName() const { return FHistoryFileName; }

    // Writes an empty history when the file is missing.
    void CreateIfMissing() const;

    // Records a closed project, keeping at most NumLastUsed entries. Only existing files are
    // recorded; a path already listed moves to the end.
    void WriteFileToHistory(const QString& AFilePath, int NumLastUsed) const;

    // The entries for the submenu, newest first.
    std::vector<THistoryItem> HistoryItems() const;

private:
    QString FHistoryFileName;
};

// history.xml beside the settings: in the application-data folder, in batch mode in the program
// folder.
QString DefaultHistoryFileName();

// The index of the last entry whose text is exactly AFilePath (letter case counts), or -1.
int HistoryItemIndex(const pugi::xml_document& AXMLDoc, const QString& AFilePath);
bool HistoryItemAlreadyExist(const pugi::xml_document& AXMLDoc, const QString& AFilePath);
// Moves the texts of the entries after StartIndex one place towards the front and puts
// AFilePath into the last entry. The "ID" attributes stay with their elements.
void SortHistoryItems(pugi::xml_document& AXMLDoc, const QString& AFilePath, int StartIndex);

} // namespace zp
