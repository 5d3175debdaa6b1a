// `qeltoctl history` on a history the test records through the store itself: the list as JSON,
// one entry in full and saved as a document, and the differences between two of a unit's
// configurations, which must read exactly as `qeltoctl diff` does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "logs/sqlite_history.h"
#include "model/qelto_doc.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

std::vector<std::uint8_t> documentBytes(const std::string& comments) {
    const model::NoPumpNameDefaults names;
    model::CProgData config;
    model::CQeltoDoc doc(config, names);
    doc.onNewDocument();
    config.comments = comments;
    return doc.storeToBytes();
}

class HistoryCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("QELTO_HISTORY", file.c_str(), 1);
        auto history = logs::SqliteHistory::open(file, nullptr);
        ASSERT_NE(history, nullptr);
        const struct {
            const char* operation;
            std::uint32_t serial;
            std::vector<std::uint8_t> snapshot;
        } entries[] = {
            {"read", 4711, before},
            {"clock-set", 4711, {}},
            {"write", 4711, after},
            {"read", 99, before},
        };
        for (const auto& e : entries) {
            logs::HistoryEntry entry;
            entry.time = "2026-12-07T23:05:06Z";
            entry.user = e.serial == 99 ? "bob" : "alice";
            entry.operation = e.operation;
            entry.serial = e.serial;
            entry.snapshot = e.snapshot;
            ASSERT_TRUE(history->record(entry, nullptr).has_value());
        }
    }
    void TearDown() override { ::unsetenv("QELTO_HISTORY"); }

    const std::filesystem::path file = testDir() / "shared" / "history.sqlite";
    const std::vector<std::uint8_t> before = documentBytes("first");
    const std::vector<std::uint8_t> after = documentBytes("second");
};

TEST_F(HistoryCommand, listsNewestFirstAsJson) {
    ASSERT_TRUE(exited(runQeltoctl({"history"}), 0));
    const auto json = runQeltoctl({"history", "--serial", "4711", "--limit", "2", "--json"});
    ASSERT_TRUE(exited(json, 0));
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"([
        {"id": 3, "time": "2026-12-07T23:05:06Z", "operation": "write", "serial": 4711,
         "result": "done", "user": "alice"},
        {"id": 2, "time": "2026-12-07T23:05:06Z", "operation": "clock-set", "serial": 4711,
         "result": "done", "user": "alice"}])"));
}

TEST_F(HistoryCommand, showsAnEntryAndSavesItsConfiguration) {
    const auto saved = testDir() / "saved.qlf";
    const auto show = runQeltoctl({"history", "show", "3", "--out", saved.string()});
    ASSERT_TRUE(exited(show, 0));
    EXPECT_NE(show.out.find("operation:       write\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(std::to_string(after.size()) + " bytes"), std::string::npos);
    writeFile(testDir() / "after.qlf", after);
    EXPECT_TRUE(
        exited(runQeltoctl({"diff", saved.string(), (testDir() / "after.qlf").string()}), 0));

    const struct {
        std::vector<std::string> args;
        int status;
        const char* said;
    } refusals[] = {
        {{"history", "show", "2", "--out", "none.qlf"}, 5, "entry 2 (clock-set, done) keeps no"},
        {{"history", "show", "42"}, 4, "the unit history has no entry 42"},
        {{"history", "diff", "1"}, 5, "no configuration of unit 4711 older than entry 1"},
        {{"history", "diff", "1", "42"}, 4, "no entry 42"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.said);
        const auto run = runQeltoctl(r.args);
        EXPECT_TRUE(exited(run, r.status, {r.said}));
        EXPECT_TRUE(run.err.starts_with("qeltoctl: ")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(testDir() / "none.qlf"));
}

TEST_F(HistoryCommand, diffReadsAsDiffOfTheTwoDocuments) {
    writeFile(testDir() / "before.qlf", before);
    writeFile(testDir() / "after.qlf", after);
    for (const char* json : {"", "--json"}) {
        std::vector<std::string> files{"diff", "before.qlf", "after.qlf"};
        std::vector<std::string> previous{"history", "diff", "3"};
        std::vector<std::string> named{"history", "diff", "1", "3"};
        if (*json != '\0') {
            files.push_back(json);
            previous.push_back(json);
            named.push_back(json);
        }
        const auto expected = runQeltoctl(files);
        ASSERT_EQ(expected.exitCode, 1) << expected.err;
        ASSERT_NE(expected.out, "");
        for (const auto& args : {previous, named}) {
            const auto run = runQeltoctl(args);
            EXPECT_EQ(run.exitCode, 1) << run.err;
            EXPECT_EQ(run.out, expected.out);
        }
    }
    EXPECT_TRUE(exited(runQeltoctl({"history", "diff", "4", "1"}), 0));
}

}  // namespace
}  // namespace qelto::test
