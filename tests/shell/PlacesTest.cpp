#include "shell/Places.h"
#include "support/QtPrinters.h"
#include "support/TempPlaces.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(Places, TheProgramFolderIsBesideTheProgramUnlessItIsInstalledUnderShare) {
    QTemporaryDir Root;
    const QString Prefix = Root.path() + QStringLiteral("/usr");
    const QString Bin = Prefix + QStringLiteral("/bin"), Data = Prefix + QStringLiteral("/share/zelk-pixaro");
    ASSERT_TRUE(QDir().mkpath(Bin));
    // Nothing anywhere: the program's own folder, where a missing language file is reported.
    EXPECT_EQ(ProgramFolderFor(Bin), Bin);

    ASSERT_TRUE(QDir().mkpath(Data));
    TTempPlaces::WriteText(Data + QStringLiteral("/lang.ini"), "[Texts]\n");
    EXPECT_EQ(ProgramFolderFor(Bin), Data);
    EXPECT_EQ(ProgramFolderFor(Bin + QLatin1Char('/')), Data);

    // The build tree: the files beside the program win.
    TTempPlaces::WriteText(Bin + QStringLiteral("/lang.ini"), "[Texts]\n");
    EXPECT_EQ(ProgramFolderFor(Bin), Bin);
}

} // namespace
} // namespace zp
