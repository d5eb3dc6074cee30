#pragma once
// Balance movements. Every change of a balance writes its finance record in the same
// transaction, so the records always add up to the balance.
#include <cstdint>
#include <string>

namespace platformd {

class Database;

// Takes `cents` from the balance when it covers them; false (and nothing written) when not.
bool Debit(Database& db, std::int64_t user_id, std::int64_t cents, const std::string& purpose);
void Credit(Database& db, std::int64_t user_id, std::int64_t cents, const std::string& source);
// A finance record with an explicit time, for seeding history.
void AddRecord(Database& db, std::int64_t user_id, std::int64_t at, std::int64_t income,
               std::int64_t expense, const std::string& purpose);

}  // namespace platformd
