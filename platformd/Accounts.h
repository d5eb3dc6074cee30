#pragma once
// Sign-in and the profile: captcha, login, silent re-login, logout, user name, profile
// and real-name verification.
#include <cstdint>
#include <string>

#include "LoginThrottle.h"
#include "Registration.h"
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Accounts {
  public:
    explicit Accounts(Services& services) : s_(services), registration_(services) {}
    void Register(Router& router);

  private:
    void Captcha(Exchange& ex);
    void Login(Exchange& ex, bool with_captcha);
    // "1000" or "1001" for the account and password.
    std::string CheckCredentials(Exchange& ex, const std::string& name,
                                 const std::string& password);
    void UserName(Exchange& ex);
    void UserInfo(Exchange& ex);
    void RealName(Exchange& ex);

    Services& s_;
    Registration registration_;
    LoginThrottle throttle_;
};

}  // namespace platformd
