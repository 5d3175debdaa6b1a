#include "logs/sqlite_handles.h"

#include <climits>

namespace qelto::logs::sqlite {

Statement::Statement(sqlite3* db, std::string_view sql) {
    if (sql.size() > static_cast<std::size_t>(INT_MAX)) {
        status_ = SQLITE_TOOBIG;
        return;
    }
    status_ =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::keep(int code) {
    if (status_ == SQLITE_OK && code != SQLITE_OK) {
        status_ = code;
    }
}

void Statement::bind(int index, std::int64_t value) {
    if (status_ == SQLITE_OK) {
        keep(sqlite3_bind_int64(statement_, index, value));
    }
}

void Statement::bind(int index, std::string_view text) {
    if (status_ == SQLITE_OK) {
        keep(sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_STATIC,
                                 SQLITE_UTF8));
    }
}

void Statement::bindBytes(int index, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        bindNull(index);
    } else if (status_ == SQLITE_OK) {
        keep(sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_STATIC));
    }
}

void Statement::bindNull(int index) {
    if (status_ == SQLITE_OK) {
        keep(sqlite3_bind_null(statement_, index));
    }
}

int Statement::step() {
    if (status_ != SQLITE_OK) {
        return status_;
    }
    const int code = sqlite3_step(statement_);
    if (code != SQLITE_ROW && code != SQLITE_DONE) {
        status_ = code;
    }
    return code;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::text(int column) const {
    const auto* chars = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (chars == nullptr || size <= 0) {
        return {};
    }
    return {reinterpret_cast<const char*>(chars), static_cast<std::size_t>(size)};
}

std::vector<std::uint8_t> Statement::bytes(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return {data, data + size};
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

int execute(sqlite3* db, std::string_view sql) {
    Statement statement(db, sql);
    const int code = statement.step();
    return code == SQLITE_DONE || code == SQLITE_ROW ? SQLITE_OK : code;
}

std::optional<std::string> pragmaValue(sqlite3* db, std::string_view sql, int* code) {
    Statement statement(db, sql);
    const int stepped = statement.step();
    if (stepped == SQLITE_ROW) {
        return statement.text(0);
    }
    *code = stepped == SQLITE_DONE ? SQLITE_ERROR : stepped;
    return std::nullopt;
}

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db), status_(execute(db, "BEGIN IMMEDIATE")) {
    open_ = status_ == SQLITE_OK;
}

WriteTransaction::~WriteTransaction() {
    if (open_) {
        execute(db_, "ROLLBACK");
    }
}

int WriteTransaction::commit() {
    if (!open_) {
        return status_;
    }
    status_ = execute(db_, "COMMIT");
    // A COMMIT that failed (SQLITE_BUSY, a full disk) leaves the transaction open; the destructor
    // rolls it back.
    open_ = status_ != SQLITE_OK && sqlite3_get_autocommit(db_) == 0;
    return status_;
}

}  // namespace qelto::logs::sqlite
