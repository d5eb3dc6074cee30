#pragma once
// The login window's "注册" page: mobile number, SMS code with its send button and
// 60-second countdown, password twice, and the register button with its result
// indicator. Both buttons act on the UI thread with the window responsive; the countdown
// runs on its own thread and changes the button through the UI thread.
#include <QWidget>
#include <atomic>
#include <string_view>

#include "account/gui/LoginPacing.h"
#include "platform/SiteConstants.h"

class QPushButton;

namespace vpsdesk::ui {
class HintEdit;
class ResultIndicator;
class SlideAnimation;
}  // namespace vpsdesk::ui

namespace vpsdesk::account {

class RegistrationPage : public QWidget {
    Q_OBJECT
  public:
    // `progress_state` is shared with the login and recovery pages and must outlive the
    // page.
    RegistrationPage(platform::SiteConstants site, std::atomic<int>& progress_state,
                     QWidget* parent = nullptr);

    void SetPacing(const LoginPacing& pacing);
    // The panel comes in from the right, as the login panel does.
    void SlideIn();
    void StopAnimations();

    // The two buttons' actions.
    void SendCodeClicked();
    void RegisterClicked();

    ui::HintEdit* MobileBox() const { return mobile_; }
    ui::HintEdit* PasswordBox() const { return password_; }
    ui::HintEdit* ConfirmationBox() const { return confirmation_; }
    ui::HintEdit* CodeBox() const { return code_; }
    QPushButton* CodeButton() const { return code_button_; }
    QPushButton* RegisterButton() const { return register_button_; }
    ui::ResultIndicator* Indicator() const { return indicator_; }

  signals:
    // Every caption either button takes, in order; tests and the event log follow them.
    void codeCaptionChanged(const QString& caption);
    void registerCaptionChanged(const QString& caption);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void SetCodeCaption(std::string_view caption);
    void SetRegisterCaption(std::string_view caption);
    void StartCountdown();

    platform::SiteConstants site_;
    std::atomic<int>& progress_state_;
    LoginPacing pacing_;
    QWidget* panel_ = nullptr;
    ui::HintEdit* mobile_ = nullptr;
    ui::HintEdit* code_ = nullptr;
    ui::HintEdit* password_ = nullptr;
    ui::HintEdit* confirmation_ = nullptr;
    QPushButton* code_button_ = nullptr;
    QPushButton* register_button_ = nullptr;
    ui::ResultIndicator* indicator_ = nullptr;
    ui::SlideAnimation* slide_ = nullptr;
    bool sending_code_ = false;
    bool registering_ = false;
};

}  // namespace vpsdesk::account
