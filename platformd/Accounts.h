#pragma once
// Sign-in and the profile: captcha, login, silent re-login, logout, user name, profile
// and real-name verification.
#include <cstdint>
#include <string>

#include "Registration.h"
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Accounts {
  public:
    explicit Accounts(Services& services) : s_(services), registration_(services) {}
    void Register(Router& router);

    // Failed logins in a row that lock an account, and for how long.
    static constexpr int kMaxFailures = 5;
    static constexpr std::int64_t kLockSeconds = 600;

  private:
    void Captcha(Exchange& ex);
    void Login(Exchange& ex, bool with_captcha);
    // "1000", "1001" or "1003" for the account and password.
    std::string CheckCredentials(Exchange& ex, const std::string& name,
                                 const std::string& password);
    void UserName(Exchange& ex);
    void UserInfo(Exchange& ex);
    void RealName(Exchange& ex);

    Services& s_;
    Registration registration_;
};

}  // namespace platformd
