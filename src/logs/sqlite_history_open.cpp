// Opening the history file: its folder, the damage check, WAL mode and the layout's migrations.
#include <fmt/format.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>
#include <thread>

#include "logs/sqlite_errors.h"
#include "logs/sqlite_history.h"
#include "platform/calendar_time.h"

namespace qelto::logs {
namespace {

using sqlite::Connection;

// Each step takes the layout from its index to the next; a new layout adds a step, never edits one.
using Migration = int (*)(sqlite3*);

int createEntries(sqlite3* db) {
    int code = sqlite::execute(db,
                               "CREATE TABLE entries ("
                               " id INTEGER PRIMARY KEY,"
                               " time TEXT NOT NULL,"
                               " user TEXT NOT NULL,"
                               " host TEXT NOT NULL,"
                               " operation TEXT NOT NULL,"
                               " serial INTEGER NOT NULL,"
                               " unit_type TEXT NOT NULL,"
                               " unit_software TEXT NOT NULL,"
                               " program_version TEXT NOT NULL,"
                               " link TEXT NOT NULL,"
                               " result TEXT NOT NULL,"
                               " message TEXT NOT NULL,"
                               " snapshot BLOB NULL)");
    if (code == SQLITE_OK) {
        code = sqlite::execute(db, "CREATE INDEX entries_by_serial ON entries (serial, id)");
    }
    return code;
}

constexpr std::array<Migration, kHistorySchemaVersion> kMigrations{createEntries};

enum class Outcome { Ready, Damaged, Failed };

struct Attempt {
    Outcome outcome = Outcome::Failed;
    Connection db;
    std::string reason;  // for Failed: why, and what to do
    int code = 0;        // for Failed and Damaged: SQLite's result code
};

// Another process is opening the same new history (creating it, switching it to the write-ahead
// log): SQLite may say so at once instead of waiting in the busy handler.
bool isContention(const Attempt& attempt) {
    const int primary = attempt.code & 0xff;
    return attempt.outcome == Outcome::Failed &&
           (primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
}

bool isDamage(int code) {
    return (code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CORRUPT;
}

Attempt failed(sqlite3* db, int code) {
    Attempt attempt;
    attempt.outcome = isDamage(code) ? Outcome::Damaged : Outcome::Failed;
    attempt.reason = sqlite::reasonFor(db, code);
    attempt.code = code;
    return attempt;
}

std::optional<int> userVersion(sqlite3* db, int* code) {
    const auto value = sqlite::pragmaValue(db, "PRAGMA user_version", code);
    int version = 0;
    if (!value ||
        std::from_chars(value->data(), value->data() + value->size(), version).ec != std::errc{}) {
        if (value) {
            *code = SQLITE_CORRUPT;
        }
        return std::nullopt;
    }
    return version;
}

std::string newerLayout(int version) {
    return fmt::format(
        "it was written by a newer Qelto (history layout {}, this Qelto knows up to {}) and was "
        "left as it is; use the newer Qelto, or move the file away to start a new history",
        version, kHistorySchemaVersion);
}

// Brings the layout up to date inside one write transaction, so that two processes opening a new
// file at once create the tables once.
Attempt migrate(Connection db) {
    int code = SQLITE_OK;
    auto version = userVersion(db.get(), &code);
    if (!version) {
        return failed(db.get(), code);
    }
    if (*version == kHistorySchemaVersion) {
        return {Outcome::Ready, std::move(db), {}};
    }
    if (*version < kHistorySchemaVersion) {
        sqlite::WriteTransaction transaction(db.get());
        if (transaction.status() != SQLITE_OK) {
            return failed(db.get(), transaction.status());
        }
        version = userVersion(db.get(), &code);
        if (!version) {
            return failed(db.get(), code);
        }
        for (int step = *version; step < kHistorySchemaVersion && code == SQLITE_OK; ++step) {
            code = kMigrations[static_cast<std::size_t>(step)](db.get());
        }
        if (code == SQLITE_OK && *version < kHistorySchemaVersion) {
            // A pragma takes no bound parameters; the value is this program's constant.
            code = sqlite::execute(db.get(),
                                   fmt::format("PRAGMA user_version = {}", kHistorySchemaVersion));
        }
        if (code == SQLITE_OK) {
            code = transaction.commit();
        }
        if (code != SQLITE_OK) {
            return failed(db.get(), code);
        }
        if (*version <= kHistorySchemaVersion) {
            return {Outcome::Ready, std::move(db), {}};
        }
    }
    Attempt refused;
    refused.reason = newerLayout(*version);
    return refused;
}

Attempt attemptOpen(const std::filesystem::path& path) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw);
    if (opened != SQLITE_OK) {
        return failed(raw, opened);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    int code = SQLITE_OK;
    const auto check = sqlite::pragmaValue(raw, "PRAGMA quick_check", &code);
    if (!check) {
        return failed(raw, code);
    }
    if (*check != "ok") {
        return failed(raw, SQLITE_CORRUPT);
    }
    // Even the switch to WAL mode writes into the file, so a newer layout is refused first.
    const auto version = userVersion(raw, &code);
    if (!version) {
        return failed(raw, code);
    }
    if (*version > kHistorySchemaVersion) {
        Attempt refused;
        refused.reason = newerLayout(*version);
        return refused;
    }
    const auto mode = sqlite::pragmaValue(raw, "PRAGMA journal_mode = WAL", &code);
    if (!mode) {
        return failed(raw, code);
    }
    if (*mode != "wal") {
        Attempt refused;
        refused.reason =
            "its folder does not allow the shared write-ahead log; move it to a local "
            "disk";
        return refused;
    }
    // An entry the engineer was told about is on the disk before the operation's end is reported.
    code = sqlite::execute(raw, "PRAGMA synchronous = FULL");
    if (code != SQLITE_OK) {
        return failed(raw, code);
    }
    return migrate(std::move(db));
}

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    platform::utcTime(now, utc);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &utc);
    return text.data();
}

std::filesystem::path withSuffix(const std::filesystem::path& path, const std::string& suffix) {
    return std::filesystem::path(path.string() + suffix);
}

// Renames the damaged file and the -wal and -shm files SQLite left beside it (another process
// may still hold them), so that none is read into the new file; the name it went to, or "" with
// the reason.
std::filesystem::path setAside(const std::filesystem::path& path, std::string* reason) {
    const std::string stamp = ".damaged-" + utcStamp();
    std::filesystem::path target = withSuffix(path, stamp);
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(target, ec) && n < 100; ++n) {
        target = withSuffix(path, fmt::format("{}-{}", stamp, n));
    }
    for (const char* part : {"", "-wal", "-shm"}) {
        const auto from = withSuffix(path, part);
        if (std::rename(from.c_str(), withSuffix(target, part).c_str()) != 0 && errno != ENOENT) {
            *reason = fmt::format("it is damaged and could not be moved aside: {}",
                                  sqlite::reasonForErrno(errno));
            return {};
        }
    }
    return target;
}

std::string cannotOpen(const std::filesystem::path& path, const std::string& reason) {
    return fmt::format("the unit history {} cannot be opened: {}", path.string(), reason);
}

}  // namespace

std::unique_ptr<SqliteHistory> SqliteHistory::open(const std::filesystem::path& path,
                                                   std::string* warning) {
    std::string ignored;
    std::string& said = warning != nullptr ? *warning : ignored;
    said.clear();
    std::error_code ec;
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            said = cannotOpen(path, fmt::format("its folder {} cannot be made: {}", folder.string(),
                                                sqlite::reasonForErrno(ec.value())));
            return nullptr;
        }
    }
    Attempt attempt = attemptOpen(path);
    for (int retry = 0; retry < 50 && isContention(attempt); ++retry) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        attempt = attemptOpen(path);
    }
    if (attempt.outcome == Outcome::Damaged) {
        attempt.db.reset();
        std::string reason;
        const std::filesystem::path aside = setAside(path, &reason);
        if (aside.empty()) {
            said = cannotOpen(path, reason);
            return nullptr;
        }
        attempt = attemptOpen(path);
        if (attempt.outcome == Outcome::Ready) {
            said = fmt::format(
                "the unit history {} was damaged; it was moved to {}; a new history was started",
                path.string(), aside.string());
        }
    }
    if (attempt.outcome != Outcome::Ready) {
        said = cannotOpen(path, attempt.reason);
        return nullptr;
    }
    return std::unique_ptr<SqliteHistory>(new SqliteHistory(path, std::move(attempt.db)));
}

}  // namespace qelto::logs
