// The unit history in one SQLite file per user. Several Qelto processes may record into it at
// once: the file is in WAL mode, a writer waits up to five seconds for another, and each change
// is one transaction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logs/sqlite_handles.h"
#include "logs/unit_history.h"

namespace qelto::logs {

// The layout this Qelto writes (PRAGMA user_version). A file of a newer layout is left alone.
inline constexpr int kHistorySchemaVersion = 1;

class SqliteHistory final : public UnitHistory {
  public:
    // Opens the history at path, making its folders and its tables when they are missing. A
    // damaged file is renamed aside (with its -wal and -shm files) to
    // "<name>.damaged-YYYYMMDD-HHMMSS" and a new history started; *warning then says where the old
    // one went. Returns nullptr, with one sentence naming the file, the reason and what to do in
    // *warning, when the history cannot be used. Never throws.
    static std::unique_ptr<SqliteHistory> open(const std::filesystem::path& path,
                                               std::string* warning);

    std::optional<std::int64_t> record(const HistoryEntry& entry, std::string* error) override;
    std::vector<HistoryEntry> list(const HistoryQuery& query, std::string* error) override;
    std::optional<HistoryEntry> entry(std::int64_t id, std::string* error) override;
    std::optional<HistoryEntry> previousSnapshot(std::int64_t id, std::string* error) override;

    const std::filesystem::path& path() const { return path_; }

  private:
    SqliteHistory(std::filesystem::path path, sqlite::Connection db);

    std::optional<HistoryEntry> oneEntry(std::string_view sql, std::int64_t id, std::string* error);
    std::string failure(const char* doing, int code) const;

    std::filesystem::path path_;
    sqlite::Connection db_;
};

}  // namespace qelto::logs
