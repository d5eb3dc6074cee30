#pragma once
// "开通": the chosen product's operating systems, prices and dates, the fee of the chosen
// period and the balance. The open button hands the order back to the purchase page,
// which runs it; the window itself sends only the prices and OS requests.
#include <optional>

#include "shop/PurchaseOffer.h"
#include "shop/PurchaseOrder.h"
#include "shop/gui/PurchaseContext.h"
#include "ui/SkinnedWindow.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vpsdesk::ui {
class BalanceLine;
class PeriodChoice;
}  // namespace vpsdesk::ui

namespace vpsdesk::shop {

class PurchaseWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    // `product_id` is the selected row's "ID" cell; the offer is fetched once the window
    // runs.
    PurchaseWindow(PurchaseContext context, std::string product_id, QWidget* parent);

    // The order to send, once the open button has accepted the window.
    const std::optional<PurchaseOrder>& Accepted() const { return accepted_; }

    QComboBox* OsSelector() const { return os_; }
    QRadioButton* Option(PurchasePeriod period) const;
    QLabel* BalanceLabel() const;
    QLabel* FeeLabel() const { return fee_; }
    QLabel* OpeningLabel() const { return opening_; }
    QLabel* ExpiryLabel() const { return expiry_; }
    // Null when the window was given no way to recharge.
    QLabel* RechargeLink() const;
    QPushButton* OpenButton() const { return open_; }
    bool Loading() const { return loading_; }

  private:
    void LoadOffer();
    PurchasePeriod Chosen() const;
    void ShowChoice();
    void Open();

    PurchaseContext context_;
    PurchaseOrder order_;
    PurchaseOffer offer_;
    std::optional<PurchaseOrder> accepted_;
    QComboBox* os_;
    ui::BalanceLine* balance_;
    ui::PeriodChoice* periods_;
    QLabel* fee_;
    QLabel* opening_;
    QLabel* expiry_;
    QPushButton* open_;
    bool loading_ = true;
};

}  // namespace vpsdesk::shop
