#pragma once
// Page 0 of the login window: account, password and captcha boxes, the captcha picture,
// the remember and auto-login boxes, and the login button with its result indicator.
// The boxes' texts are sent as they are, hints included; the login itself runs in
// LoginSequence.
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "account/LoginFlow.h"
#include "account/LoginResult.h"
#include "account/gui/LoginPacing.h"
#include "account/gui/LoginPanel.h"
#include "net/ByteArray.h"
#include "platform/SessionState.h"
#include "platform/SettingsFiles.h"
#include "platform/SiteConstants.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vpsdesk::ui {
class CaptionLabel;
class HintEdit;
class ResultIndicator;
class SlideAnimation;
}  // namespace vpsdesk::ui

namespace vpsdesk::account {

inline constexpr std::string_view kCannotRememberMessage =
    "账号或密码中有无法保存的字符，不能记住此账号的密码";
// Followed by the file's path.
inline constexpr std::string_view kLoginNotSavedMessage = "登录设置没有保存：无法写入 ";

class LoginPage : public QWidget {
    Q_OBJECT
public:
    // Where the panel rests, and where it starts when it slides in.
    static constexpr int kPanelX = login_panel::kX;
    static constexpr int kPanelStartX = login_panel::kStartX;

    // Logins go to `site` and sign `session` in; the session must outlive the page.
    LoginPage(platform::SiteConstants site, platform::SessionState& session,
              QWidget* parent = nullptr);

    void SetSettingsFile(const platform::AccountSettingsFile& file) { settings_ = file; }
    void SetMachineCode(const std::string& machine_code) { machine_code_ = machine_code; }
    const std::string& MachineCode() const { return machine_code_; }
    void SetPacing(const LoginPacing& pacing);
    const LoginPacing& Pacing() const { return pacing_; }

    void FillRememberedLogin(const platform::AccountSettingsFile& file);
    void SlideIn();
    // A new captcha picture; the window goes on handling input while it is fetched.
    void FetchCaptcha();
    void FocusAccountBox();
    void ManualLogin();
    // At most once per window; only when the auto-login box is ticked.
    void StartAutoLogin();
    void EnableLoginButton();
    void StopAnimations();

    ui::HintEdit* AccountEdit() const { return account_; }
    ui::HintEdit* PasswordEdit() const { return password_; }
    ui::HintEdit* CaptchaEdit() const { return captcha_; }
    QLabel* CaptchaPicture() const { return captcha_picture_; }
    QCheckBox* RememberBox() const { return remember_; }
    QCheckBox* AutoLoginBox() const { return auto_login_; }
    QPushButton* LoginButton() const { return login_button_; }
    ui::ResultIndicator* Indicator() const { return indicator_; }
    QWidget* Panel() const { return panel_; }
    ui::CaptionLabel* ForgotLink() const { return forgot_; }

    // For the login sequence, UI thread only. BeginLogin() is false while another login
    // (manual or automatic) is still running: one login at a time.
    bool IsLoginRunning() const { return login_running_; }
    bool BeginLogin();
    void SetButtonCaption(std::string_view caption);
    void FinishLogin(bool success);
    // The boxes' values, hints included (the captcha's only when asked).
    LoginForm TypedForm(bool with_captcha) const;
    // The indicator plays the outcome's phase and the button shows its caption.
    void ShowOutcome(const LoginOutcome& outcome);
    // True until the indicator has played the outcome's last frame.
    bool OutcomePlaying() const;
    void HideWindow();

signals:
    void buttonCaptionChanged(const QString& caption);
    void loginFinished(bool success);
    // "忘记密码？": the customer wants the window's own recovery page.
    void recoveryRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // Says so and unticks the box when the boxes hold what the file cannot keep.
    void SaveRememberedLogin();
    void SaveAutoLogin();
    // After a save: tells the customer when the file could not be written (a read-only
    // or full folder), once until a save works again, so a login is not held up by the
    // same box every time.
    void ReportSave(bool saved);
    void ShowCaptcha(const net::ByteArray& png);
    LoginFlow Flow(LoginMode mode) const;

    QWidget* panel_ = nullptr;
    ui::HintEdit* account_ = nullptr;
    ui::HintEdit* password_ = nullptr;
    ui::HintEdit* captcha_ = nullptr;
    QLabel* captcha_picture_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QCheckBox* auto_login_ = nullptr;
    QPushButton* login_button_ = nullptr;
    ui::ResultIndicator* indicator_ = nullptr;
    ui::CaptionLabel* forgot_ = nullptr;
    ui::SlideAnimation* slide_ = nullptr;

    platform::SiteConstants site_;
    platform::SessionState& session_;
    std::optional<platform::AccountSettingsFile> settings_;
    std::string machine_code_;
    LoginPacing pacing_;
    bool login_running_ = false;
    bool auto_login_started_ = false;
    bool captcha_loading_ = false;
    bool save_failure_told_ = false;
};

}  // namespace vpsdesk::account
