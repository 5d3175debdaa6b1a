// qeltoctl report against qelto-unitsim and on document files: the figures a manager reads back
// from the page's cell tags, what is refused before a unit is touched, and that a failed read
// writes no page.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "reports/page_tags.h"
#include "reports/xlsx_archive.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;

// Pump 2 is calibrated (120 ml/min), pump 1 is timed. Program 1 doses both.
json unitWithUsage() {
    json memory = unitMemory();
    memory["programNames"] = {"Towels <b>", "Sheets"};
    memory["customerLines"] = {"Hotel \"Sud\"", "Laundry 2"};
    memory["usage"] = {{"counters",
                        {{{"program", 1}, {"pump", 1}, {"cycles", 12}, {"amount", 3400}},
                         {{"program", 0}, {"pump", 1}, {"cycles", 40}, {"amount", 70000}},
                         {{"program", 0}, {"pump", 0}, {"cycles", 2}, {"amount", 0x010203}}}}};
    return memory;
}

// Read by pattern, the way an outside checker would, not by the program's own collector.
std::map<std::string, std::string> cellTags(const std::string& page) {
    return reports::test::readTags(page).cells;
}

class ReportCommand : public ::testing::Test {
  protected:
    void startUnit(const json& memory) {
        sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, memory);
    }

    ProcessResult onUnit(std::vector<std::string> args, const std::string& pin = "1234") const {
        args.insert(args.end(), {"--port", sim->portPath(), "--pin", pin});
        return runQeltoctl(args);
    }

    std::filesystem::path page = testDir() / "report.html";
    std::unique_ptr<SimProcess> sim;
};

TEST_F(ReportCommand, TheUnitsOwnTotalsArriveInTheUsagePagesCellsAndItsWorkbook) {
    startUnit(unitWithUsage());
    const auto book = testDir() / "report.xlsx";
    ASSERT_TRUE(
        exited(onUnit({"report", "usage", "--out", page.string(), "--xlsx", book.string()}), 0));
    const auto cells = cellTags(readFile(page));

    // A usage page (A3) drawn from a unit (A8). Program 1 (column D), pump 2 (rows 7-12): count
    // in row 6p+4, volume in row 6p+5. All programs (column X): the calibrated pump's volume, the
    // timed pump's hours, minutes and seconds. Names escaped in their tags.
    const std::map<std::string, std::string> expected{{"A3", "0"},
                                                      {"A8", "2"},
                                                      {"D10", "12"},
                                                      {"D11", "3400"},
                                                      {"X10", "40"},
                                                      {"X11", "70000"},
                                                      {"X1", "1"},
                                                      {"X2", "2"},
                                                      {"X3", "3"},
                                                      {"X4", "2"},
                                                      {"B80", "Towels &lt;b&gt;"},
                                                      {"A5", "Hotel &quot;Sud&quot;"}};
    for (const auto& [cell, value] : expected) {
        EXPECT_EQ(cells.count(cell) ? cells.at(cell) : "(none)", value) << cell;
    }

    // The workbook's data sheet (the template's first) holds the same figures, the name as typed.
    std::string error;
    auto archive = reports::XlsxArchive::open(book, error);
    ASSERT_TRUE(archive) << error;
    const auto sheet = archive->read("xl/worksheets/sheet1.xml", error);
    ASSERT_TRUE(sheet) << error;
    EXPECT_NE(sheet->find(R"(<c r="X11"><v>70000</v></c>)"), std::string::npos) << *sheet;
    EXPECT_NE(sheet->find("Towels &lt;b&gt;"), std::string::npos);
}

TEST_F(ReportCommand, ASettingsPageComesFromAUnitOrFromADocumentFile) {
    startUnit(unitWithUsage());
    ASSERT_TRUE(exited(onUnit({"report", "settings", "--out", page.string()}), 0));
    auto cells = cellTags(readFile(page));
    EXPECT_EQ(cells.at("A3"), "1");
    EXPECT_EQ(cells.at("A8"), "2");
    EXPECT_EQ(cells.at("A10"), "123456789");
    // Program 1, trigger 1, pump 1: the pulse count in row 1 of column D.
    EXPECT_EQ(cells.at("D1"), "3");

    const auto document = testDir() / "unit.qlf";
    ASSERT_TRUE(exited(onUnit({"read", "--out", document.string()}), 0));
    ASSERT_TRUE(exited(
        runQeltoctl({"report", "settings", "--in", document.string(), "--out", page.string()}), 0));
    cells = cellTags(readFile(page));
    EXPECT_EQ(cells.at("A8"), "0") << "drawn from a document";
    EXPECT_EQ(cells.at("D1"), "3");
    EXPECT_EQ(cells.count("A10"), 0u) << "the serial number cell is a unit's only";
    EXPECT_NE(readFile(page).find(" 123456789"), std::string::npos) << "the file keeps the unit's";
}

TEST_F(ReportCommand, ADishwashUnitsDocumentGivesTheDishwashPage) {
    sim = std::make_unique<SimProcess>(testDir(), QELTO_UNITSIM_PATH,
                                       std::vector<std::string>{"--kind", "legacy-dishwash"});
    const auto document = testDir() / "dishwash.qlf";
    ASSERT_TRUE(exited(runQeltoctl({"legacy", "dishwash", "read", "--port", sim->portPath(),
                                    "--out", document.string()}),
                       0));
    ASSERT_TRUE(exited(
        runQeltoctl({"report", "settings", "--in", document.string(), "--out", page.string()}), 0));
    const auto cells = cellTags(readFile(page));
    EXPECT_EQ(cells.at("A9"), "1") << "a dishwash unit's page";
    EXPECT_EQ(cells.count("D1"), 0u) << "no laundry program steps";
}

TEST_F(ReportCommand, ARangeTheLogCannotBeSearchedForIsRefusedBeforeTheUnitIsAsked) {
    startUnit(unitWithUsage());
    const std::vector<std::vector<std::string>> refused{
        {"--from", "2026-11-01"},
        {"--from", "2026-11-31", "--to", "2026-12-01"},
        {"--from", "2026-11-05", "--to", "2026-11-01"},
        {"--from", "2026-11-01", "--to", "2026-11-05", "--shift", "06:00-14:00"},
        {"--from", "2026-11-01", "--to", "2026-11-05", "--shift", "14:00-06:00", "--shift",
         "06:00-14:00"},
        {"--shift", "06:00-14:00", "--shift", "14:00-22:00"},
    };
    for (std::vector<std::string> args : refused) {
        args.insert(args.begin(), {"report", "usage", "--out", page.string()});
        const ProcessResult r = onUnit(args);
        EXPECT_EQ(r.exitCode, 2) << args[4] << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_EQ(readFile(sim->requestLog()), "") << "a usage error never reaches the unit";
}

// Outputs are checked before a unit is asked anything or a file is read: one that clashes with
// another or with the input is a usage error, one that cannot be written a failure; neither
// leaves a file changed, and a read that is not saved never says the unit was read.
TEST_F(ReportCommand, OutputsAreCheckedBeforeAnythingIsTouched) {
    startUnit(unitWithUsage());
    const auto document = testDir() / "unit.qlf";
    ASSERT_TRUE(exited(onUnit({"read", "--out", document.string()}), 0, {"has been read"}));
    const std::string saved = readFile(document);
    writeFile(sim->requestLog(), "");
    const auto folder = testDir() / "folder.qlf";
    std::filesystem::create_directory(folder);
    const std::string book = (testDir() / "same.xlsx").string();
    const std::string linkToDocument = (testDir() / "link.html").string();
    std::filesystem::create_symlink(document, linkToDocument);

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        bool onUnit;
    };
    const std::string in = document.string();
    for (const Case& c : {
             Case{{"report", "settings", "--in", in, "--out", in}, 2, false},
             Case{{"report", "settings", "--in", in, "--out", linkToDocument}, 2, false},
             Case{{"report", "settings", "--in", in, "--out", page.string(), "--xlsx", in},
                  2,
                  false},
             Case{{"report", "usage", "--out", book, "--xlsx", book}, 2, true},
             Case{{"report", "usage", "--out", folder.string()}, 1, true},
             Case{{"read", "--out", folder.string()}, 1, true},
             Case{{"read", "--out", (testDir() / "none" / "x.qlf").string()}, 1, true},
         }) {
        const ProcessResult r = c.onUnit ? onUnit(c.args) : runQeltoctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << c.args[2] << ": " << r.err;
        EXPECT_EQ(r.err.find("has been read"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(sim->requestLog()), "") << "the unit was never asked";
    EXPECT_EQ(readFile(document), saved);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_FALSE(std::filesystem::exists(book));
}

TEST_F(ReportCommand, AFailedReadWritesNoPage) {
    startUnit(unitWithUsage());
    EXPECT_TRUE(exited(onUnit({"report", "usage", "--out", page.string()}, "1"), 1));
    EXPECT_FALSE(std::filesystem::exists(page));
}

}  // namespace
}  // namespace qelto::test
