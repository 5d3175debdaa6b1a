// The job file of a batch and its counter: CSV quoting, the heading and the year folder, and a
// counter that moves on only for units written and stops the batch when it is full.
#include "comms/batch_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "comms/batch_progress.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using comms::csvField;

comms::BatchUnitLine unitLine(std::string result, std::uint32_t serial = 4321) {
    comms::BatchUnitLine line;
    line.when.tm_year = 2031 - 1900;
    line.when.tm_mon = 0;
    line.when.tm_mday = 2;
    line.when.tm_hour = 7;
    line.when.tm_min = 5;
    line.when.tm_sec = 9;
    line.serial = serial;
    line.model = "QX-6";
    line.software = "V1.07";
    line.result = std::move(result);
    line.user = "Smith, \"Jo\"";
    line.host = "bench-2";
    return line;
}

TEST(BatchLogCsv, FieldsThatWouldBreakALineOrRunAsAFormulaAreQuoted) {
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csvField(" padded"), "\" padded\"");
    EXPECT_EQ(csvField("=SUM(A1)"), "\"'=SUM(A1)\"");
    EXPECT_EQ(csvField("@cmd"), "\"'@cmd\"");
}

TEST(BatchLogCsv, OneUnitIsOneLineOfEightColumns) {
    EXPECT_EQ(comms::batchLogLine(unitLine("ok")),
              "2031-01-02,07:05:09,000004321,QX-6,V1.07,ok,\"Smith, \"\"Jo\"\"\",bench-2\r\n");
}

TEST(BatchLogCsv, TheBatchsUnitsAreItsLastOkLinesHoweverTheFileWasEdited) {
    const std::string heading(comms::kBatchLogHeading);
    const std::string written = comms::batchLogLine(unitLine("ok"));
    const struct {
        std::string text;
        std::uint32_t counted;
        bool found;
    } cases[] = {
        {heading + written, 1, true},
        {heading + written, 0, false},  // a new batch of the job
        {heading + comms::batchLogLine(unitLine("failed")), 1, false},
        {written + comms::batchLogLine(unitLine("ok", 4322)), 1, false},  // an earlier batch's
        {written + comms::batchLogLine(unitLine("ok", 4322)), 2, true},
        {"2031-01-02,07:05:09,\"4321\",\"QX,6\",V1.07,\"ok\",ann,bench\n", 1, true},
        // A user name that holds a whole line of another unit is one field, not a line.
        {"2031-01-02,07:05:09,1,M,V,failed,\"x\r\n1,2,000004321,M,V,ok,u,h\",h\r\n", 1, false},
        {"2031-01-02,07:05:09,000004321,QX-6", 1, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(comms::batchCountedUnit(c.text, 4321, c.counted), c.found) << c.text;
    }
}

class JobFiles : public ::testing::Test {
  protected:
    std::string logs = (testDir() / "logs/").string();
    std::string path = logs + "2031/Job, '7'.csv";
    platform::SettingsStore store{testDir() / "Qelto.conf"};

    void setUpBatch(std::uint32_t size, std::uint32_t counter) {
        writeFile(store.file(),
                  "[Settings]\nBatchName=\"Job, '7'\"\nBatchSize=" + std::to_string(size) +
                      "\nBatchCounter=" + std::to_string(counter) + "\n");
    }
    bool record(const std::string& result, comms::BatchProgress& progress,
                std::string* error = nullptr, std::uint32_t serial = 4321) {
        std::string ignored;
        auto file = comms::JobFile::open(path, error != nullptr ? error : &ignored);
        return file && comms::recordBatchUnit(*file, unitLine(result, serial), "Job, '7'", store,
                                              progress, countedBefore, error);
    }
    bool countedBefore = false;
};

TEST_F(JobFiles, AMissingLogDirectoryIsNotCreated) {
    std::string error;
    EXPECT_FALSE(comms::JobFile::open(path, &error));
    EXPECT_NE(error.find(logs + "2031"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(logs));
}

// A unit connected again counts once; units without a serial number cannot be told apart and
// count each time; the next batch of the job counts a unit again. (qeltoctl batch write checks
// the failed write, the full batch and the job file's lines against the simulated unit.)
TEST_F(JobFiles, EachUnitCountsOnceInItsBatch) {
    std::filesystem::create_directory(logs);
    setUpBatch(3, 0);
    comms::BatchProgress progress;
    const struct {
        std::uint32_t serial;
        std::uint32_t counter;
        bool countedBefore;
    } units[] = {{4321, 1, false}, {4321, 1, true}, {0, 2, false}, {0, 3, false}};
    for (const auto& unit : units) {
        SCOPED_TRACE(unit.counter);
        ASSERT_TRUE(record("ok", progress, nullptr, unit.serial));
        EXPECT_EQ(progress.counter, unit.counter);
        EXPECT_EQ(countedBefore, unit.countedBefore);
    }
    EXPECT_TRUE(progress.complete());
    setUpBatch(3, 0);
    ASSERT_TRUE(record("ok", progress));
    EXPECT_FALSE(countedBefore);
    EXPECT_EQ(progress.counter, 1u);
}

TEST_F(JobFiles, AUnitOfAJobSetUpAnewIsLoggedButNotCounted) {
    std::filesystem::create_directory(logs);
    writeFile(store.file(), "[Settings]\nBatchName=Other\nBatchSize=5\nBatchCounter=1\n");
    comms::BatchProgress progress;
    std::string error;
    EXPECT_FALSE(record("ok", progress, &error));
    EXPECT_NE(error.find("Other"), std::string::npos) << error;
    EXPECT_EQ(store.load().batchCounter, 1u);
    EXPECT_NE(readFile(path).find(",ok,"), std::string::npos);
}

}  // namespace
}  // namespace qelto::test
