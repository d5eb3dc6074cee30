#pragma once
// The decisions of one login, without widgets: the requests it makes, what the login page
// is to show for the reply and after how long, and what the session learns from it. The
// window half plays the outcomes; see account/gui/LoginSequence.
#include <string>
#include <string_view>

#include "account/LoginResult.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

// The boxes of the login page as they were read; the captcha only counts for a manual login.
struct LoginForm {
    std::string account;
    std::string password;
    std::string captcha;
};

class LoginFlow {
  public:
    // `session` must outlive the flow and every copy of it.
    LoginFlow(platform::SiteConstants site, platform::SessionState& session, LoginMode mode,
              std::string machine_code);

    LoginMode Mode() const { return mode_; }

    // The page has begun the login: the result will show after one of `delays`, and the
    // shared progress turns busy with the spinner.
    void Begin(const ResultDelays& delays);
    // Any thread: the logout that precedes every login.
    void LogOut() const;
    // Any thread: the login request of the mode (with the captcha by hand, the silent one
    // automatically); the reply as text, empty when the request failed.
    std::string Send(const LoginForm& form) const;

    // What the page shows for `reply`, and how long the spinner turns before it does.
    LoginOutcome Judge(std::string_view reply) const;
    int DelayBefore(const LoginOutcome& outcome) const;

    // A success: the session keeps the credentials for the silent re-logins.
    void Accept(const LoginForm& form);
    // The outcome is on show: the shared progress follows the indicator.
    void Shown(const LoginOutcome& outcome);
    // The login window has gone after a success: the main window is to open.
    void Complete();

  private:
    platform::SiteConstants site_;
    platform::SessionState* session_;
    LoginMode mode_;
    std::string machine_code_;
    ResultDelays delays_;
};

}  // namespace vpsdesk::account
