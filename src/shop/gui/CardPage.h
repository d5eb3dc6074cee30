#pragma once
// The card page of the main window: card number, card password (a password box), the
// "使用" button and its result indicator. A redemption runs with the page responsive and
// the button disabled, so a second click cannot redeem twice.
#include <QWidget>
#include <atomic>
#include <functional>

#include "platform/SiteConstants.h"

class QPushButton;

namespace vpsdesk::ui {
class HintEdit;
class ResultIndicator;
}  // namespace vpsdesk::ui

namespace vpsdesk::shop {

class CardPage : public QWidget {
    Q_OBJECT
  public:
    explicit CardPage(QWidget* parent = nullptr);

    void SetSite(platform::SiteConstants site) { site_ = std::move(site); }
    // The progress flag the purchase animation shares; none until set.
    void SetProgressState(std::atomic<int>* state) { progress_state_ = state; }
    // Called on the UI thread after a card was redeemed: the balance shown elsewhere is
    // out of date.
    void SetRedeemedHandler(std::function<void()> handler) { redeemed_ = std::move(handler); }

    // Sign-out: the next customer does not find this one's card in the boxes.
    void ClearCustomer();

    // UI thread: what the card button does.
    void RedeemCard();

    ui::HintEdit* CardNumber() const { return number_; }
    ui::HintEdit* CardPassword() const { return password_; }
    QPushButton* CardButton() const { return button_; }
    ui::ResultIndicator* Indicator() const { return indicator_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetProgress(int state);

    ui::HintEdit* number_;
    ui::HintEdit* password_;
    QPushButton* button_;
    ui::ResultIndicator* indicator_;
    platform::SiteConstants site_;
    std::atomic<int>* progress_state_ = nullptr;
    std::function<void()> redeemed_;
};

}  // namespace vpsdesk::shop
