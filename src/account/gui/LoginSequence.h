#pragma once
// One login as the window plays it: busy spinner and caption, the logout that precedes
// every login, the request, then the result after its random delay. The decisions are the
// flow's; the page shows what it is handed. The same steps serve the manual login (UI
// thread) and the automatic one (its own thread): every page step goes through the UI
// thread and finds the page by a guarded pointer, so a page that is gone ends the sequence
// instead of being touched.
#include <QPointer>
#include <functional>
#include <string>

#include "account/LoginFlow.h"
#include "account/gui/LoginPacing.h"

namespace vpsdesk::account {

class LoginPage;

class LoginSequence {
public:
    // UI thread: takes the page's pacing as it is now.
    LoginSequence(LoginPage* page, LoginFlow flow);

    // The login button's action, on the UI thread. The requests run on a worker while
    // the window stays responsive.
    void RunManual();
    // The automatic login's thread body.
    void RunAuto();

private:
    // The page disables the button and shows the spinner and the working caption. False
    // when another login is running or the page is gone.
    bool Begin();
    // The boxes as they are now (the captcha box only when asked).
    bool ReadForm(LoginForm& form, bool with_captcha) const;
    void ShowResult(const std::string& reply);
    // The caption's hold, then until the indicator has played its last frame.
    void WaitForEndFrame();
    // Runs `fn` on the UI thread with the page; false when the page or the UI is gone.
    bool OnPage(const std::function<void(LoginPage&)>& fn) const;

    QPointer<LoginPage> page_;
    LoginFlow flow_;
    LoginPacing pacing_;
};

}  // namespace vpsdesk::account
