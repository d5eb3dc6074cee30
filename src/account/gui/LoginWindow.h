#pragma once
// The client's first window: the header, the page selector and the pages behind it
// (login, registration, recovery). It lives for the whole process; a successful login
// hides it and sets the session's sign-in flag, and the start-up watcher opens the main
// window from there.
#include <string>

#include "account/gui/LoginPacing.h"
#include "net/ByteArray.h"
#include "platform/SessionState.h"
#include "platform/SettingsFiles.h"
#include "platform/SiteConstants.h"
#include "ui/SkinnedWindow.h"

class QLabel;
class QStackedWidget;

namespace vpsdesk::ui {
class FadeAnimation;
}  // namespace vpsdesk::ui

namespace vpsdesk::account {

class LoginPage;
class LogoSprite;
class PageSelector;
class RecoveryPage;
class RegistrationPage;

class LoginWindow : public ui::SkinnedWindow {
    Q_OBJECT
public:
    enum Page { kLoginPage = 0, kRegistrationPage = 1, kRecoveryPage = 2 };

    // Everything the window sends goes to `site`; a login signs `session` in. The session
    // must outlive the window.
    LoginWindow(platform::SiteConstants site, platform::SessionState& session,
                QWidget* parent = nullptr);
    ~LoginWindow() override;

    // The file the remember and auto-login boxes save to. Without one nothing is saved.
    void SetAccountSettingsFile(const platform::AccountSettingsFile& file);
    // The computer's identifier that every login sends.
    void SetMachineCode(const std::string& machine_code);
    // Delays and holds of the result display; tests shorten them.
    void SetPacing(const LoginPacing& pacing);

    // Shows the platform's logo in the header; an empty or broken image leaves it empty.
    void ShowLogo(const net::ByteArray& png);
    // Fills the login page from the remembered login and adopts `file` as the file to
    // save to. "zh", "mm" and "zdlogin" count only when the login was remembered.
    void FillRememberedLogin(const platform::AccountSettingsFile& file);
    // The login panel slides in from the right; the version label and its tick fade in.
    void StartIntroAnimations();
    // Fetches a captcha on the calling thread (UI thread) and shows it.
    void FetchCaptcha();
    void FocusAccountBox();
    // Runs the automatic login on its own thread; does nothing unless the auto-login box
    // is ticked.
    void StartAutoLogin();
    // After a log-out the user signs in again from the same page.
    void EnableLoginButton();
    // Before the process ends, so no animation touches a widget that is going away.
    void StopAnimations();

    LoginPage* SignInPage() const { return login_page_; }
    RegistrationPage* SignUpPage() const { return registration_page_; }
    RecoveryPage* RecoverPage() const { return recovery_page_; }
    int CurrentPage() const;

signals:
    // The close label was clicked: the process is to end.
    void closeRequested();

protected:
    void OnCloseClicked() override;

private:
    void ChoosePage(int entry);
    void ShowPage(Page page);
    void OpenRecoveryWebPage();

    platform::SiteConstants site_;
    QLabel* logo_ = nullptr;
    LogoSprite* sprite_ = nullptr;
    QLabel* version_label_ = nullptr;
    QLabel* version_tick_ = nullptr;
    ui::FadeAnimation* version_fade_ = nullptr;
    ui::FadeAnimation* tick_fade_ = nullptr;
    PageSelector* selector_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    RegistrationPage* registration_page_ = nullptr;
    RecoveryPage* recovery_page_ = nullptr;
    LoginPage* login_page_ = nullptr;
};

}  // namespace vpsdesk::account
