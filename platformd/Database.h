#pragma once
// The platform's SQLite store: one connection in WAL mode, serialised by a mutex. Callers
// hold the lock for the whole of an operation so a balance check and its debit cannot
// interleave with another request's.
#include <mutex>
#include <string>
#include <string_view>

#include "SqlStatement.h"

struct sqlite3;

namespace platformd {

class Database {
  public:
    // An empty path opens a fresh database in a temporary file that is removed on close.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

    // Only for fixed SQL without values (schema, transaction control).
    void Exec(std::string_view sql);
    SqlStatement Prepare(std::string_view sql) { return SqlStatement(db_, sql); }
    std::int64_t LastInsertId() const;
    // Rows changed by the last write.
    int Changes() const;
    // True when the database holds no account yet.
    bool IsEmpty();

  private:
    void CreateSchema();

    sqlite3* db_ = nullptr;
    std::string temp_path_;
    std::mutex mutex_;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when left without Commit().
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace platformd
