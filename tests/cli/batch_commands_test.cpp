// qeltoctl batch against qelto-unitsim on a pseudo-terminal: the job file every unit write adds
// to, the counter that only a good write moves, and the full batch that refuses more.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "protocol/packet.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

std::string thisYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900);
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

class BatchCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(logs);
        doc::Document written = doc::resetDocument();
        written.config.progName[0] = "Towels";
        document = doc::saveDocument(written, "batch.qlf");
    }

    void startUnit(std::vector<std::string> options = {}, const std::string& serial = "987654321") {
        options.insert(options.begin(), {"--serial", serial});
        sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, nlohmann::json::object(),
                                     options);
    }

    ProcessResult setUp(const std::string& job, const std::string& size,
                        const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> args{"batch", "setup",     "--job",    job,    "--size",
                                      size,    "--log-dir", logs + "/", "--yes"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runQeltoctl(args);
    }

    ProcessResult write(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args{"batch",  "write",         document.string(),
                                      "--port", sim->portPath(), "--pin",
                                      "1234",   "--user",        "Smith, \"Jo\""};
        args.insert(args.end(), extra.begin(), extra.end());
        return runQeltoctl(args);
    }

    std::string jobFile(const std::string& job) const {
        return logs + "/" + thisYear() + "/" + job + ".csv";
    }

    std::string logs = (testDir() / "logs").string();
    std::filesystem::path document;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(BatchCommands, EveryUnitIsLoggedAndCountedOnceAndTheFullBatchRefusesMore) {
    startUnit();
    const std::string job = "SO 5, rush";
    ASSERT_EQ(setUp(job, "2").exitCode, 0);

    const ProcessResult first = write();
    ASSERT_TRUE(exited(first, 0));
    EXPECT_NE(first.out.find("unit 987654321 written, 1 of 2"), std::string::npos) << first.out;
    const ProcessResult again = write();
    ASSERT_TRUE(exited(again, 0));
    EXPECT_NE(again.out.find("unit 987654321 written again; this batch counted it before, so the "
                             "counter stays at 1 of 2"),
              std::string::npos)
        << again.out;
    EXPECT_EQ(std::ranges::count(sim->pollCommands(), protocol::CMD_RESET), 0);

    startUnit({}, "987654322");
    const ProcessResult second = write({"--verify", "--reset-counters"});
    ASSERT_TRUE(exited(second, 0, {"is complete"}));
    EXPECT_NE(second.out.find("unit 987654322 written and its counters cleared, 2 of 2"),
              std::string::npos)
        << second.out;
    EXPECT_EQ(std::ranges::count(sim->pollCommands(), protocol::CMD_RESET), 1);

    const auto requestsBefore = readFile(sim->requestLog()).size();
    EXPECT_TRUE(exited(write(), 1,
                       {"batch SO 5, rush is complete: 2 of 2 units written; start a new batch"}));
    EXPECT_EQ(readFile(sim->requestLog()).size(), requestsBefore) << "the unit was not touched";

    const std::string lines = readFile(jobFile(job));
    EXPECT_EQ(lines.rfind("Date,Time,Serial No,Model,Software,Result,User,Host\r\n", 0), 0u);
    EXPECT_EQ(count(lines, ",987654321,"), 2u) << lines;
    EXPECT_EQ(count(lines, ",ok,\"Smith, \"\"Jo\"\"\","), 3u) << lines;

    const ProcessResult status = runQeltoctl({"batch", "status"});
    EXPECT_NE(status.out.find("counter: 2\n"), std::string::npos) << status.out;
    EXPECT_NE(status.out.find(jobFile(job)), std::string::npos) << status.out;
}

TEST_F(BatchCommands, AFailedWriteIsLoggedButNotCounted) {
    // The poll and both unlocks are answered, the write's first read is not.
    startUnit({"--silent-after", "3"});
    ASSERT_EQ(setUp("J1", "3").exitCode, 0);
    EXPECT_TRUE(exited(write({"--reply-timeout", "50"}), 1, {"stays at 0 of 3"}));
    EXPECT_EQ(count(readFile(jobFile("J1")), ",987654321,"), 1u);
    EXPECT_EQ(count(readFile(jobFile("J1")), ",failed,"), 1u);
    EXPECT_NE(runQeltoctl({"batch", "status"}).out.find("counter: 0\n"), std::string::npos);

    // A new batch needs the password; without a batch there is nothing to write to.
    EXPECT_EQ(runQeltoctl({"batch", "new", "--password", "qvx"}).exitCode, 1);
    EXPECT_EQ(runQeltoctl({"batch", "new", "--password", "QVZ"}).exitCode, 0);
    EXPECT_TRUE(exited(write(), 1, {"no batch is set up"}));
}

}  // namespace
}  // namespace qelto::test
