#pragma once
// "当前余额:" and the balance, with the "充值" link beside it. The balance is read again
// every second while the line is shown, so a payment the keep-alive has picked up, a
// redeemed card or a finished recharge shows without reopening the window.
#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QTimer;

namespace vpsdesk::ui {

class CaptionLabel;

class BalanceLine : public QWidget {
    Q_OBJECT
  public:
    // `balance` gives the balance text as the profile keeps it ("12.50元"). Without
    // `with_link` the line has no recharge link.
    BalanceLine(std::function<std::string()> balance, bool with_link, QWidget* parent);

    // Reads the balance now.
    void Refresh();

    QLabel* Label() const { return label_; }
    // Null without a link.
    CaptionLabel* Link() const { return link_; }

  signals:
    void rechargeClicked();

  private:
    std::function<std::string()> balance_;
    QLabel* label_;
    CaptionLabel* link_ = nullptr;
    QTimer* timer_;
};

}  // namespace vpsdesk::ui
