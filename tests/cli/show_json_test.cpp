// `qeltoctl show --json` on document files built byte by byte from the documented layout.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <tuple>

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

void writeCatalogue(const std::string& text) {
    const auto dir = configHome() / "Halvercott";
    std::filesystem::create_directories(dir);
    writeFile(dir / "qelto.ini", text);
}

void writeL04Catalogue() {
    std::string text = "[L04]\n";
    for (std::size_t p = 0; p < kL04Names.size(); ++p) {
        text +=
            "P" + std::string(p < 9 ? "0" : "") + std::to_string(p + 1) + "=" + kL04Names[p] + "\n";
    }
    writeCatalogue(text);
}

std::filesystem::path saveBytes(const Bytes& bytes, const std::string& name = "unit.qlf") {
    const auto path = testDir() / name;
    writeFile(path, bytes);
    return path;
}

// Loads `written` as `format` and compares the whole record with the expectation.
void expectLoadsAsExpected(const Document& written, int format,
                           const doc::PumpNames& defaultNames = {}) {
    const auto shown = showDocument(saveBytes(doc::writeDocument(written, format)));
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    ASSERT_FALSE(shown.json.is_discarded()) << "stdout is not JSON:\n" << shown.run.out;
    EXPECT_TRUE(sameJson(doc::expectedShow(written, format, defaultNames), shown.json));
}

json loadAndShow(const Document& written, int format) {
    const auto shown = showDocument(saveBytes(doc::writeDocument(written, format)));
    if (shown.run.exitCode != 0 || shown.json.is_discarded() || !shown.json.contains("config")) {
        throw std::runtime_error("show failed with exit code " +
                                 std::to_string(shown.run.exitCode) + ": " + shown.run.err +
                                 shown.run.out.substr(0, 200));
    }
    return shown.json;
}

std::string legacyHex(const json& shown, std::size_t offset, std::size_t length) {
    return shown.at("config").at("legacyConfig").get<std::string>().substr(offset * 2, length * 2);
}

// ---------------------------------------------------------------------------------------------
// Every format loads every field it carries, and only those.

class EveryFormat : public ::testing::TestWithParam<int> {};

TEST_P(EveryFormat, loadsEveryStoredFieldAndKeepsResetValuesForTheRest) {
    writeL04Catalogue();
    expectLoadsAsExpected(doc::distinctDocument(), GetParam(), kL04Names);
}

TEST_P(EveryFormat, fileOneByteShortFailsWithoutOutput) {
    Bytes bytes = doc::writeDocument(doc::distinctDocument(), GetParam());
    bytes.pop_back();
    const auto path = saveBytes(bytes, "short.qlf");
    const auto shown = showDocument(path);
    EXPECT_EQ(shown.run.exitCode, 1);
    EXPECT_EQ(shown.run.out, "");
    EXPECT_NE(shown.run.err.find(path.string()), std::string::npos) << shown.run.err;
}

INSTANTIATE_TEST_SUITE_P(Formats1To9, EveryFormat, ::testing::Range(1, 10),
                         [](const auto& tp) { return "format" + std::to_string(tp.param); });

// ---------------------------------------------------------------------------------------------
// Repairs made while loading.

TEST(LoadRepairs, legacyPinsAbove9999AreClampedButLivePinsAreNot) {
    Document d = doc::distinctDocument();
    auto& lc = d.config.legacyConfig;
    lc[65] = 0x39;  // 12345
    lc[66] = 0x30;
    lc[67] = 0xFF;  // 65535
    lc[68] = 0xFF;
    lc[69] = 0x0F;  // 9999 itself
    lc[70] = 0x27;
    d.config.pin = {12345, 10000, 9999};
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(legacyHex(shown, 65, 6), "0f270f270f27");
    EXPECT_EQ(shown["config"]["pin"], json({12345, 10000, 9999}));
    expectLoadsAsExpected(d, 9);
}

TEST(LoadRepairs, legacySerialBytesAreClampedToDigitsIncludingTheLast) {
    Document d = doc::distinctDocument();
    const std::string serial{'1', '2', 'A', '4', 0, 0, 0, 0, 0, 0};
    std::copy(serial.begin(), serial.end(), d.config.legacyConfig.begin() + 72);
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(legacyHex(shown, 72, 10), "31323934303030303030");  // "1294000000"
    // The live serial is not in the file.
    EXPECT_EQ(shown["config"]["SerialNoUnit"], "000000000");
}

TEST(LoadRepairs, legacySerialBytesBelowZeroAndAboveNineAreClamped) {
    Document d = doc::distinctDocument();
    const std::string serial{'/', ':', '\x7f', ' ', '5', '\xff', '0', '9', '\x01', 'z'};
    std::copy(serial.begin(), serial.end(), d.config.legacyConfig.begin() + 72);
    EXPECT_EQ(legacyHex(loadAndShow(d, 4), 72, 10), "30393930353930393039");
}

class DefaultPulseCountZero : public ::testing::TestWithParam<int> {};

TEST_P(DefaultPulseCountZero, becomesOneOnlyBeforeFormat7) {
    const int format = GetParam();
    Document d = doc::distinctDocument();
    d.config.legacyConfig[46] = 0;
    d.config.pulseCount[4][2] = 0;
    d.config.pumpEnabled[4][2].fill(0);
    json shown = loadAndShow(d, format);
    const int repaired = format < 7 ? 1 : 0;
    EXPECT_EQ(legacyHex(shown, 46, 1), format < 7 ? "01" : "00");
    // An empty trigger without pulses takes the (repaired) default.
    EXPECT_EQ(shown["config"]["pulseCount"][4][2], repaired);
    expectLoadsAsExpected(d, format);
}

INSTANTIATE_TEST_SUITE_P(AroundThePulseFix, DefaultPulseCountZero, ::testing::Values(1, 3, 6, 7, 9),
                         [](const auto& tp) { return "format" + std::to_string(tp.param); });

TEST(LoadRepairs, zeroPulseCountOfTriggerWithoutEnabledPumpBecomesTheDefault) {
    Document d = doc::distinctDocument();
    d.config.legacyConfig[46] = 5;
    d.config.pulseCount[2][3] = 0;
    d.config.pumpEnabled[2][3].fill(0);
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(shown["config"]["pulseCount"][2][3], 5);
}

TEST(LoadRepairs, zeroPulseCountOfTriggerWithOnlyTheLastPumpEnabledStaysZero) {
    Document d = doc::distinctDocument();
    d.config.legacyConfig[46] = 5;
    d.config.pulseCount[2][4] = 0;
    d.config.pumpEnabled[2][4].fill(0);
    d.config.pumpEnabled[2][4][9] = 1;
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(shown["config"]["pulseCount"][2][4], 0);
}

TEST(LoadRepairs, zeroPulseCountInSixPumpFormatsLooksOnlyAtTheSixStoredPumps) {
    Document d = doc::distinctDocument();
    d.config.legacyConfig[46] = 5;
    d.config.pulseCount[19][5] = 0;
    d.config.pumpEnabled[19][5].fill(0);
    d.config.pumpEnabled[19][5][8] = 1;  // not in a format-3 file
    json shown = loadAndShow(d, 3);
    EXPECT_EQ(shown["config"]["pulseCount"][19][5], 5);
}

// Old unit-type numbering: formats 1 to 3 only.
class UnitTypeTranslation : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(UnitTypeTranslation, showsTheCurrentCode) {
    const auto [format, stored, shownCode] = GetParam();
    Document d = doc::distinctDocument();
    d.config.unitType = static_cast<std::uint8_t>(stored);
    EXPECT_EQ(loadAndShow(d, format)["config"]["unitType"], shownCode);
}

INSTANTIATE_TEST_SUITE_P(OldAndNewFormats, UnitTypeTranslation,
                         ::testing::Values(std::tuple{1, 6, 10}, std::tuple{2, 11, 15},
                                           std::tuple{3, 5, 5}, std::tuple{3, 12, 12},
                                           std::tuple{3, 28, 28}, std::tuple{1, 29, 255},
                                           std::tuple{3, 200, 255}, std::tuple{4, 6, 6},
                                           std::tuple{9, 11, 11}, std::tuple{9, 29, 29}),
                         [](const auto& tp) {
                             return "format" + std::to_string(std::get<0>(tp.param)) + "_code" +
                                    std::to_string(std::get<1>(tp.param));
                         });

class ResetToCorrection : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {
};  // in, in, out, out

TEST_P(ResetToCorrection, keepsValidValuesAndResetsBothOtherwise) {
    const auto [option, choice, shownOption, shownChoice] = GetParam();
    Document d = doc::distinctDocument();
    d.config.resetOption = static_cast<std::uint8_t>(option);
    d.config.resetProgChoice = static_cast<std::uint8_t>(choice);
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(shown["config"]["resetOption"], shownOption);
    EXPECT_EQ(shown["config"]["resetProgChoice"], shownChoice);
    EXPECT_EQ(shown["config"]["FSVersion"], 3);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ResetToCorrection,
                         ::testing::Values(std::tuple{21, 20, 21, 20}, std::tuple{0, 0, 0, 0},
                                           std::tuple{22, 5, 2, 1}, std::tuple{5, 21, 2, 1},
                                           std::tuple{255, 255, 2, 1}),
                         [](const auto& tp) {
                             return "option" + std::to_string(std::get<0>(tp.param)) + "_choice" +
                                    std::to_string(std::get<1>(tp.param));
                         });

// ---------------------------------------------------------------------------------------------
// What the older formats lack.

TEST(OlderFormats, format1LacksLegacyByte64AndTheLastInputFlag) {
    Document d = doc::distinctDocument();
    d.config.legacyConfig[64] = 0x77;
    d.config.resetDelayLastInput = 1;
    json shown = loadAndShow(d, 1);
    EXPECT_EQ(legacyHex(shown, 64, 1), "00");
    EXPECT_EQ(legacyHex(shown, 65, 6), "d2042909800d");  // PINs 1234 2345 3456
    EXPECT_EQ(shown["config"]["resetDelayLastInput"], 0);
    EXPECT_EQ(shown["config"]["accessCode"], 42);
    EXPECT_EQ(shown["config"]["firstFormatLoad"], 1);
}

TEST(OlderFormats, format2KeepsLegacyByte64AndTheLastInputFlag) {
    Document d = doc::distinctDocument();
    d.config.legacyConfig[64] = 0x77;
    d.config.resetDelayLastInput = 1;
    json shown = loadAndShow(d, 2);
    EXPECT_EQ(legacyHex(shown, 64, 1), "77");
    EXPECT_EQ(shown["config"]["resetDelayLastInput"], 1);
    EXPECT_EQ(shown["config"]["firstFormatLoad"], 0);
}

TEST(OlderFormats, format3HoldsSixTriggersOfSixPumpsAndSixSpeeds) {
    writeL04Catalogue();
    json shown = loadAndShow(doc::distinctDocument(), 3);
    json& c = shown["config"];
    const json resetStep = {{"runTime", {0, 45, 0}}, {"delayTime", {0, 0, 0}}, {"dose", 0}};
    EXPECT_EQ(c["programs"][7][6][0], resetStep);
    EXPECT_EQ(c["programs"][7][0][6], resetStep);
    EXPECT_EQ(c["programs"][19][9][9], resetStep);
    EXPECT_EQ(c["pulseCount"][7][6], 1);
    EXPECT_EQ(c["pumpEnabled"][0][0][6], 0);
    EXPECT_EQ(c["pumpSpeed"], json({31, 38, 45, 52, 59, 66, 80, 80, 80, 80}));
    // The last stored step, read from the right place.
    EXPECT_EQ(c["programs"][19][5][5]["runTime"],
              json({(19 * 31 + 5 * 7 + 5 * 3 + 1) % 100, (19 * 13 + 5 * 11 + 5 * 5 + 2) % 60, 0}));
    // No pump names in the file: the catalogue defaults of the reset unit type.
    EXPECT_EQ(c["pumpName"][1], "Detergent");
}

class ExtensionWithoutDescription : public ::testing::TestWithParam<int> {};

TEST_P(ExtensionWithoutDescription, readsTwentySevenBytesAndDropsTheRest) {
    json shown = loadAndShow(doc::distinctDocument(), GetParam());
    json& c = shown["config"];
    EXPECT_EQ(c["unitDescription"], "");
    EXPECT_EQ(c["autofs_time"], json({1, 45, 0}));
    EXPECT_EQ(c["autofs_accept_time"], 9);
    EXPECT_EQ(c["resetOption"], 2);
    EXPECT_EQ(c["resetProgChoice"], 1);
    EXPECT_EQ(c["FSVersion"], 0);
    EXPECT_EQ(shown["dishwash"]["DW_UnitType"], 8);  // the block after it is still aligned
}

INSTANTIATE_TEST_SUITE_P(Formats6And7, ExtensionWithoutDescription, ::testing::Values(6, 7),
                         [](const auto& tp) { return "format" + std::to_string(tp.param); });

TEST(OlderFormats, format8ReadsTheDescriptionButNotTheResetToSettings) {
    json shown = loadAndShow(doc::distinctDocument(), 8);
    EXPECT_EQ(shown["config"]["unitDescription"], "Kitchen line 4");
    EXPECT_EQ(shown["config"]["resetOption"], 2);
    EXPECT_EQ(shown["config"]["SafetyStopMode"], 2);
}

TEST(StoredItems, pumpNamesValidReadsAsOneWhateverTheFileHolds) {
    Document d = doc::distinctDocument();
    d.config.pumpNamesValid = 0;
    EXPECT_EQ(loadAndShow(d, 4)["config"]["pumpNamesValid"], 1);
}

TEST(StoredItems, endMarkerValueIsNotChecked) {
    Document d = doc::distinctDocument();
    d.endMarker = 0;
    expectLoadsAsExpected(d, 9);
}

// ---------------------------------------------------------------------------------------------
// The dishwash block.

TEST(DishwashBlock, format2LeavesTextAndExtraFlagsAtReset) {
    json dw = loadAndShow(doc::distinctDocument(), 2)["dishwash"];
    EXPECT_EQ(dw["DW_Text"], "");
    EXPECT_EQ(dw["DW_Flag4"], 0);
    EXPECT_EQ(dw["DW_Flag88"], 0);
    EXPECT_EQ(dw["DW_NamesFormat"], 0);
    EXPECT_EQ(dw["DW_ProbeConcentration"], 150);
}

TEST(DishwashBlock, format3CarriesTextAndExtraFlags) {
    json dw = loadAndShow(doc::distinctDocument(), 3)["dishwash"];
    EXPECT_EQ(dw["DW_Text"], "Sp\u00fclmaschine");
    EXPECT_EQ(dw["DW_Flag4"], 0x44);
    EXPECT_EQ(dw["DW_Flag88"], 0x88);
    EXPECT_EQ(dw["DW_NamesFormat"], 1);
}

TEST(DishwashBlock, format1FileHasNoneAndShowsTheResetRecord) {
    json dw = loadAndShow(doc::distinctDocument(), 1)["dishwash"];
    EXPECT_EQ(dw["DW_UnitMode"], 0);
    EXPECT_EQ(dw["DW_PumpSpeed"], json({100, 75, 100}));
    EXPECT_EQ(dw["DW_SerialNo"], "00000000");
}

TEST(DishwashBlock, secondStoredInitialChargeModeWins) {
    Document d = doc::distinctDocument();
    d.firstICmodeCopy = 9;
    d.dishwash.DW_ICmode = 4;
    EXPECT_EQ(loadAndShow(d, 9)["dishwash"]["DW_ICmode"], 4);
}

TEST(DishwashBlock, outputTimesAreStoredThirdByteFirst) {
    Document d = doc::distinctDocument();
    // An output time entered as 12:34 keeps 12 in the third byte and 34 in the first.
    d.dishwash.DW_IOTime[1] = {34, 0, 12};
    Bytes bytes = doc::writeDocument(d, 9);
    const auto dishStart = bytes.size() - doc::dishwashBlock(d, 9).size();
    ASSERT_EQ(bytes[dishStart + 56 + 2], 12);  // output 1 of item 11
    ASSERT_EQ(bytes[dishStart + 56 + 3], 34);
    json dw = loadAndShow(d, 9)["dishwash"];
    EXPECT_EQ(dw["DW_IOTime"][1], json({34, 0, 12}));
    EXPECT_EQ(dw["DW_IODuration"][3], json({53, 0, 23}));
}

// ---------------------------------------------------------------------------------------------
// Text.

TEST(Text, latin1BytesShowAsUtf8) {
    json shown = loadAndShow(doc::distinctDocument(), 9);
    EXPECT_EQ(shown["config"]["customerName1"], "H\u00f4tel S\u00fcd");
    EXPECT_EQ(shown["config"]["customerName2"], "W\u00e4scherei Nord");
    EXPECT_EQ(shown["config"]["pumpName"][0], "Chem\u00e9 1");
    EXPECT_EQ(shown["config"]["progName"][19], "Wash \u00fc20");
    EXPECT_EQ(shown["config"]["comments"], "\u00a9 Service notes\r\nsecond line");
}

TEST(Text, fullWidthFieldsWithoutTerminatorShowEveryByte) {
    Document d = doc::distinctDocument();
    d.config.spareText = doc::fixedText<9>("ABCDEFGHI");
    d.config.customerName2 = doc::fixedText<17>("0123456789ABCDEFG");
    d.config.unitDescription = doc::fixedText<17>("abcdefghijklmnopq");
    d.dishwash.DW_SerialNo = doc::fixedText<9>("987654321");
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(shown["config"]["spareText"], "ABCDEFGHI");
    EXPECT_EQ(shown["config"]["customerName2"], "0123456789ABCDEFG");
    EXPECT_EQ(shown["config"]["unitDescription"], "abcdefghijklmnopq");
    EXPECT_EQ(shown["dishwash"]["DW_SerialNo"], "987654321");
}

class CommentLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CommentLength, loadsWholeAndKeepsTheFollowingItemsAligned) {
    Document d = doc::distinctDocument();
    d.config.comments.clear();
    for (std::size_t i = 0; i < GetParam(); ++i) {
        d.config.comments.push_back(static_cast<char>('a' + i % 26));
    }
    json shown = loadAndShow(d, 9);
    EXPECT_EQ(shown["config"]["comments"].get<std::string>().size(), GetParam());
    EXPECT_EQ(shown["config"]["spareLaundryByte"], 0x6C);
    expectLoadsAsExpected(d, 9);
}

// 254 is the longest one-byte length; 65534 is the first that needs the 32-bit form.
INSTANTIATE_TEST_SUITE_P(AroundTheLengthForms, CommentLength,
                         ::testing::Values(0U, 254U, 255U, 300U, 65533U, 65534U, 70000U),
                         [](const auto& tp) { return "length" + std::to_string(tp.param); });

TEST(Text, countedStringLengthForms) {
    const Bytes medium = doc::countedString(std::string(300, 'x'));
    ASSERT_EQ(medium.size(), 303U);
    EXPECT_EQ(medium[0], 0xFF);
    EXPECT_EQ(medium[1], 0x2C);  // 300, little-endian
    EXPECT_EQ(medium[2], 0x01);
    const Bytes large = doc::countedString(std::string(0xFFFE, 'x'));
    ASSERT_EQ(large.size(), 0xFFFEU + 7);
    EXPECT_EQ(Bytes(large.begin(), large.begin() + 7),
              Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
}

TEST(Text, tagInTheLongLengthFormIsStillTheTag) {
    // Any counted-string encoding of "QDo9" is that tag.
    Bytes bytes = doc::writeDocument(doc::distinctDocument(), 9);
    const Bytes longForm{0xFF, 0x04, 0x00};
    bytes.erase(bytes.begin());
    bytes.insert(bytes.begin(), longForm.begin(), longForm.end());
    const auto shown = showDocument(saveBytes(bytes));
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_TRUE(sameJson(doc::expectedShow(doc::distinctDocument(), 9), shown.json));
}

// ---------------------------------------------------------------------------------------------
// Files that cannot be read: exit 1, the file named on stderr, nothing on stdout.

void expectUnreadable(const std::filesystem::path& path) {
    const auto shown = showDocument(path);
    EXPECT_EQ(shown.run.exitCode, 1);
    EXPECT_EQ(shown.run.out, "");
    EXPECT_NE(shown.run.err.find(path.filename().string()), std::string::npos)
        << "stderr does not name the file: " << shown.run.err;
}

class UnknownTag : public ::testing::TestWithParam<std::string> {};

TEST_P(UnknownTag, isRejected) {
    expectUnreadable(
        saveBytes(doc::writeDocumentWithTag(doc::distinctDocument(), 9, GetParam()), "bad.qlf"));
}

INSTANTIATE_TEST_SUITE_P(Tags, UnknownTag,
                         ::testing::Values("XYZW", "qdo9", "QDO9", "QDo9 ", " QDo9", "QDo0", "QDoC",
                                           "QDo", "QDo10", ""),
                         [](const auto& tp) {
                             std::string name = "tag_";
                             for (const char ch : tp.param) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) != 0
                                             ? std::string(1, ch)
                                             : std::string("_");
                             }
                             return name + "_" + std::to_string(tp.index);
                         });

TEST(UnreadableFile, emptyFile) {
    expectUnreadable(saveBytes({}, "empty.qlf"));
}

TEST(UnreadableFile, missingFile) {
    expectUnreadable(testDir() / "missing.qlf");
}

TEST(UnreadableFile, directoryInsteadOfFile) {
    std::filesystem::create_directory(testDir() / "folder.qlf");
    expectUnreadable(testDir() / "folder.qlf");
}

TEST(UnreadableFile, fileWithoutReadPermission) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const auto path = saveBytes(doc::writeDocument(doc::distinctDocument(), 9), "locked.qlf");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    expectUnreadable(path);
}

TEST(UnreadableFile, hugeStringLengthFailsCleanly) {
    // A comment claiming four gigabytes, in a file of a few kilobytes.
    Document d = doc::distinctDocument();
    Bytes bytes = doc::writeDocument(d, 9);
    const std::size_t commentAt = 164 + 10'200;
    ASSERT_EQ(bytes[commentAt], d.config.comments.size());
    const Bytes huge{0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF};
    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(commentAt),
                bytes.begin() + static_cast<std::ptrdiff_t>(commentAt + 1));
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(commentAt), huge.begin(), huge.end());
    expectUnreadable(saveBytes(bytes, "huge.qlf"));
}

class TruncatedFile : public ::testing::TestWithParam<std::tuple<std::string, int, std::size_t>> {};

TEST_P(TruncatedFile, isRejected) {
    const auto [where, format, size] = GetParam();
    Bytes bytes = doc::writeDocument(doc::distinctDocument(), format);
    ASSERT_LT(size, bytes.size());
    bytes.resize(size);
    expectUnreadable(saveBytes(bytes, "cut.qlf"));
}

std::size_t endMarkerOffset(int format) {
    return 5 + doc::progDataBlock(doc::distinctDocument(), format).size() - 4;
}

std::size_t dishwashOffset(int format) {
    return 5 + doc::progDataBlock(doc::distinctDocument(), format).size();
}

INSTANTIATE_TEST_SUITE_P(
    CutPoints, TruncatedFile,
    ::testing::Values(std::tuple{std::string("insideTag"), 9, std::size_t{3}},
                      std::tuple{std::string("rightAfterTag"), 9, std::size_t{5}},
                      std::tuple{std::string("insideLegacyConfig"), 9, std::size_t{50}},
                      std::tuple{std::string("insidePrograms"), 9, std::size_t{5000}},
                      std::tuple{std::string("insidePrograms"), 1, std::size_t{2000}},
                      std::tuple{std::string("insideDoses"), 9, std::size_t{12000}},
                      std::tuple{std::string("justBeforeEndMarker"), 9, endMarkerOffset(9)},
                      std::tuple{std::string("justBeforeEndMarker"), 4, endMarkerOffset(4)},
                      std::tuple{std::string("insideEndMarker"), 9, endMarkerOffset(9) + 2},
                      std::tuple{std::string("beforeDishwashBlock"), 2, dishwashOffset(2)},
                      std::tuple{std::string("insideDishwashBlock"), 9, dishwashOffset(9) + 30},
                      std::tuple{std::string("insideDishwashText"), 9, dishwashOffset(9) + 75}),
    [](const auto& tp) {
        return std::get<0>(tp.param) + "_format" + std::to_string(std::get<1>(tp.param));
    });

TEST(Usage, noArgumentsIsAUsageError) {
    EXPECT_EQ(runQeltoctl({}).exitCode, 2);
}

TEST(Usage, showWithoutFileIsAUsageError) {
    EXPECT_EQ(runQeltoctl({"show"}).exitCode, 2);
}

}  // namespace
}  // namespace qelto::test
