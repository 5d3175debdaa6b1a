// Owning handles of an SQLite connection and its prepared statements, so that every way out of a
// function closes and finalizes what it opened. Values always travel as bound parameters.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::logs::sqlite {

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // SQLITE_OK while the statement could be prepared and every value bound.
    int status() const { return status_; }

    // Parameters are numbered from 1. Texts and bytes must live until the last step().
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view text);
    // Empty bytes are stored as NULL: "no snapshot".
    void bindBytes(int index, std::span<const std::uint8_t> bytes);
    void bindNull(int index);

    // SQLITE_ROW, SQLITE_DONE or the error; a failed prepare or bind is returned here.
    int step();

    // Columns are numbered from 0.
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    std::vector<std::uint8_t> bytes(int column) const;
    bool isNull(int column) const;

  private:
    void keep(int code);

    sqlite3_stmt* statement_ = nullptr;
    int status_ = SQLITE_OK;
};

// Runs statements that take no values and return no rows (pragmas, BEGIN, COMMIT).
int execute(sqlite3* db, std::string_view sql);

// A single-value pragma's answer ("wal", "ok", "1"); nullopt with the code in *code on failure.
std::optional<std::string> pragmaValue(sqlite3* db, std::string_view sql, int* code);

// A write transaction that takes the write lock at once (so the busy time-out covers the wait),
// and rolls back unless committed.
class WriteTransaction {
  public:
    explicit WriteTransaction(sqlite3* db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    int status() const { return status_; }
    int commit();

  private:
    sqlite3* db_;
    int status_;
    bool open_ = false;
};

}  // namespace qelto::logs::sqlite
