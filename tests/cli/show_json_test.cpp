// `qeltoctl show --json` on document files built byte by byte from the documented layout.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using doc::Bytes;
using doc::Document;
using nlohmann::json;

const doc::PumpNames kL04Names{"Alkali", "Detergent", "Bleach",  "Sour",   "Softener",
                               "Starch", "Enzyme",    "Booster", "Rinse9", "Rinse10"};

std::filesystem::path saveBytes(const Bytes& bytes, const std::string& name = "unit.qlf") {
    const auto path = testDir() / name;
    writeFile(path, bytes);
    return path;
}

// Files that cannot be read: exit 1, the file named on stderr, nothing on stdout.
void expectUnreadable(const std::filesystem::path& path) {
    const auto shown = showDocument(path);
    EXPECT_EQ(shown.run.exitCode, 1) << path.filename();
    EXPECT_EQ(shown.run.out, "");
    EXPECT_NE(shown.run.err.find(path.filename().string()), std::string::npos) << shown.run.err;
}

// distinctDocument() as every format stores it, or with one field changed: every stored field
// loads and the rest keep their reset values; the repairs made while loading, what the older
// formats lack, the dishwash block and the texts. Each row's record is
// compared whole with the model of the loader, and its named values with the figures written
// here by hand. A name is a JSON pointer, or "legacy:N" for the legacy image's bytes from N on.
struct Case {
    std::string what;
    int format;
    std::function<void(Document&)> change;
    std::vector<std::pair<std::string, json>> shown;
};

std::vector<Case> loadCases() {
    using d8 = std::uint8_t;
    const auto none = [](Document&) {};
    const json resetStep = {{"runTime", {0, 45, 0}}, {"delayTime", {0, 0, 0}}, {"dose", 0}};
    std::vector<Case> cases;
    for (int format = 1; format <= 9; ++format) {
        cases.push_back({"as written", format, none, {}});
    }
    cases.insert(
        cases.end(),
        {
            {"legacy PINs above 9999 are clamped, live ones are not",
             9,
             [](Document& d) {
                 const std::array<d8, 6> pins{0x39, 0x30, 0xFF,
                                              0xFF, 0x0F, 0x27};  // 12345 65535 9999
                 std::copy(pins.begin(), pins.end(), d.config.legacyConfig.begin() + 65);
                 d.config.pin = {12345, 10000, 9999};
             },
             {{"legacy:65", "0f270f270f27"}, {"/config/pin", {12345, 10000, 9999}}}},
            {"legacy serial bytes below 0 and above 9 are clamped to digits, the last one too",
             9,
             [](Document& d) {
                 const std::string serial{'/', ':', '\x7f', ' ', '5', '\xff', 'A', 0, '9', 'z'};
                 std::copy(serial.begin(), serial.end(), d.config.legacyConfig.begin() + 72);
             },
             {{"legacy:72", "30393930353939303939"}, {"/config/SerialNoUnit", "000000000"}}},
            {"a trigger without pulses or pumps takes the default pulse count",
             9,
             [](Document& d) {
                 d.config.legacyConfig[46] = 5;
                 d.config.pulseCount[2][3] = 0;
                 d.config.pumpEnabled[2][3].fill(0);
             },
             {{"/config/pulseCount/2/3", 5}}},
            {"a trigger with only its last pump enabled keeps no pulses",
             9,
             [](Document& d) {
                 d.config.legacyConfig[46] = 5;
                 d.config.pulseCount[2][4] = 0;
                 d.config.pumpEnabled[2][4].fill(0);
                 d.config.pumpEnabled[2][4][9] = 1;
             },
             {{"/config/pulseCount/2/4", 0}}},
            {"a six-pump format looks at its six pumps only",
             3,
             [](Document& d) {
                 d.config.legacyConfig[46] = 5;
                 d.config.pulseCount[19][5] = 0;
                 d.config.pumpEnabled[19][5].fill(0);
                 d.config.pumpEnabled[19][5][8] = 1;  // not in a format-3 file
             },
             {{"/config/pulseCount/19/5", 5}}},
            {"format 1 lacks legacy byte 64 and the last input flag",
             1,
             [](Document& d) {
                 d.config.legacyConfig[64] = 0x77;
                 d.config.resetDelayLastInput = 1;
             },
             {{"legacy:64", "00d2042909800d"},  // then PINs 1234 2345 3456
              {"/config/resetDelayLastInput", 0},
              {"/config/accessCode", 42},
              {"/config/firstFormatLoad", 1}}},
            {"format 2 keeps them",
             2,
             [](Document& d) {
                 d.config.legacyConfig[64] = 0x77;
                 d.config.resetDelayLastInput = 1;
             },
             {{"legacy:64", "77"},
              {"/config/resetDelayLastInput", 1},
              {"/config/firstFormatLoad", 0}}},
            {"format 3 holds six triggers of six pumps and six speeds",
             3,
             none,
             {{"/config/programs/7/6/0", resetStep},
              {"/config/programs/7/0/6", resetStep},
              {"/config/programs/19/9/9", resetStep},
              {"/config/pulseCount/7/6", 1},
              {"/config/pumpEnabled/0/0/6", 0},
              {"/config/pumpSpeed", {31, 38, 45, 52, 59, 66, 80, 80, 80, 80}},
              {"/config/programs/19/5/5/runTime",
               {(19 * 31 + 5 * 7 + 5 * 3 + 1) % 100, (19 * 13 + 5 * 11 + 5 * 5 + 2) % 60, 0}},
              {"/config/pumpName/1", "Detergent"}}},  // from the catalogue: none in the file
            {"format 8 reads the description but not the reset-to settings",
             8,
             none,
             {{"/config/unitDescription", "Kitchen line 4"},
              {"/config/resetOption", 2},
              {"/config/SafetyStopMode", 2}}},
            {"pump names read as valid whatever the file holds",
             4,
             [](Document& d) { d.config.pumpNamesValid = 0; },
             {{"/config/pumpNamesValid", 1}}},
            {"the end marker's value is not checked", 9, [](Document& d) { d.endMarker = 0; }, {}},
            {"format 2 has no dishwash text and extra flags",
             2,
             none,
             {{"/dishwash/DW_Text", ""},
              {"/dishwash/DW_Flag4", 0},
              {"/dishwash/DW_Flag88", 0},
              {"/dishwash/DW_NamesFormat", 0},
              {"/dishwash/DW_ProbeConcentration", 150}}},
            {"format 3 carries them",
             3,
             none,
             {{"/dishwash/DW_Text", "Sp\u00fclmaschine"},
              {"/dishwash/DW_Flag4", 0x44},
              {"/dishwash/DW_Flag88", 0x88},
              {"/dishwash/DW_NamesFormat", 1}}},
            {"format 1 has no dishwash block: the reset record",
             1,
             none,
             {{"/dishwash/DW_UnitMode", 0},
              {"/dishwash/DW_PumpSpeed", {100, 75, 100}},
              {"/dishwash/DW_SerialNo", "00000000"}}},
            {"the second stored initial charge mode wins",
             9,
             [](Document& d) {
                 d.firstICmodeCopy = 9;
                 d.dishwash.DW_ICmode = 4;
             },
             {{"/dishwash/DW_ICmode", 4}}},
            {"an output time keeps its hour-like number in the third byte",
             9,
             [](Document& d) {
                 d.dishwash.DW_IOTime[1] = {34, 0, 12};
             },
             {{"/dishwash/DW_IOTime/1", {34, 0, 12}}, {"/dishwash/DW_IODuration/3", {53, 0, 23}}}},
            {"Latin-1 bytes show as UTF-8",
             9,
             none,
             {{"/config/customerName1", "H\u00f4tel S\u00fcd"},
              {"/config/customerName2", "W\u00e4scherei Nord"},
              {"/config/pumpName/0", "Chem\u00e9 1"},
              {"/config/progName/19", "Wash \u00fc20"},
              {"/config/comments", "\u00a9 Service notes\r\nsecond line"}}},
            {"full-width texts without a terminator show every byte",
             9,
             [](Document& d) {
                 d.config.spareText = doc::fixedText<9>("ABCDEFGHI");
                 d.config.customerName2 = doc::fixedText<17>("0123456789ABCDEFG");
                 d.config.unitDescription = doc::fixedText<17>("abcdefghijklmnopq");
                 d.dishwash.DW_SerialNo = doc::fixedText<9>("987654321");
             },
             {{"/config/spareText", "ABCDEFGHI"},
              {"/config/customerName2", "0123456789ABCDEFG"},
              {"/config/unitDescription", "abcdefghijklmnopq"},
              {"/dishwash/DW_SerialNo", "987654321"}}},
        });
    // A default pulse count of 0 becomes 1 before format 7 only, and an empty trigger takes it.
    for (const int format : {1, 3, 6, 7, 9}) {
        cases.push_back({"default pulse count 0",
                         format,
                         [](Document& d) {
                             d.config.legacyConfig[46] = 0;
                             d.config.pulseCount[4][2] = 0;
                             d.config.pumpEnabled[4][2].fill(0);
                         },
                         {{"legacy:46", format < 7 ? "01" : "00"},
                          {"/config/pulseCount/4/2", format < 7 ? 1 : 0}}});
    }
    // The extension block without a description: 27 bytes read, the rest dropped.
    for (const int format : {6, 7}) {
        cases.push_back({"extension block without description",
                         format,
                         none,
                         {{"/config/unitDescription", ""},
                          {"/config/autofs_time", {1, 45, 0}},
                          {"/config/autofs_accept_time", 9},
                          {"/config/resetOption", 2},
                          {"/config/resetProgChoice", 1},
                          {"/config/FSVersion", 0},
                          {"/dishwash/DW_UnitType", 8}}});  // the block after it still aligned
    }
    // The old unit-type numbering of formats 1 to 3.
    for (const auto& [format, stored, shownCode] :
         {std::tuple{1, 6, 10}, std::tuple{2, 11, 15}, std::tuple{3, 5, 5}, std::tuple{3, 12, 12},
          std::tuple{3, 28, 28}, std::tuple{1, 29, 255}, std::tuple{3, 200, 255},
          std::tuple{4, 6, 6}, std::tuple{9, 11, 11}, std::tuple{9, 29, 29}}) {
        const auto code = static_cast<d8>(stored);
        cases.push_back({"unit type " + std::to_string(stored),
                         format,
                         [code](Document& d) { d.config.unitType = code; },
                         {{"/config/unitType", shownCode}}});
    }
    // Reset-to settings: valid ones kept, otherwise both reset.
    for (const auto& [option, choice, shownOption, shownChoice] :
         {std::tuple{21, 20, 21, 20}, std::tuple{0, 0, 0, 0}, std::tuple{22, 5, 2, 1},
          std::tuple{5, 21, 2, 1}, std::tuple{255, 255, 2, 1}}) {
        const auto in = std::pair{static_cast<d8>(option), static_cast<d8>(choice)};
        cases.push_back({"reset to " + std::to_string(option) + "/" + std::to_string(choice),
                         9,
                         [in](Document& d) {
                             d.config.resetOption = in.first;
                             d.config.resetProgChoice = in.second;
                         },
                         {{"/config/resetOption", shownOption},
                          {"/config/resetProgChoice", shownChoice},
                          {"/config/FSVersion", 3}}});
    }
    // Comments around the counted string's length forms: 254 is the longest one-byte length,
    // 65534 the first that needs the 32-bit one. The items after them stay aligned.
    for (const std::size_t length : {0U, 254U, 255U, 300U, 65533U, 65534U, 70000U}) {
        cases.push_back({"comments of " + std::to_string(length),
                         9,
                         [length](Document& d) {
                             d.config.comments.clear();
                             for (std::size_t i = 0; i < length; ++i) {
                                 d.config.comments.push_back(static_cast<char>('a' + i % 26));
                             }
                         },
                         {{"/config/spareLaundryByte", 0x6C}}});
    }
    return cases;
}

TEST(LoadingAFile, repairsAndOlderFormatsShowAsTheLayoutSays) {
    doc::writeCatalogue({{"L04", kL04Names}});
    for (const Case& c : loadCases()) {
        SCOPED_TRACE(c.what + ", format " + std::to_string(c.format));
        Document d = doc::distinctDocument();
        c.change(d);
        const auto shown = showDocument(saveBytes(doc::writeDocument(d, c.format)));
        ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
        EXPECT_TRUE(sameJson(doc::expectedShow(d, c.format, kL04Names), shown.json));
        for (const auto& [where, value] : c.shown) {
            if (where.starts_with("legacy:")) {
                const std::size_t offset = std::stoul(where.substr(7));
                EXPECT_EQ(shown.json["config"]["legacyConfig"].get<std::string>().substr(
                              offset * 2, value.get<std::string>().size()),
                          value)
                    << where;
            } else {
                EXPECT_EQ(valueAt(shown.json, where), value) << where;
            }
        }
    }
}

// The writer itself keeps to the layout where the loader could share its mistake: the counted
// string forms are the archive's, checked byte by byte in tests/model, and the comments cases
// above carry them through the loader; an output time is checked here.
TEST(DocumentWriter, anOutputTimeKeepsItsHourLikeNumberFirst) {
    Document d = doc::distinctDocument();
    d.dishwash.DW_IOTime[1] = {34, 0, 12};  // entered as 12:34
    const Bytes bytes = doc::writeDocument(d, 9);
    const auto dishStart = bytes.size() - doc::dishwashBlock(d, 9).size();
    EXPECT_EQ(bytes[dishStart + 56 + 2], 12);  // output 1 of item 11
    EXPECT_EQ(bytes[dishStart + 56 + 3], 34);
}

TEST(LoadingAFile, aTagInTheLongLengthFormIsStillTheTag) {
    Bytes bytes = doc::writeDocument(doc::distinctDocument(), 9);
    bytes.erase(bytes.begin());
    const Bytes longForm{0xFF, 0x04, 0x00};
    bytes.insert(bytes.begin(), longForm.begin(), longForm.end());
    const auto shown = showDocument(saveBytes(bytes));
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_TRUE(sameJson(doc::expectedShow(doc::distinctDocument(), 9), shown.json));
}

TEST(LoadingAFile, whatCannotBeReadExitsOneNamingTheFile) {
    const Document d = doc::distinctDocument();
    std::vector<std::filesystem::path> files;
    const auto save = [&files](const Bytes& bytes) {
        files.push_back(saveBytes(bytes, "bad" + std::to_string(files.size()) + ".qlf"));
    };
    for (const char* tag :
         {"XYZW", "qdo9", "QDO9", "QDo9 ", " QDo9", "QDo0", "QDoC", "QDo", "QDo10", ""}) {
        save(doc::writeDocumentWithTag(d, 9, tag));
    }
    save({});
    for (int format = 1; format <= 9; ++format) {  // one byte short
        Bytes cut = doc::writeDocument(d, format);
        cut.pop_back();
        save(cut);
    }
    files.push_back(testDir() / "missing.qlf");
    std::filesystem::create_directory(testDir() / "folder.qlf");
    files.push_back(testDir() / "folder.qlf");

    // A comment claiming four gigabytes, in a file of a few kilobytes.
    Bytes huge = doc::writeDocument(d, 9);
    const auto commentAt = static_cast<std::ptrdiff_t>(164 + 10'200);
    ASSERT_EQ(huge[static_cast<std::size_t>(commentAt)], d.config.comments.size());
    huge.erase(huge.begin() + commentAt);
    const Bytes claim{0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF};
    huge.insert(huge.begin() + commentAt, claim.begin(), claim.end());
    save(huge);

    // Cut inside the tag, right after it, in the legacy image, the programs, the doses, at and
    // in the end marker, before and inside the dishwash block and its text.
    const auto block = [&d](int format) { return 5 + doc::progDataBlock(d, format).size(); };
    for (const auto& [format, size] :
         {std::pair{9, std::size_t{3}}, std::pair{9, std::size_t{5}}, std::pair{9, std::size_t{50}},
          std::pair{9, std::size_t{5000}}, std::pair{1, std::size_t{2000}},
          std::pair{9, std::size_t{12000}}, std::pair{9, block(9) - 4}, std::pair{4, block(4) - 4},
          std::pair{9, block(9) - 2}, std::pair{2, block(2)}, std::pair{9, block(9) + 30},
          std::pair{9, block(9) + 75}}) {
        Bytes cut = doc::writeDocument(d, format);
        ASSERT_LT(size, cut.size());
        cut.resize(size);
        save(cut);
    }
    if (::geteuid() != 0) {  // root reads every file
        save(doc::writeDocument(d, 9));
        std::filesystem::permissions(files.back(), std::filesystem::perms::none);
    }
    for (const auto& file : files) {
        expectUnreadable(file);
    }
}

}  // namespace
}  // namespace qelto::test
