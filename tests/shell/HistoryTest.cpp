#include "shell/History.h"

#include "support/TempPlaces.h"

#include <QFileInfo>

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TEntry {
    QString Id;
    QString Path;
    bool operator==(const TEntry&) const = default;
};

void PrintTo(const TEntry& E, std::ostream* Out) {
    *Out << E.Id.toStdString() << " " << E.Path.toStdString();
}

class HistoryTest : public ::testing::Test {
protected:
    HistoryTest() : History(Places.Path(QStringLiteral("history.xml"))) {}

    // An existing project file named Name.
    QString Project(const QString& Name) {
        const QString Path = Places.Path(Name);
        TTempPlaces::WriteText(Path, "<ProjectFile/>");
        return Path;
    }
    QString P(int I) { return Places.Path(QStringLiteral("p%1.dgm").arg(I)); }

    // A history file with the given entries, each with the ID "idK" for its position K.
    void WriteHistory(const QStringList& Paths) {
        QByteArray Xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<History>\n";
        for (int K = 0; K < Paths.size(); ++K)
            Xml += "  <HistoryFile ID=\"id" + QByteArray::number(K) + "\">" + Paths[K].toUtf8() +
                   "</HistoryFile>\n";
        Xml += "</History>\n";
        TTempPlaces::WriteText(History.HistoryFileName(), Xml);
    }

    std::vector<TEntry> Entries() {
        pugi::xml_document Doc;
        EXPECT_TRUE(Doc.load_file(History.HistoryFileName().toUtf8().constData()));
        std::vector<TEntry> Result;
        for (pugi::xml_node E : Doc.child("History").children("HistoryFile"))
            Result.push_back(
                {QString::fromUtf8(E.attribute("ID").value()), QString::fromUtf8(E.child_value())});
        return Result;
    }

    TTempPlaces Places;
    THistory History;
};

TEST_F(HistoryTest, ANewFileHoldsTheDeclarationAndAnEmptyRoot) {
    History.CreateIfMissing();
    pugi::xml_document Doc;
    ASSERT_TRUE(Doc.load_file(History.HistoryFileName().toUtf8().constData(),
                              pugi::parse_default | pugi::parse_declaration));
    const pugi::xml_node Declaration = Doc.first_child();
    ASSERT_EQ(Declaration.type(), pugi::node_declaration);
    EXPECT_STREQ(Declaration.attribute("version").value(), "1.0");
    EXPECT_STREQ(Declaration.attribute("encoding").value(), "UTF-8");
    EXPECT_TRUE(Doc.child("History"));
    EXPECT_FALSE(Doc.child("History").first_child());
    EXPECT_TRUE(History.HistoryItems().empty());

    // An existing history is left alone.
    WriteHistory({P(1)});
    History.CreateIfMissing();
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(HistoryTest, TheDefaultPlaceFollowsTheSettings) {
    EXPECT_EQ(THistory().HistoryFileName(), Places.AppDataDir() + QStringLiteral("/history.xml"));
    SetCommandLine({QStringLiteral("/a"), QStringLiteral("a.dgm"), QStringLiteral("b.gif")});
    EXPECT_EQ(THistory().HistoryFileName(), Places.ProgramDir() + QStringLiteral("/history.xml"));
}

TEST_F(HistoryTest, RecordsAppendNewestLastAndTheMenuShowsNewestFirst) {
    History.CreateIfMissing();
    const QString A = Project("first.dgm");
    const QString B = Project(QString::fromUtf8("zweites Plakat ä.dgm"));
    History.WriteFileToHistory(A, 5);
    History.WriteFileToHistory(B, 5);
    const std::vector<TEntry> List = Entries();
    ASSERT_EQ(List.size(), 2u);
    EXPECT_EQ(List[0].Path, A);
    EXPECT_EQ(List[1].Path, B);
    EXPECT_FALSE(List[0].Id.isEmpty());

    const std::vector<THistoryItem> Items = History.HistoryItems();
    ASSERT_EQ(Items.size(), 2u);
    EXPECT_EQ(Items[0].Caption, QString::fromUtf8("zweites Plakat ä.dgm"));
    EXPECT_EQ(Items[0].Hint, B);
    EXPECT_EQ(Items[1].Caption, "first.dgm");
    EXPECT_EQ(Items[1].Hint, A);
}

TEST_F(HistoryTest, TheNewestEntryAgainChangesNothing) {
    const QString A = Project("a.dgm"), B = Project("b.dgm");
    WriteHistory({A, B});
    History.WriteFileToHistory(B, 5);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"id0", A}, {"id1", B}}));
}

TEST_F(HistoryTest, TheOldestAgainMovesToTheEndWhileIdsStayInPlace) {
    const QString A = Project("a.dgm"), B = Project("b.dgm"), C = Project("c.dgm");
    WriteHistory({A, B, C});
    History.WriteFileToHistory(A, 5);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"id0", B}, {"id1", C}, {"id2", A}}));
}

TEST_F(HistoryTest, AFullListDropsTheOldestPath) {
    QStringList Five;
    for (int I = 1; I <= 5; ++I) Five << Project(QStringLiteral("p%1.dgm").arg(I));
    WriteHistory(Five);
    const QString Sixth = Project("p6.dgm");
    History.WriteFileToHistory(Sixth, 5);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{
                             {"id0", P(2)}, {"id1", P(3)}, {"id2", P(4)}, {"id3", P(5)}, {"id4", Sixth}}));
}

TEST_F(HistoryTest, LoweringTheCountTrimsToTheNewestAtTheNextRecording) {
    QStringList Ten;
    for (int I = 1; I <= 10; ++I) Ten << Project(QStringLiteral("p%1.dgm").arg(I));
    WriteHistory(Ten);
    // Already listed: the trimmed list keeps it as the newest.
    History.WriteFileToHistory(P(10), 3);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"id7", P(8)}, {"id8", P(9)}, {"id9", P(10)}}));

    WriteHistory(Ten);
    const QString Eleventh = Project("p11.dgm");
    History.WriteFileToHistory(Eleventh, 3);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"id7", P(9)}, {"id8", P(10)}, {"id9", Eleventh}}));
}

TEST_F(HistoryTest, PathsDifferingInCaseAreSeparateEntries) {
    const QString Upper = Project("Banner.dgm"), Lower = Project("banner.dgm");
    History.WriteFileToHistory(Upper, 5);
    History.WriteFileToHistory(Lower, 5);
    History.WriteFileToHistory(Upper, 5);
    const std::vector<TEntry> List = Entries();
    ASSERT_EQ(List.size(), 2u);
    EXPECT_EQ(List[0].Path, Lower);
    EXPECT_EQ(List[1].Path, Upper);
}

TEST_F(HistoryTest, OnlyExistingFilesAreRecordedButVanishedOnesStay) {
    const QString A = Project("a.dgm");
    WriteHistory({A, Places.Path(QStringLiteral("deleted.dgm"))});
    History.WriteFileToHistory(Places.Path(QStringLiteral("never.dgm")), 5);
    History.WriteFileToHistory(Places.ProgramDir(), 5); // a folder is no project
    History.WriteFileToHistory(QString(), 5);
    EXPECT_EQ(Entries(),
              (std::vector<TEntry>{{"id0", A}, {"id1", Places.Path(QStringLiteral("deleted.dgm"))}}));
    EXPECT_EQ(History.HistoryItems().size(), 2u);
}

TEST_F(HistoryTest, ACountOfZeroRecordsNothingAndClearsTheList) {
    const QString A = Project("a.dgm"), B = Project("b.dgm");
    WriteHistory({A});
    History.WriteFileToHistory(B, 0);
    EXPECT_TRUE(Entries().empty());
    History.WriteFileToHistory(B, -2);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(HistoryTest, WithRepeatedPathsTheLastOneCounts) {
    const QString A = Project("a.dgm"), B = Project("b.dgm"), C = Project("c.dgm");
    WriteHistory({A, B, A, C});
    History.WriteFileToHistory(A, 5);
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"id0", A}, {"id1", B}, {"id2", C}, {"id3", A}}));
}

TEST_F(HistoryTest, AnUnreadableHistoryStartsAfresh) {
    TTempPlaces::WriteText(History.HistoryFileName(), "<History><HistoryFile>broken");
    EXPECT_TRUE(History.HistoryItems().empty());
    const QString A = Project("a.dgm");
    History.WriteFileToHistory(A, 5);
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Entries()[0].Path, A);

    // A missing file is recreated the same way.
    QFile::remove(History.HistoryFileName());
    History.WriteFileToHistory(A, 5);
    EXPECT_EQ(Entries().size(), 1u);
}

} // namespace
} // namespace zp
