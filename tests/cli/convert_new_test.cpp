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
    std::string text = "[System Settings]\nNoOfChemicals=0\n";
    const auto section = [&text](const std::string& name, const doc::PumpNames& names) {
        text += "[" + name + "]\n";
        for (std::size_t p = 0; p < names.size(); ++p) {
            text +=
                "P" + std::string(p < 9 ? "0" : "") + std::to_string(p + 1) + "=" + names[p] + "\n";
        }
    };
    section("L04", kL04Names);
    section("L08", kL08Names);
    const auto dir = configHome() / "Halvercott";
    std::filesystem::create_directories(dir);
    writeFile(dir / "qelto.ini", text);
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

// ---------------------------------------------------------------------------------------------

class ConvertFormat : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        writeCatalogue();
        written_ = doc::distinctDocument();
        const auto in = testDir() / "old.qcf";
        writeFile(in, doc::writeDocument(written_, GetParam()));
        const auto run = runQeltoctl({"convert", in.string(), out_.string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_TRUE(std::filesystem::exists(out_));
        saved_ = asBytes(readFile(out_));
        loaded_ = doc::expectedAfterLoad(written_, GetParam(), kL04Names);
        loaded_.viewNumber = 0;  // no editor view is active in the command-line tool
    }

    Document written_;
    Document loaded_;
    std::filesystem::path out_ = testDir() / "new.qlf";
    Bytes saved_;
};

TEST_P(ConvertFormat, writesTheCurrentTag) {
    ASSERT_GE(saved_.size(), 5U);
    EXPECT_EQ(hexDump(saved_, 0, 5), "04 51 44 6f 39 ");  // 4, "QDo9"
}

TEST_P(ConvertFormat, reopensToTheSameRecord) {
    const auto shown = showDocument(out_);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    // Only the format flags and the tag change: they describe the file, not the unit.
    EXPECT_TRUE(sameJson(doc::showJson(loaded_, 9), shown.json));
}

TEST_P(ConvertFormat, savesEveryByteAsTheLayoutSays) {
    EXPECT_TRUE(sameBytes(doc::writeDocument(loaded_, 9), saved_));
}

TEST_P(ConvertFormat, endsTheConfigurationBlockWith999BeforeTheDishwashBlock) {
    const std::size_t dishwashAt = saved_.size() - doc::dishwashBlock(loaded_, 9).size();
    ASSERT_GE(dishwashAt, 4U);
    EXPECT_EQ(hexDump(saved_, dishwashAt - 4, 4), "e7 03 00 00 ");
    EXPECT_EQ(saved_[dishwashAt], loaded_.dishwash.DW_UnitType);
    EXPECT_EQ(saved_[dishwashAt + 1], loaded_.dishwash.DW_UnitMode);
}

INSTANTIATE_TEST_SUITE_P(Formats1To9, ConvertFormat, ::testing::Range(1, 10),
                         [](const auto& tp) { return "format" + std::to_string(tp.param); });

TEST(Convert, unreadableInputWritesNoFile) {
    const auto in = testDir() / "bad.qlf";
    writeFile(in, doc::writeDocumentWithTag(doc::distinctDocument(), 9, "qdo9"));
    const auto out = testDir() / "out.qlf";
    const auto run = runQeltoctl({"convert", in.string(), out.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("bad.qlf"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A named pipe stands for /dev/null and its kind: never replaced, and never waited on when read.
TEST(Convert, neverReplacesOrWaitsOnWhatIsNotAFile) {
    const auto good = testDir() / "good.qlf";
    writeFile(good, doc::writeDocument(doc::distinctDocument(), 9));
    const auto pipe = testDir() / "pipe.qlf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto written = runQeltoctl({"convert", good.string(), pipe.string()});
    EXPECT_EQ(written.exitCode, 1);
    EXPECT_NE(written.err.find("named pipe"), std::string::npos) << written.err;
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    const auto out = testDir() / "out.qlf";
    const auto read = runProcess(
        {"/usr/bin/timeout", "20", QELTOCTL_PATH, "convert", pipe.string(), out.string()});
    EXPECT_EQ(read.exitCode, 1) << "124 is a hang";
    EXPECT_NE(read.err.find("named pipe"), std::string::npos) << read.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(Convert, missingOutputArgumentIsAUsageError) {
    const auto in = testDir() / "in.qlf";
    writeFile(in, doc::writeDocument(doc::distinctDocument(), 9));
    EXPECT_EQ(runQeltoctl({"convert", in.string()}).exitCode, 2);
}

// ---------------------------------------------------------------------------------------------

TEST(NewDocument, writesTheResetRecordByteForByte) {
    writeCatalogue();
    const auto out = testDir() / "reset.qlf";
    const auto run = runQeltoctl({"new", out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(
        sameBytes(doc::writeDocument(doc::resetDocument(kL04Names), 9), asBytes(readFile(out))));
}

TEST(NewDocument, hasTheDocumentedSizeWithoutCatalogue) {
    const auto out = testDir() / "reset.qlf";
    ASSERT_EQ(runQeltoctl({"new", out.string()}).exitCode, 0);
    // Every counted string is empty: one length byte each (comments, 20 programs, 10 pumps).
    const std::size_t strings = 1 + 20 + 10;
    const std::size_t progData = 5 + 89 + 1 + 34 + 10 + 9 + 10 + 6 + 10'200 + strings + 1 + 40 + 4 +
                                 40 + 8'000 + 4 + 100 + 4;
    const std::size_t dishwash = 72 + 1 + 1 + 1 + 4;
    EXPECT_EQ(readFile(out).size(), progData + dishwash);
}

TEST(NewDocument, showsTheDocumentedDefaults) {
    const auto out = testDir() / "reset.qlf";
    ASSERT_EQ(runQeltoctl({"new", out.string()}).exitCode, 0);
    auto shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    json& c = shown.json["config"];
    for (const auto& program : c["programs"]) {
        for (const auto& trigger : program) {
            for (const auto& step : trigger) {
                ASSERT_EQ(step["runTime"], json({0, 45, 0}));
                ASSERT_EQ(step["delayTime"], json({0, 0, 0}));
            }
        }
    }
    for (const auto& program : c["pulseCount"]) {
        ASSERT_EQ(program, json(std::vector<int>(10, 1)));
    }
    for (const auto& program : c["pumpEnabled"]) {
        for (const auto& trigger : program) {
            ASSERT_EQ(trigger, json(std::vector<int>(10, 0)));
        }
    }
    EXPECT_EQ(c["pin"], json({6179, 7159, 7318}));
    EXPECT_EQ(c["SerialNoUnit"], "000000000");
    EXPECT_EQ(c["SoftwareVersion"], "V-.--");
    EXPECT_EQ(c["pumpSpeed"], json(std::vector<int>(10, 80)));
    EXPECT_EQ(c["pumpSpeedRange"], json(std::vector<int>(10, 3)));
    EXPECT_EQ(c["pumpCalibration"], json(std::vector<int>(10, 0)));
    EXPECT_EQ(c["pumpName"], json(std::vector<std::string>(10, "")));
    EXPECT_EQ(c["progName"], json(std::vector<std::string>(20, "")));
    EXPECT_EQ(c["unitType"], 3);
    EXPECT_EQ(c["accessCode"], 1);
    EXPECT_EQ(c["resetDelayTime"], json({0, 20, 0}));
    EXPECT_EQ(c["autofs_time"], json({0, 30, 0}));
    EXPECT_EQ(c["autofs_accept_time"], 1);
    EXPECT_EQ(c["resetOption"], 2);
    EXPECT_EQ(c["resetProgChoice"], 1);
    EXPECT_EQ(c["ViewMode"], 1);
    EXPECT_EQ(c["optionFlag0"], 1);
    EXPECT_EQ(c["optionFlag1"], 1);
    EXPECT_EQ(c["comments"], "");
    EXPECT_EQ(shown.json["dishwash"]["DW_Pin"], json({6179, 7159, 7318}));
    EXPECT_EQ(shown.json["dishwash"]["DW_PumpSpeed"], json({100, 75, 100}));
    // And everything else, field by field.
    EXPECT_TRUE(sameJson(doc::expectedShow(doc::resetDocument(), 9), shown.json));
}

TEST(NewDocument, takesPumpNamesFromTheCatalogueOfTheDefaultType) {
    writeCatalogue();
    const auto out = testDir() / "reset.qlf";
    ASSERT_EQ(runQeltoctl({"new", out.string()}).exitCode, 0);
    auto shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(shown.json["config"]["pumpName"], json(kL04Names));
}

TEST(NewDocument, unitTypeOptionSetsTheTypeAndItsCataloguePumpNames) {
    writeCatalogue();
    const auto out = testDir() / "l8.qlf";
    const auto run = runQeltoctl({"new", out.string(), "--unit-type", "7"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(shown.json["config"]["unitType"], 7);
    EXPECT_EQ(shown.json["config"]["pumpName"], json(kL08Names));
}

TEST(NewDocument, withoutOutputIsAUsageError) {
    EXPECT_EQ(runQeltoctl({"new"}).exitCode, 2);
}

}  // namespace
}  // namespace qelto::test
