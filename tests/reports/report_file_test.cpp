#include "reports/report_file.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace qelto::reports {
namespace {

namespace fs = std::filesystem;

TEST(ReportFile, ATemporaryPageGoesAwayWithItsObject) {
    fs::path path;
    {
        auto file = ReportFile::create(qelto::test::testDir(), "", true);
        ASSERT_TRUE(file);
        path = file->path();
        EXPECT_EQ(path.filename().string().rfind("~tmp", 0), 0U);
        ASSERT_TRUE(file->writeLine("<html>"));
        ASSERT_TRUE(file->close());
        EXPECT_EQ(qelto::test::readFile(path), "<html>\n");
        // A new report replaces the old one: the old file is deleted as it is replaced.
        auto next = ReportFile::create(qelto::test::testDir(), "", true);
        ASSERT_TRUE(next);
        *file = std::move(*next);
        EXPECT_FALSE(fs::exists(path));
        path = file->path();
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST(ReportFile, AMovedPageIsKept) {
    const fs::path saved = qelto::test::testDir() / "saved.html";
    {
        auto file = ReportFile::create(qelto::test::testDir(), "report.html", true);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->writeLine("a"));
        ASSERT_TRUE(file->moveTo(saved));
        EXPECT_EQ(file->path(), saved);
    }
    EXPECT_EQ(qelto::test::readFile(saved), "a\n");
    EXPECT_FALSE(fs::exists(qelto::test::testDir() / "report.html"));
}

TEST(ReportFile, AFolderThatIsNotThereIsAReason) {
    std::string error;
    EXPECT_FALSE(ReportFile::create(qelto::test::testDir() / "missing", "r.html", true, &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

}  // namespace
}  // namespace qelto::reports
