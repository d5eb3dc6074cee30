#include "Database.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace platformd {

namespace {

constexpr const char* kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS users(
  id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, mobile TEXT NOT NULL,
  salt TEXT NOT NULL, hash TEXT NOT NULL, truename TEXT NOT NULL DEFAULT '',
  perid TEXT NOT NULL DEFAULT '', verified INTEGER NOT NULL DEFAULT 0,
  qq TEXT NOT NULL DEFAULT '', email TEXT NOT NULL DEFAULT '',
  balance INTEGER NOT NULL DEFAULT 0, failed INTEGER NOT NULL DEFAULT 0,
  failed_since INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS types(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS lines(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS products(
  id INTEGER PRIMARY KEY, type_id INTEGER NOT NULL, line_id INTEGER NOT NULL,
  model TEXT NOT NULL, cpu INTEGER NOT NULL, ram_mb INTEGER NOT NULL,
  disk_gb INTEGER NOT NULL, mbps INTEGER NOT NULL, day INTEGER NOT NULL,
  month INTEGER NOT NULL, annual INTEGER NOT NULL, zy TEXT NOT NULL, lx TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS os(id INTEGER PRIMARY KEY, type_id INTEGER NOT NULL,
  name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS servers(
  id INTEGER PRIMARY KEY, user_id INTEGER NOT NULL, product_id INTEGER NOT NULL,
  name TEXT NOT NULL, address TEXT NOT NULL, password TEXT NOT NULL,
  start_time INTEGER NOT NULL, end_time INTEGER NOT NULL, state TEXT NOT NULL,
  remark TEXT NOT NULL DEFAULT '', busy_until INTEGER NOT NULL DEFAULT 0,
  busy_text TEXT NOT NULL DEFAULT '', refund INTEGER NOT NULL DEFAULT 0,
  os_id INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS servers_user ON servers(user_id, id);
CREATE TABLE IF NOT EXISTS cards(number TEXT PRIMARY KEY, password TEXT NOT NULL,
  amount INTEGER NOT NULL, used_by INTEGER, used_at INTEGER);
CREATE TABLE IF NOT EXISTS finance(
  id INTEGER PRIMARY KEY, user_id INTEGER NOT NULL, at INTEGER NOT NULL,
  income INTEGER NOT NULL, expense INTEGER NOT NULL, zt TEXT NOT NULL,
  forwhat TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS finance_user ON finance(user_id, id);
CREATE TABLE IF NOT EXISTS payments(token TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
  amount INTEGER NOT NULL, paid INTEGER NOT NULL DEFAULT 0, created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS sms(mobile TEXT PRIMARY KEY, code TEXT NOT NULL,
  sent_at INTEGER NOT NULL, tries INTEGER NOT NULL DEFAULT 0);
)SQL";

std::string MakeTempPath() {
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::string pattern = (dir / "platformd-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = mkstemp(buf.data());
    if (fd < 0) throw std::runtime_error("cannot create a temporary database");
    close(fd);
    return std::string(buf.data());
}

}  // namespace

// The connection is opened serialised as well: the store's own lock is what keeps an
// operation atomic, SQLite's is a safety net against a statement finalised outside it.
Database::Database(const std::string& path) {
    std::string file = path;
    if (file.empty()) {
        temp_path_ = MakeTempPath();
        file = temp_path_;
    }
    if (sqlite3_open_v2(file.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open database " + file + ": " + msg);
    }
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec("PRAGMA foreign_keys=ON");
    CreateSchema();
}

Database::~Database() {
    sqlite3_close(db_);
    if (!temp_path_.empty()) {
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(temp_path_ + suffix, ec);
        }
    }
}

void Database::Exec(std::string_view sql) {
    std::string text(sql);
    char* err = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        throw std::runtime_error("sql: " + msg);
    }
}

std::int64_t Database::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::Changes() const {
    return sqlite3_changes(db_);
}

bool Database::IsEmpty() {
    SqlStatement st(db_, "SELECT COUNT(*) FROM users");
    return st.Step() && st.Int(0) == 0;
}

void Database::CreateSchema() {
    Exec(kSchema);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.Exec("ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    done_ = true;
}

}  // namespace platformd
