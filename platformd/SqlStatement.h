#pragma once
// One prepared SQLite statement. Every value reaches the database through a bind, never
// through the SQL text.
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platformd {

class SqlStatement {
  public:
    SqlStatement(sqlite3* db, std::string_view sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Binds in order: the first call binds parameter 1, the next parameter 2, ...
    SqlStatement& Bind(std::int64_t value);
    SqlStatement& Bind(std::string_view text);
    SqlStatement& BindNull();

    // Runs one step; true while a row is available.
    bool Step();
    // Runs the statement to its end, for writes.
    void Run();
    void Reset();

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int next_ = 1;
};

}  // namespace platformd
