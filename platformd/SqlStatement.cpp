#include "SqlStatement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace platformd {

namespace {
[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}
}  // namespace

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK) {
        Fail(db, "prepare");
    }
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(stmt_);
}

SqlStatement& SqlStatement::Bind(std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, next_++, value) != SQLITE_OK) Fail(db_, "bind");
    return *this;
}

SqlStatement& SqlStatement::Bind(std::string_view text) {
    if (sqlite3_bind_text(stmt_, next_++, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        Fail(db_, "bind");
    }
    return *this;
}

SqlStatement& SqlStatement::BindNull() {
    if (sqlite3_bind_null(stmt_, next_++) != SQLITE_OK) Fail(db_, "bind");
    return *this;
}

bool SqlStatement::Step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, "step");
}

void SqlStatement::Run() {
    while (Step()) {
    }
}

void SqlStatement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    next_ = 1;
}

std::int64_t SqlStatement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqlStatement::Text(int column) const {
    const unsigned char* p = sqlite3_column_text(stmt_, column);
    if (p == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(p),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool SqlStatement::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

}  // namespace platformd
