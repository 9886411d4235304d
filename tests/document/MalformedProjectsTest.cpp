// The project files collected in tests/data/malformed/projects: inputs that once crashed, hung or
// exhausted the reader under the fuzzer, and hand-made hostile files. A file whose name starts
// with "readable-" is damaged in a way the reader copes with; every other one must be refused.
#include "document/DocForm.h"
#include "support/ShownDocument.h"
#include "support/SmallProjectLimits.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zp {
namespace {

// The real limits, but for the total: a test cannot afford to fill a whole project's budget
// before a file is refused.
TProjectLimits RealLimits() {
    TProjectLimits L;
    L.MaxTotalPixels = std::int64_t{1} << 25;
    return L;
}

std::string ReadText(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

struct TMalformedProjects : ::testing::Test {
    TPlainDocHost Host;

    static std::vector<std::filesystem::path> Files(bool Readable) {
        std::vector<std::filesystem::path> Found;
        const auto Folder = std::filesystem::path(ZP_TEST_DATA_DIR) / "malformed" / "projects";
        for (const auto& Entry : std::filesystem::directory_iterator(Folder))
            if (Entry.is_regular_file() &&
                Entry.path().filename().string().starts_with("readable-") == Readable)
                Found.push_back(Entry.path());
        std::sort(Found.begin(), Found.end());
        return Found;
    }
};

TEST_F(TMalformedProjects, EveryDamagedFileIsRefusedWithAMessageAndLeavesTheDocumentEmpty) {
    const auto Paths = Files(false);
    EXPECT_GE(Paths.size(), 15u);
    for (const auto& Path : Paths) {
        const std::string Name = Path.filename().string();
        SCOPED_TRACE(Name);
        // The text reader says why.
        {
            TDocForm Doc(Host);
            try {
                Doc.LoadProjectFromXMLText(ReadText(Path), SmallProjectLimits());
                ADD_FAILURE() << "the text was read";
            } catch (const std::exception& E) {
                EXPECT_STRNE(E.what(), "");
            }
            EXPECT_TRUE(LeftEmpty(Doc));
        }
        // Opening the file names it too, at the fuzzer's limits and at the real ones.
        for (const TProjectLimits& Limits : {SmallProjectLimits(), RealLimits()}) {
            TDocForm Doc(Host);
            try {
                Doc.LoadProjectFromXML(QString::fromStdString(Path.string()), Limits);
                ADD_FAILURE() << "the file was read with at most " << Limits.MaxSurfacePixels
                              << " pixels a surface";
            } catch (const EProjectFileError& E) {
                const QString Message = QString::fromUtf8(E.what());
                EXPECT_TRUE(Message.contains(QString::fromStdString(Name))) << E.what();
                // The English texts of the drawing and surface layers never reach the user.
                EXPECT_FALSE(Message.contains(QStringLiteral("Drawing error")) ||
                             Message.contains(QStringLiteral("allocate")))
                    << E.what();
            }
            EXPECT_TRUE(LeftEmpty(Doc));
        }
    }
}

TEST_F(TMalformedProjects, ReadableDamageGivesADocumentThatIsWrittenAndReadBackAlike) {
    const auto Paths = Files(true);
    EXPECT_GE(Paths.size(), 1u);
    for (const auto& Path : Paths) {
        SCOPED_TRACE(Path.filename().string());
        TDocForm Doc(Host);
        ASSERT_NO_THROW(Doc.LoadProjectFromXML(QString::fromStdString(Path.string()), SmallProjectLimits()));
        std::string Written;
        ASSERT_NO_THROW(Written = Doc.ProjectToXMLText());
        TDocForm Again(Host);
        ASSERT_NO_THROW(Again.LoadProjectFromXMLText(Written, SmallProjectLimits()));
        EXPECT_TRUE(TShown(Again) == TShown(Doc));
    }
}

} // namespace
} // namespace zp
