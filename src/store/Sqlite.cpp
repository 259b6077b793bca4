#include "store/Sqlite.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace veltrane::store {

bool StoreError::damaged() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

bool StoreError::full() const {
    return (code_ & 0xff) == SQLITE_FULL;
}

bool StoreError::busy() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void Connection::pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(kRetryPauseMs));
}

Connection::Connection(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError(code, message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

Connection::~Connection() {
    sqlite3_close(db_);
}

void Connection::fail(int code) const {
    throw StoreError(code, sqlite3_errmsg(db_));
}

void Connection::execute(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        fail(code);
    }
}

std::int64_t Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const {
    return sqlite3_changes(db_);
}

Statement::Statement(Connection& connection, const char* sql) : connection_(connection) {
    const int code = sqlite3_prepare_v2(connection.handle(), sql, -1, &statement_, nullptr);
    if (code != SQLITE_OK) {
        connection.fail(code);
    }
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (const int code = sqlite3_bind_int64(statement_, index, value); code != SQLITE_OK) {
        connection_.fail(code);
    }
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (const int code = sqlite3_bind_double(statement_, index, value); code != SQLITE_OK) {
        connection_.fail(code);
    }
    return *this;
}

Statement& Statement::bind(int index, const std::string& value) {
    const int code = sqlite3_bind_text64(statement_, index, value.data(), value.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code != SQLITE_OK) {
        connection_.fail(code);
    }
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (const int code = sqlite3_bind_null(statement_, index); code != SQLITE_OK) {
        connection_.fail(code);
    }
    return *this;
}

bool Statement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code != SQLITE_DONE) {
        connection_.fail(code);
    }
    return false;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string Statement::text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes == nullptr
               ? std::string()
               : std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_) {
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    connection_.execute("COMMIT");
    done_ = true;
}

}  // namespace veltrane::store
