#include "Ledger.h"

#include "Database.h"
#include "Rules.h"

namespace platformd {

void AddRecord(Database& db, std::int64_t user_id, std::int64_t at, std::int64_t income,
               std::int64_t expense, const std::string& purpose) {
    db.Prepare("INSERT INTO finance(user_id, at, income, expense, zt, forwhat) VALUES(?,?,?,?,?,?)")
        .Bind(user_id)
        .Bind(at)
        .Bind(income)
        .Bind(expense)
        .Bind(std::string("成功"))
        .Bind(purpose)
        .Run();
}

bool Debit(Database& db, std::int64_t user_id, std::int64_t cents, const std::string& purpose) {
    db.Prepare("UPDATE users SET balance=balance-? WHERE id=? AND balance>=?")
        .Bind(cents)
        .Bind(user_id)
        .Bind(cents)
        .Run();
    if (db.Changes() != 1) return false;
    AddRecord(db, user_id, Now(), 0, cents, purpose);
    return true;
}

void Credit(Database& db, std::int64_t user_id, std::int64_t cents, const std::string& source) {
    db.Prepare("UPDATE users SET balance=balance+? WHERE id=?").Bind(cents).Bind(user_id).Run();
    AddRecord(db, user_id, Now(), cents, 0, source);
}

}  // namespace platformd
