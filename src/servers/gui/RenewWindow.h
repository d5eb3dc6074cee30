#pragma once
// "续费主机": the server's renewal prices and dates, one day, one month or one year, the
// cost, and the renewal itself, paid from the balance. The balance is checked here in
// whole yuan first; the platform has the last word.
#include <string>

#include "servers/RenewalQuote.h"
#include "servers/ServerRow.h"
#include "servers/gui/OperationWindow.h"
#include "servers/gui/ServerOperationContext.h"

class QRadioButton;

namespace vpsdesk::ui {
class BalanceLine;
class PeriodChoice;
}  // namespace vpsdesk::ui

namespace vpsdesk::servers {

class RenewWindow : public OperationWindow {
    Q_OBJECT
  public:
    // The row is the renew target, read when the window opens; the prices are fetched
    // once the window runs.
    RenewWindow(ServerListPage& page, ServerOperationContext context, const ServerRow& row,
                QWidget* parent);

    QRadioButton* Option(RenewalPeriod period) const;
    QLabel* BalanceLabel() const;
    QLabel* CostLabel() const { return cost_; }
    QLabel* ExpiryLabel() const { return expiry_; }
    QLabel* OpeningLabel() const { return opening_; }
    // Null when the window was given no way to recharge.
    QLabel* RechargeLink() const;
    QPushButton* RenewButton() const { return renew_; }
    bool Loading() const { return loading_; }

  private:
    void LoadPrices();
    RenewalPeriod Chosen() const;
    void ShowChoice();
    void Renew();

    std::string target_;
    RenewalQuote quote_;
    ui::BalanceLine* balance_;
    ui::PeriodChoice* periods_;
    QLabel* cost_;
    QLabel* expiry_;
    QLabel* opening_;
    QPushButton* renew_;
    bool loading_ = true;
};

}  // namespace vpsdesk::servers
