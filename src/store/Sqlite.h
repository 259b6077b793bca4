#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace veltrane::store {

// A failure of the database library, with its result code and message.
class StoreError : public std::runtime_error {
public:
    StoreError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }
    // The file is not a database, or its pages are damaged.
    bool damaged() const;
    // The disk or the quota is full.
    bool full() const;
    // Another connection holds the file.
    bool busy() const;

private:
    int code_;
};

// How long a connection waits for another that holds the file.
inline constexpr int kBusyTimeoutMs = 10'000;

// One open connection; closed with its owner.
class Connection {
public:
    // Opens or creates the file; throws StoreError when it cannot.
    explicit Connection(const std::string& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs statements that give no rows.
    void execute(const char* sql);
    std::int64_t lastInsertId() const;
    int changes() const;
    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(int code) const;

    // Runs `step` again while another connection holds the file, for up to
    // the busy timeout. For the steps the library answers "locked" at once
    // instead of waiting, such as two connections switching a new file's
    // journal at the same moment.
    template <typename Step>
    void retryWhileBusy(Step step) {
        for (int waited = 0;; waited += kRetryPauseMs) {
            try {
                step();
                return;
            } catch (const StoreError& error) {
                if (!error.busy() || waited >= kBusyTimeoutMs) {
                    throw;
                }
            }
            pause();
        }
    }

private:
    static constexpr int kRetryPauseMs = 20;
    static void pause();

    sqlite3* db_ = nullptr;
};

// One prepared statement: bind by position from 1, step, read columns from 0.
class Statement {
public:
    Statement(Connection& connection, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, const std::string& value);
    Statement& bindNull(int index);
    // True while there is a row to read; false when done.
    bool step();
    void run() { (void)step(); }

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;

private:
    Connection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE, so a writer waits for another at once (within the busy
// timeout) instead of failing half-way; rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace veltrane::store
