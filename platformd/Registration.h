#pragma once
// New accounts and lost passwords: SMS codes (written to the server log instead of sent),
// registration, the recovery form and the recovery web page.
#include <cstdint>

#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Registration {
  public:
    explicit Registration(Services& services) : s_(services) {}
    void Register(Router& router);

    static constexpr std::int64_t kResendSeconds = 60;
    static constexpr std::int64_t kCodeLifetime = 600;
    static constexpr std::int64_t kMaxTries = 5;

  private:
    void SendCode(Exchange& ex);
    void CreateAccount(Exchange& ex);
    void Recover(Exchange& ex);

    Services& s_;
};

}  // namespace platformd
