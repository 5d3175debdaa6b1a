#include "reports/xlsx_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <pugixml.hpp>

#include "platform/user_paths.h"
#include "reports/xlsx_cell_value.h"
#include "support/test_env.h"

namespace qelto::reports {
namespace {

namespace fs = std::filesystem;
using Parts = std::map<std::string, std::string>;

// The archive's parts as they are on disk, read with libzip directly.
Parts readParts(const fs::path& path) {
    Parts parts;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
    EXPECT_NE(archive, nullptr) << path;
    for (zip_int64_t i = 0; archive != nullptr && i < zip_get_num_entries(archive, 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_index(archive, index, 0, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, index, 0);
        zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        parts[stat.name] = bytes;
    }
    if (archive != nullptr) {
        zip_discard(archive);
    }
    return parts;
}

void writeParts(const fs::path& path, const Parts& parts) {
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, 0), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

pugi::xml_node sheetData(pugi::xml_document& sheet, const std::string& bytes) {
    EXPECT_TRUE(sheet.load_string(bytes.c_str()));
    return sheet.child("worksheet").child("sheetData");
}

// "A1|Z1;X4|Z4;B14;" : the rows in file order, each with its cells in file order.
std::string layout(const pugi::xml_node& data) {
    std::string text;
    for (const auto row : data.children("row")) {
        std::string cells;
        for (const auto cell : row.children("c")) {
            cells += (cells.empty() ? "" : "|") + std::string(cell.attribute("r").value());
        }
        text += cells + ";";
    }
    return text;
}

fs::path shippedTemplate() {
    return platform::dataDir() / "QeltoReport.xlsx";
}

TEST(XlsxExport, FillsTheDataSheetInOrderWithNumbersAsNumbersAndTextAsTyped) {
    const fs::path target = test::testDir() / "report.xlsx";
    test::writeFile(target, "an older export");
    const std::map<std::string, std::string> cells{
        {"X4", "1234"},  {"X5", " 12.50"},       {"A5", "=SUM(A1) <&>"}, {"A10", "007"},
        {"B14", "-0.5"}, {"A1", "07\\12\\2026"}, {"A100", "x\x01y"},     {"b2", "4"}};
    const ExportResult result = exportWorkbook(shippedTemplate(), target, "report", cells);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.cellsWritten, 7U);
    EXPECT_EQ(result.skippedCells, std::vector<std::string>{"b2"});

    Parts parts = readParts(target);
    pugi::xml_document sheet;
    const pugi::xml_node data = sheetData(sheet, parts["xl/worksheets/sheet1.xml"]);
    // The template notes rows 1-15 in column Z; row 100 is new.
    EXPECT_EQ(layout(data),
              "A1|Z1;Z2;Z3;X4|Z4;A5|X5|Z5;Z6;Z7;Z8;Z9;A10|Z10;Z11;Z12;Z13;B14|Z14;Z15;A100;");
    const auto cell = [&](const char* ref) {
        return data.find_node([&](const pugi::xml_node& n) {
            return std::string_view(n.name()) == "c" &&
                   std::string_view(n.attribute("r").value()) == ref;
        });
    };
    EXPECT_STREQ(cell("X4").child_value("v"), "1234");
    EXPECT_FALSE(cell("X4").attribute("t"));
    EXPECT_STREQ(cell("X5").child_value("v"), "12.50");
    EXPECT_STREQ(cell("B14").child_value("v"), "-0.5");
    for (const auto* text : {"A5", "A10", "A1"}) {
        EXPECT_STREQ(cell(text).attribute("t").value(), "inlineStr") << text;
        EXPECT_FALSE(cell(text).child("f")) << text;
    }
    EXPECT_STREQ(cell("A5").child("is").child_value("t"), "=SUM(A1) <&>");
    EXPECT_STREQ(cell("A10").child("is").child_value("t"), "007");
    EXPECT_STREQ(cell("A100").child("is").child_value("t"), "xy");

    pugi::xml_document workbook;
    ASSERT_TRUE(workbook.load_string(parts["xl/workbook.xml"].c_str()));
    EXPECT_STREQ(workbook.child("workbook").child("calcPr").attribute("fullCalcOnLoad").value(),
                 "1");
}

TEST(XlsxExport, FormulasInFilledCellsAndStaleResultsAndTheCalcChainGo) {
    const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const std::string sheetType = rels + "worksheet";
    const fs::path workbook = test::testDir() / "t.xlsx";
    writeParts(workbook,
               {{"[Content_Types].xml",
                 "<Types><Override PartName=\"/xl/workbook.xml\"/>"
                 "<Override PartName=\"/xl/calcChain.xml\"/></Types>"},
                {"xl/workbook.xml",
                 "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Sum\" r:id=\"a\"/>"
                 "<sheet name=\"Data\" r:id=\"b\"/></sheets><definedNames/></workbook>"},
                {"xl/_rels/workbook.xml.rels",
                 "<Relationships><Relationship Id=\"a\" Type=\"" + sheetType +
                     "\" Target=\"s/one.xml\"/><Relationship Id=\"b\" Type=\"" + sheetType +
                     "\" Target=\"/xl/s/two.xml\"/><Relationship Id=\"c\" Type=\"" + rels +
                     "calcChain\" Target=\"calcChain.xml\"/></Relationships>"},
                {"xl/calcChain.xml", "<calcChain/>"},
                {"xl/s/one.xml",
                 "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"str\"><f>Data!B3</f>"
                 "<v>old</v></c></row></sheetData></worksheet>"},
                {"xl/s/two.xml",
                 "<worksheet><dimension ref=\"A1\"/><sheetData><row><c/><c r=\"C1\"/></row>"
                 "<row r=\"3\" spans=\"1:1\"><c r=\"A3\" s=\"1\"><f>1+1</f><v>2</v></c></row>"
                 "</sheetData></worksheet>"}});
    const fs::path target = test::testDir() / "out.xlsx";
    const ExportResult result =
        exportWorkbook(workbook, target, "Data", {{"A3", "5"}, {"B3", "6"}, {"B1", "b"}});
    ASSERT_TRUE(result.ok) << result.reason;

    Parts parts = readParts(target);
    EXPECT_EQ(parts.count("xl/calcChain.xml"), 0U);
    EXPECT_EQ(parts["xl/_rels/workbook.xml.rels"].find("calcChain"), std::string::npos);
    EXPECT_EQ(parts["[Content_Types].xml"].find("calcChain"), std::string::npos);
    EXPECT_NE(
        parts["xl/workbook.xml"].find("</sheets><definedNames/><calcPr fullCalcOnLoad=\"1\"/>"),
        std::string::npos);
    EXPECT_NE(parts["xl/s/one.xml"].find("<c r=\"A1\"><f>Data!B3</f></c>"), std::string::npos);
    pugi::xml_document sheet;
    const pugi::xml_node data = sheetData(sheet, parts["xl/s/two.xml"]);
    EXPECT_EQ(layout(data), "A1|B1|C1;A3|B3;");
    EXPECT_EQ(sheet.child("worksheet").child("dimension").attribute("ref").value(),
              std::string("A1:C3"));
    const std::string two = parts["xl/s/two.xml"];
    EXPECT_NE(two.find("<row r=\"3\"><c r=\"A3\"><v>5</v></c><c r=\"B3\"><v>6</v></c></row>"),
              std::string::npos)
        << two;
}

// A workbook that cannot be finished is not written at all: the file that was at the target
// stays as it was, no half-filled copy of the template and no temporary file is left.
TEST(XlsxExport, AFailureNamesItsMessageAndLeavesTheTargetAsItWas) {
    const fs::path folder = test::testDir() / "out";
    fs::create_directory(folder);
    const fs::path target = folder / "out.xlsx";
    test::writeFile(target, "an older export");
    const fs::path notZip = test::testDir() / "template.xlsx";
    test::writeFile(notZip, "<html>not a workbook</html>");
    const fs::path noSheets = test::testDir() / "nosheets.xlsx";
    writeParts(noSheets, {{"xl/workbook.xml", "<workbook><sheets/></workbook>"},
                          {"xl/_rels/workbook.xml.rels", "<Relationships/>"}});
    struct Case {
        fs::path templatePath;
        const char* sheet;
        int messageId;
        const char* named;
    };
    for (const Case& c :
         {Case{shippedTemplate(), "Missing", kMsgSheetMissing, "Missing"},
          Case{notZip, "Report", kMsgWorkbookUnreadable, "template.xlsx"},
          Case{test::testDir() / "none.xlsx", "Report", kMsgWorkbookUnreadable, "none.xlsx"},
          Case{noSheets, "Report", kMsgWorkbookHasNoSheets, ""}}) {
        const ExportResult result = exportWorkbook(c.templatePath, target, c.sheet, {{"A1", "1"}});
        EXPECT_FALSE(result.ok) << c.templatePath;
        EXPECT_EQ(result.messageId, c.messageId) << c.templatePath;
        EXPECT_NE(result.reason.find(c.named), std::string::npos) << result.reason;
        EXPECT_EQ(test::readFile(target), "an older export") << c.templatePath;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // A target that is not a file is refused before any work, and stays what it was.
    const fs::path pipe = folder / "pipe.xlsx";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const ExportResult onPipe = exportWorkbook(shippedTemplate(), pipe, "Report", {{"A1", "1"}});
    EXPECT_FALSE(onPipe.ok);
    EXPECT_NE(onPipe.reason.find("named pipe"), std::string::npos) << onPipe.reason;
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST(XlsxExport, TheCopyIsWritableWhenTheInstalledTemplateIsNot) {
    const fs::path readOnly = test::testDir() / "QeltoReport.xlsx";
    fs::copy_file(shippedTemplate(), readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    const fs::path target = test::testDir() / "mine.xlsx";
    ASSERT_TRUE(exportWorkbook(readOnly, target, "Report", {{"A1", "x"}}).ok);
    EXPECT_NE(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_FALSE(exportWorkbook(target, target, "Report", {}).ok);  // never over its own template
}

TEST(XlsxCellValue, OnlyCanonicalDecimalsBecomeNumbers) {
    for (const char* number : {"0", "-12.5", "12.50", "  3 ", "0.25", "123456789012345"}) {
        EXPECT_TRUE(numericCellText(number)) << number;
    }
    for (const char* text :
         {"007", "1e3", "1.", ".5", "+1", "12 34", "", "-", "1234567890123456", "0x10", "1,5"}) {
        EXPECT_FALSE(numericCellText(text)) << text;
    }
    EXPECT_EQ(parseCellName("XFD1048576"), (CellRef{1048576, 16384}));
    EXPECT_EQ(parseCellName("AB12"), (CellRef{12, 28}));
    for (const char* name : {"XFE1", "A0", "A01", "a1", "A1048577", "AAAA1", "$A$1", "A", "1"}) {
        EXPECT_FALSE(parseCellName(name)) << name;
    }
    EXPECT_EQ(cellName({100, 26}), "Z100");
    EXPECT_EQ(cellText("Caf\xE9"), "Caf\xC3\xA9");  // a Latin-1 name from the unit
}

}  // namespace
}  // namespace qelto::reports
