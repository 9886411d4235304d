#include "ui/HistoryMenu.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TOpened {
    QStringList Paths;
    std::function<void(const QString&)> Handler() {
        return [this](const QString& Path) { Paths << Path; };
    }
};

TEST(HistoryMenuTest, OneItemPerEntryReusingTheDesignTimeItem) {
    QMenu Menu;
    QAction* DesignTime = Menu.addAction("Zuletzt verendet");
    TOpened Opened;
    ShowHistoryItemsInMenu(
        &Menu, {{"neu.dgm", "/home/u/neu.dgm"}, {"alt.dgm", "/home/u/alt.dgm"}, {"x.dgm", "/x.dgm"}},
        Opened.Handler());
    const QList<QAction*> Actions = Menu.actions();
    ASSERT_EQ(Actions.size(), 3);
    EXPECT_EQ(Actions[0], DesignTime);
    EXPECT_EQ(Actions[0]->text(), "neu.dgm");
    EXPECT_EQ(Actions[0]->toolTip(), "/home/u/neu.dgm");
    EXPECT_EQ(Actions[2]->text(), "x.dgm");

    Actions[1]->trigger();
    EXPECT_EQ(Opened.Paths, QStringList{"/home/u/alt.dgm"});
}

TEST(HistoryMenuTest, RebuildingShrinksFromTheEndAndItemsOpenTheirNewPaths) {
    QMenu Menu;
    TOpened Opened;
    ShowHistoryItemsInMenu(&Menu, {{"a.dgm", "/a.dgm"}, {"b.dgm", "/b.dgm"}, {"c.dgm", "/c.dgm"}},
                           Opened.Handler());
    QAction* First = Menu.actions().at(0);
    ShowHistoryItemsInMenu(&Menu, {{"d.dgm", "/d.dgm"}}, Opened.Handler());
    ASSERT_EQ(Menu.actions().size(), 1);
    EXPECT_EQ(Menu.actions().at(0), First);
    First->trigger();
    // One connection per item: the click opens the current path exactly once.
    EXPECT_EQ(Opened.Paths, QStringList{"/d.dgm"});

    ShowHistoryItemsInMenu(&Menu, {}, Opened.Handler());
    EXPECT_TRUE(Menu.actions().isEmpty());
}

} // namespace
} // namespace zp
