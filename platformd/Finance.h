#pragma once
// Money coming in and the record of it: recharge cards, the online payment page that
// this platform serves itself, and the finance records.
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Finance {
  public:
    explicit Finance(Services& services) : s_(services) {}
    void Register(Router& router);

  private:
    void RedeemCard(Exchange& ex);
    void StartPayment(Exchange& ex);
    void PaymentPage(Exchange& ex);
    void ConfirmPayment(Exchange& ex);
    void Records(Exchange& ex);

    // Wrong card numbers or passwords per account, so cards cannot be found by trying.
    bool TooManyCardFailures(std::int64_t user_id);
    void CountCardFailure(std::int64_t user_id);

    static constexpr int kMaxCardFailures = 10;
    static constexpr std::int64_t kCardFailureWindow = 600;

    Services& s_;
    std::mutex failures_mutex_;
    std::unordered_map<std::int64_t, std::pair<int, std::int64_t>> card_failures_;
};

}  // namespace platformd
