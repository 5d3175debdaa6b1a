#include "logs/sqlite_history.h"

#include <fmt/format.h>

#include <limits>

#include "logs/sqlite_errors.h"

namespace qelto::logs {
namespace {

// The columns every read returns, in the order readEntry() takes them.
#define QELTO_HISTORY_COLUMNS                                                                    \
    "id, time, user, host, operation, serial, unit_type, unit_software, program_version, link, " \
    "result, message, snapshot IS NOT NULL"

HistoryEntry readEntry(const sqlite::Statement& row) {
    HistoryEntry entry;
    entry.id = row.integer(0);
    entry.time = row.text(1);
    entry.user = row.text(2);
    entry.host = row.text(3);
    entry.operation = row.text(4);
    const std::int64_t serial = row.integer(5);
    entry.serial = serial >= 0 && serial <= std::numeric_limits<std::uint32_t>::max()
                       ? static_cast<std::uint32_t>(serial)
                       : 0;
    entry.unitType = row.text(6);
    entry.unitSoftware = row.text(7);
    entry.programVersion = row.text(8);
    entry.link = row.text(9);
    // A word this Qelto does not know comes from a newer one; it is no success we can vouch for.
    entry.result = historyResultFromName(row.text(10)).value_or(HistoryResult::Failed);
    entry.message = row.text(11);
    entry.hasSnapshot = row.integer(12) != 0;
    return entry;
}

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

}  // namespace

SqliteHistory::SqliteHistory(std::filesystem::path path, sqlite::Connection db)
    : path_(std::move(path)), db_(std::move(db)) {}

std::string SqliteHistory::failure(const char* doing, int code) const {
    return fmt::format("the unit history {} could not be {}: {}", path_.string(), doing,
                       sqlite::reasonFor(db_.get(), code));
}

std::optional<std::int64_t> SqliteHistory::record(const HistoryEntry& entry, std::string* error) {
    sqlite::WriteTransaction transaction(db_.get());
    if (transaction.status() != SQLITE_OK) {
        setError(error, failure("written", transaction.status()));
        return std::nullopt;
    }
    sqlite::Statement insert(
        db_.get(),
        "INSERT INTO entries (time, user, host, operation, serial, unit_type, unit_software,"
        " program_version, link, result, message, snapshot)"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    insert.bind(1, entry.time);
    insert.bind(2, entry.user);
    insert.bind(3, entry.host);
    insert.bind(4, entry.operation);
    insert.bind(5, static_cast<std::int64_t>(entry.serial));
    insert.bind(6, entry.unitType);
    insert.bind(7, entry.unitSoftware);
    insert.bind(8, entry.programVersion);
    insert.bind(9, entry.link);
    insert.bind(10, historyResultName(entry.result));
    insert.bind(11, entry.message);
    insert.bindBytes(12, entry.snapshot);
    int code = insert.step();
    if (code == SQLITE_DONE) {
        const std::int64_t id = sqlite3_last_insert_rowid(db_.get());
        code = transaction.commit();
        if (code == SQLITE_OK) {
            return id;
        }
    }
    setError(error, failure("written", code));
    return std::nullopt;
}

std::vector<HistoryEntry> SqliteHistory::list(const HistoryQuery& query, std::string* error) {
    sqlite::Statement select(
        db_.get(), query.serial ? "SELECT " QELTO_HISTORY_COLUMNS
                                  " FROM entries WHERE serial = ?2 ORDER BY id DESC LIMIT ?1"
                                : "SELECT " QELTO_HISTORY_COLUMNS
                                  " FROM entries ORDER BY id DESC LIMIT ?1");
    // A negative LIMIT is no limit.
    const bool bounded =
        query.limit > 0 &&
        query.limit < static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max());
    select.bind(1, bounded ? static_cast<std::int64_t>(query.limit) : std::int64_t{-1});
    if (query.serial) {
        select.bind(2, static_cast<std::int64_t>(*query.serial));
    }
    std::vector<HistoryEntry> entries;
    int code = SQLITE_OK;
    while ((code = select.step()) == SQLITE_ROW) {
        entries.push_back(readEntry(select));
    }
    if (code != SQLITE_DONE) {
        setError(error, failure("read", code));
        return {};
    }
    return entries;
}

std::optional<HistoryEntry> SqliteHistory::oneEntry(std::string_view sql, std::int64_t id,
                                                    std::string* error) {
    sqlite::Statement select(db_.get(), sql);
    select.bind(1, id);
    const int code = select.step();
    if (code == SQLITE_ROW) {
        HistoryEntry entry = readEntry(select);
        entry.snapshot = select.bytes(13);
        return entry;
    }
    if (code != SQLITE_DONE) {
        setError(error, failure("read", code));
    }
    return std::nullopt;
}

std::optional<HistoryEntry> SqliteHistory::entry(std::int64_t id, std::string* error) {
    return oneEntry("SELECT " QELTO_HISTORY_COLUMNS ", snapshot FROM entries WHERE id = ?1", id,
                    error);
}

std::optional<HistoryEntry> SqliteHistory::previousSnapshot(std::int64_t id, std::string* error) {
    // Serial 0 is "no unit answered", which is no unit to follow.
    return oneEntry("SELECT " QELTO_HISTORY_COLUMNS
                    ", snapshot FROM entries"
                    " WHERE serial = (SELECT serial FROM entries WHERE id = ?1) AND serial != 0"
                    " AND id < ?1 AND snapshot IS NOT NULL ORDER BY id DESC LIMIT 1",
                    id, error);
}

}  // namespace qelto::logs
