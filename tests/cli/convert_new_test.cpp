// `qeltoctl convert` and `qeltoctl new`: what a save writes, byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using doc::Bytes;
using doc::Document;
using nlohmann::json;

const doc::PumpNames kL04Names{"Alkali", "Detergent", "Bleach", "Sour",  "Softener",
                               "Starch", "Enzyme",    "",       "Rinse", "Last"};
const doc::PumpNames kL08Names{"Eight1", "Eight2", "Eight3", "Eight4", "Eight5",
                               "Eight6", "Eight7", "Eight8", "",       ""};

void writeCatalogue() {
    doc::writeCatalogue({{"L04", kL04Names}, {"L08", kL08Names}});
}

Bytes asBytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string hexDump(const Bytes& bytes, std::size_t from, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = from; i < from + count && i < bytes.size(); ++i) {
        s.push_back(kDigits[bytes[i] >> 4U]);
        s.push_back(kDigits[bytes[i] & 0xFU]);
        s.push_back(' ');
    }
    return s;
}

// Byte-exact comparison that points at the first difference.
::testing::AssertionResult sameBytes(const Bytes& expected, const Bytes& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        ++at;
    }
    const std::size_t from = at < 8 ? 0 : at - 8;
    return ::testing::AssertionFailure()
           << "sizes " << expected.size() << " (expected) and " << actual.size()
           << " (written); first difference at byte " << at << "\n  expected from " << from << ": "
           << hexDump(expected, from, 24) << "\n  written  from " << from << ": "
           << hexDump(actual, from, 24);
}

// An older file converted: the save is byte for byte the layout of what was loaded, behind the
// current tag, and it reopens to the same record.
class ConvertFormat : public ::testing::TestWithParam<int> {};

TEST_P(ConvertFormat, savesEveryByteAsTheLayoutSays) {
    writeCatalogue();
    const auto in = testDir() / "old.qcf";
    const auto out = testDir() / "new.qlf";
    writeFile(in, doc::writeDocument(doc::distinctDocument(), GetParam()));
    const auto run = runQeltoctl({"convert", in.string(), out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Bytes saved = asBytes(readFile(out));
    Document loaded = doc::expectedAfterLoad(doc::distinctDocument(), GetParam(), kL04Names);
    loaded.viewNumber = 0;  // no editor view is active in the command-line tool
    EXPECT_EQ(hexDump(saved, 0, 5), "04 51 44 6f 39 ");  // 4, "QDo9"
    EXPECT_TRUE(sameBytes(doc::writeDocument(loaded, 9), saved));
}

INSTANTIATE_TEST_SUITE_P(Formats1To9, ConvertFormat, ::testing::Range(1, 10),
                         [](const auto& tp) { return "format" + std::to_string(tp.param); });

TEST(Convert, unreadableInputWritesNoFile) {
    const auto in = testDir() / "bad.qlf";
    writeFile(in, doc::writeDocumentWithTag(doc::distinctDocument(), 9, "qdo9"));
    const auto out = testDir() / "out.qlf";
    EXPECT_TRUE(exited(runQeltoctl({"convert", in.string(), out.string()}), 1, {"bad.qlf"}));
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A named pipe stands for /dev/null and its kind: never replaced, and never waited on when read.
TEST(Convert, neverReplacesOrWaitsOnWhatIsNotAFile) {
    const auto good = testDir() / "good.qlf";
    writeFile(good, doc::writeDocument(doc::distinctDocument(), 9));
    const auto pipe = testDir() / "pipe.qlf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_TRUE(exited(runQeltoctl({"convert", good.string(), pipe.string()}), 1, {"named pipe"}));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    const auto out = testDir() / "out.qlf";
    const auto read = runProcess(
        {"/usr/bin/timeout", "20", QELTOCTL_PATH, "convert", pipe.string(), out.string()});
    EXPECT_TRUE(exited(read, 1, {"named pipe"})) << "124 is a hang";
    EXPECT_FALSE(std::filesystem::exists(out));
}

// ---------------------------------------------------------------------------------------------

TEST(NewDocument, writesTheResetRecordByteForByteWithTheDocumentedDefaults) {
    const auto out = testDir() / "reset.qlf";
    ASSERT_EQ(runQeltoctl({"new", out.string()}).exitCode, 0);
    // Every counted string is empty: one length byte each (comments, 20 programs, 10 pumps).
    const std::size_t strings = 1 + 20 + 10;
    const std::size_t progData = 5 + 89 + 1 + 34 + 10 + 9 + 10 + 6 + 10'200 + strings + 1 + 40 + 4 +
                                 40 + 8'000 + 4 + 100 + 4;
    const std::size_t dishwash = 72 + 1 + 1 + 1 + 4;
    EXPECT_EQ(readFile(out).size(), progData + dishwash);
    EXPECT_TRUE(sameBytes(doc::writeDocument(doc::resetDocument(), 9), asBytes(readFile(out))));
}

TEST(NewDocument, takesThePumpNamesOfItsUnitTypeFromTheCatalogue) {
    writeCatalogue();
    const auto l4 = testDir() / "l4.qlf";
    ASSERT_EQ(runQeltoctl({"new", l4.string()}).exitCode, 0);
    EXPECT_TRUE(
        sameBytes(doc::writeDocument(doc::resetDocument(kL04Names), 9), asBytes(readFile(l4))));
    const auto l8 = testDir() / "l8.qlf";
    ASSERT_EQ(runQeltoctl({"new", l8.string(), "--unit-type", "7"}).exitCode, 0);
    const auto shown = showDocument(l8);
    EXPECT_EQ(shown.json["config"]["unitType"], 7);
    EXPECT_EQ(shown.json["config"]["pumpName"], json(kL08Names));
}

}  // namespace
}  // namespace qelto::test
