#pragma once
// The login window's own recovery page: account and registered mobile number, sent to
// the platform's recovery form, with the result on the button and its indicator. The
// request and the result's pauses run on their own thread; widgets change on the UI
// thread only.
#include <QWidget>
#include <atomic>
#include <string_view>

#include "account/gui/LoginPacing.h"
#include "platform/SiteConstants.h"

class QPushButton;

namespace vpsdesk::ui {
class CaptionLabel;
class HintEdit;
class ResultIndicator;
class SlideAnimation;
}  // namespace vpsdesk::ui

namespace vpsdesk::account {

class RecoveryPage : public QWidget {
    Q_OBJECT
  public:
    // `progress_state` is shared with the login and registration pages and must outlive
    // the page.
    RecoveryPage(platform::SiteConstants site, std::atomic<int>& progress_state,
                 QWidget* parent = nullptr);

    void SetPacing(const LoginPacing& pacing);
    void SlideIn();
    void StopAnimations();

    // The recover button's action: starts the request on its own thread and returns.
    void RecoverClicked();
    bool Running() const { return running_; }

    ui::HintEdit* AccountBox() const { return account_; }
    ui::HintEdit* MobileBox() const { return mobile_; }
    QPushButton* RecoverButton() const { return button_; }
    ui::ResultIndicator* Indicator() const { return indicator_; }
    ui::CaptionLabel* BackLink() const { return back_; }

  signals:
    void buttonCaptionChanged(const QString& caption);
    // The link back to the login page.
    void backRequested();

  private:
    void SetCaption(std::string_view caption);

    platform::SiteConstants site_;
    std::atomic<int>& progress_state_;
    LoginPacing pacing_;
    QWidget* panel_ = nullptr;
    ui::HintEdit* account_ = nullptr;
    ui::HintEdit* mobile_ = nullptr;
    QPushButton* button_ = nullptr;
    ui::ResultIndicator* indicator_ = nullptr;
    ui::CaptionLabel* back_ = nullptr;
    ui::SlideAnimation* slide_ = nullptr;
    bool running_ = false;
};

}  // namespace vpsdesk::account
