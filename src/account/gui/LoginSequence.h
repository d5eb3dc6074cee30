#pragma once
// One login as the window plays it: busy spinner and caption, the logout that precedes
// every login, the request, then the result after its random delay. The same steps serve
// the manual login (UI thread) and the automatic one (its own thread): every widget step
// goes through the UI thread and finds the page by a guarded pointer, so a page that is
// gone ends the sequence instead of being touched.
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "account/LoginResult.h"
#include "account/gui/LoginPacing.h"

namespace vpsdesk::account {

class LoginPage;

class LoginSequence {
public:
    // UI thread: takes the page's pacing and machine code as they are now.
    LoginSequence(LoginPage* page, LoginMode mode);

    // The login button's action, on the UI thread. The requests run on a worker while
    // the window stays responsive.
    static void RunManual(LoginPage* page);
    // The automatic login's thread body.
    static void RunAuto(const std::shared_ptr<LoginSequence>& sequence);

private:
    // Disables the button, shows the spinner and the working caption. False when another
    // login is running or the page is gone.
    bool Begin();
    // Reads the account and password boxes (and the captcha box when asked).
    bool ReadBoxes(std::string& account, std::string& password, std::string* captcha) const;
    void ShowResult(const std::string& reply);
    // The caption's hold, then until the indicator has played its last frame.
    void WaitForEndFrame();
    // Runs `fn` on the UI thread with the page; false when the page or the UI is gone.
    bool OnPage(const std::function<void(LoginPage&)>& fn) const;

    QPointer<LoginPage> page_;
    LoginMode mode_;
    LoginPacing pacing_;
    std::string machine_code_;
    ResultDelays delays_;
};

}  // namespace vpsdesk::account
