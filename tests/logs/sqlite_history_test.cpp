// The unit history file: what goes in comes out, two processes recording at once lose nothing, a
// damaged file is set aside and never written into, and a history that cannot be used says why.
#include "logs/sqlite_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_env.h"

namespace qelto::logs {
namespace {

using test::testDir;

HistoryEntry makeEntry(const std::string& operation, std::uint32_t serial,
                       std::vector<std::uint8_t> snapshot = {}) {
    HistoryEntry e;
    e.time = "2026-12-07T23:05:06Z";
    e.user = "alice";
    e.host = "bench-7";
    e.operation = operation;
    e.serial = serial;
    e.unitType = "L4";
    e.unitSoftware = "3.12";
    e.programVersion = "0.1.0";
    e.link = "/dev/ttyUSB0, RF channel 9";
    e.result = HistoryResult::Differs;
    e.message = "Line one\nline \"two\"";
    e.snapshot = std::move(snapshot);
    return e;
}

std::unique_ptr<SqliteHistory> openOrFail(const std::filesystem::path& path) {
    std::string warning;
    auto history = SqliteHistory::open(path, &warning);
    EXPECT_NE(history, nullptr) << warning;
    EXPECT_EQ(warning, "");
    return history;
}

std::vector<std::int64_t> idsOf(const std::vector<HistoryEntry>& entries) {
    std::vector<std::int64_t> ids;
    for (const auto& e : entries) {
        ids.push_back(e.id);
    }
    return ids;
}

// Runs SQL on the file directly, as another program would; the first column of the last row.
int runSql(const std::filesystem::path& path, const char* sql) {
    sqlite3* db = nullptr;
    int value = -1;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const auto keep = [](void* into, int, char** columns, char**) {
        *static_cast<int*>(into) = std::atoi(columns[0]);
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql, keep, &value, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return value;
}

TEST(SqliteHistory, whatIsRecordedIsListedAndFound) {
    const auto path = testDir() / "new" / "folder" / "history.sqlite";
    auto history = openOrFail(path);
    ASSERT_NE(history, nullptr);
    const std::vector<std::uint8_t> first{1, 2, 0, 3};
    const std::vector<std::uint8_t> second{9, 8, 7};
    const HistoryEntry recorded[] = {
        makeEntry("read", 4711, first), makeEntry("read", 99, second),
        makeEntry("clock-set", 4711),   makeEntry("write", 4711, second),
        makeEntry("scan", 0),
    };
    std::string error;
    for (std::int64_t expected = 1; const auto& e : recorded) {
        EXPECT_EQ(history->record(e, &error), expected++) << error;
    }

    // The serial and limit filters are read through `qeltoctl history --serial --limit`.
    const auto entries = history->list({}, &error);
    EXPECT_EQ(idsOf(entries), (std::vector<std::int64_t>{5, 4, 3, 2, 1})) << error;
    for (const auto& e : entries) {
        EXPECT_TRUE(e.snapshot.empty()) << "the list leaves the bytes out";
        EXPECT_EQ(e.hasSnapshot, e.operation == "read" || e.operation == "write");
    }

    const auto four = history->entry(4, &error);
    ASSERT_TRUE(four.has_value()) << error;
    EXPECT_EQ(
        std::tie(four->operation, four->serial, four->link, four->message, four->unitSoftware),
        std::tie(recorded[3].operation, recorded[3].serial, recorded[3].link, recorded[3].message,
                 recorded[3].unitSoftware));
    EXPECT_EQ(four->result, HistoryResult::Differs);
    EXPECT_EQ(four->snapshot, second);
    EXPECT_TRUE(four->hasSnapshot);
    EXPECT_FALSE(history->entry(3, &error)->hasSnapshot);
    EXPECT_FALSE(history->entry(42, &error).has_value());
    EXPECT_EQ(error, "") << "no such entry is no failure";
}

TEST(SqliteHistory, twoProcessesRecordingAtOnceLoseNothing) {
    const auto path = testDir() / "history.sqlite";
    constexpr int kEach = 300;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(start[1]);
            char go = 0;
            const ssize_t got = ::read(start[0], &go, 1);  // returns when the parent closes its end
            (void)got;
            std::string error;
            auto history = SqliteHistory::open(path, &error);
            int recorded = 0;
            for (int i = 0; history && i < kEach; ++i) {
                const std::string operation = "child-" + std::to_string(child);
                recorded += history->record(makeEntry(operation, 7, {1, 2, 3}), &error) ? 1 : 0;
            }
            ::_exit(recorded == kEach ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    auto history = openOrFail(path);
    ASSERT_NE(history, nullptr);
    std::string error;
    const auto entries = history->list({}, &error);
    ASSERT_EQ(entries.size(), 2U * kEach) << error;
    const auto ids = idsOf(entries);
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const HistoryEntry& e) { return e.operation == "child-0"; }),
              kEach);
}

// A real history whose pages were overwritten, with its log left beside it.
TEST(SqliteHistory, aDamagedFileIsSetAsideAndANewHistoryStarted) {
    const auto path = testDir() / "history.sqlite";
    {
        auto history = openOrFail(path);
        ASSERT_NE(history, nullptr);
        for (int i = 0; i < 50; ++i) {
            ASSERT_TRUE(history->record(makeEntry("read", 1, std::vector<std::uint8_t>(3000, 0x55)),
                                        nullptr));
        }
    }
    std::string bytes = test::readFile(path);
    ASSERT_GT(bytes.size(), 16384U);
    std::fill(bytes.begin() + 4096, bytes.begin() + 16384, '\xff');
    test::writeFile(path, bytes);
    // A log left beside the damaged file must not leak into the new one.
    test::writeFile(path.string() + "-wal", std::string(4096, 'w'));

    std::string warning;
    auto history = SqliteHistory::open(path, &warning);
    ASSERT_NE(history, nullptr) << warning;
    const std::string prefix = "the unit history " + path.string() + " was damaged; it was " +
                               "moved to " + path.string() + ".damaged-";
    ASSERT_TRUE(warning.starts_with(prefix)) << warning;
    EXPECT_TRUE(warning.ends_with("; a new history was started")) << warning;
    const std::string aside = warning.substr(
        warning.find(" moved to ") + 10, warning.find("; a new") - warning.find(" moved to ") - 10);
    EXPECT_EQ(test::readFile(aside), bytes);
    EXPECT_EQ(history->record(makeEntry("read", 1), nullptr), 1);
    EXPECT_EQ(history->list({}, nullptr).size(), 1U);
}

TEST(SqliteHistory, aHistoryThatCannotBeOpenedSaysWhy) {
    test::writeFile(testDir() / "plain-file", "not a folder");
    const auto path = testDir() / "plain-file" / "history.sqlite";
    std::string warning;
    EXPECT_EQ(SqliteHistory::open(path, &warning), nullptr);
    EXPECT_TRUE(warning.starts_with("the unit history " + path.string() + " cannot be opened: "))
        << warning;
    EXPECT_NE(warning.find("a file stands where a folder should be; move that file away"),
              std::string::npos)
        << warning;
    EXPECT_EQ(test::readFile(testDir() / "plain-file"), "not a folder");
}

TEST(SqliteHistory, aHistoryOfANewerLayoutIsLeftAlone) {
    std::filesystem::create_directories(testDir() / "newer");
    const auto path = testDir() / "newer" / "history.sqlite";
    runSql(path, "CREATE TABLE future (a); PRAGMA user_version = 2;");
    const std::string bytes = test::readFile(path);
    std::string warning;
    EXPECT_EQ(SqliteHistory::open(path, &warning), nullptr);
    EXPECT_NE(warning.find("was written by a newer Qelto (history layout 2"), std::string::npos)
        << warning;
    EXPECT_EQ(test::readFile(path), bytes) << "not a byte of it was changed";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1)
        << "nothing was set aside";
}

}  // namespace
}  // namespace qelto::logs
