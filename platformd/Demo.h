#pragma once
// The demo data: two accounts (one real-name verified with servers and money), the
// catalogue, unused recharge cards and a finance history. Every server address is on
// this machine.
#include <string>

namespace platformd {

class Database;

class Demo {
  public:
    static constexpr const char* kAccount = "demo";
    static constexpr const char* kPassword = "demo2026";
    static constexpr const char* kSecondAccount = "13900139000";

    // Fills an empty database (the caller holds its lock) and returns what to print.
    static std::string Seed(Database& db);

    // After Seed: `count` more verified accounts "customer1" ... with the demo password,
    // each with one running server; for load runs that need many customers at once.
    // Returns what to print.
    static std::string SeedCustomers(Database& db, int count);
    // The name of seeded customer `n` (from 1).
    static std::string CustomerName(int n);

    // Gives every running server `address` and, unless empty, `password` (the caller holds
    // the lock); returns what to print.
    static std::string PointRunningServersAt(Database& db, const std::string& address,
                                             const std::string& password);
};

}  // namespace platformd
