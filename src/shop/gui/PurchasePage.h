#pragma once
// "购买产品": the product type and region selectors, the product list and the buy button
// with its progress picture. The customer's picks load the next stage; setting a
// selector's text from code loads nothing. The order runs on its own worker while the
// buy button shows its progress.
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "shop/CatalogueLoads.h"
#include "shop/PurchaseOrder.h"
#include "shop/PurchaseRun.h"
#include "shop/gui/PurchaseContext.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vpsdesk::ui {
class ResultIndicator;
}

namespace vpsdesk::shop {

class PurchasePage : public QWidget {
    Q_OBJECT
  public:
    explicit PurchasePage(PurchaseContext context, QWidget* parent = nullptr);

    // Any thread: the product types, appended to what the selector holds. The request
    // runs on the calling thread, the selector changes on the UI thread.
    void LoadProductTypes();
    // UI thread: what the customer's picks run, with the page responsive meanwhile and
    // the selectors disabled so that no second pick starts.
    void LoadRegions();
    void LoadProducts();
    // UI thread: the buy button's click: the checks, the purchase window, the order.
    void Buy();

    // Any thread: the order's run, its steps played on this page. Returns at the end.
    void RunPurchase(const PurchaseOrder& order);

    // The selected row's nine cells, if a row is selected.
    std::optional<ProductRow> SelectedProduct() const;
    // The last order the purchase window handed over; it outlives the window.
    const std::optional<PurchaseOrder>& LastOrder() const { return last_order_; }

    QComboBox* TypeSelector() const { return types_; }
    QComboBox* RegionSelector() const { return regions_; }
    QTableWidget* ProductList() const { return products_; }
    QPushButton* BuyButton() const { return buy_; }
    ui::ResultIndicator* Indicator() const { return indicator_; }

  signals:
    // A run has ended, whatever its outcome (the balance and lists may have changed).
    void purchaseFinished();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyRegions(const RegionsUpdate& update);
    void ShowProducts(const std::vector<ProductRow>& rows);
    // The run on a worker: waits there, widget steps on the UI thread while the page lives.
    static void Run(QPointer<PurchasePage> self, const CatalogueSender& send,
                    std::atomic<int>& state, const PurchaseOrder& order);
    static void Play(QPointer<PurchasePage> self, std::atomic<int>& state,
                     const PurchaseStep& step);
    void Show(const PurchaseStep& step);  // UI thread

    PurchaseContext context_;
    std::shared_ptr<std::atomic<int>> progress_;
    std::optional<PurchaseOrder> last_order_;
    QComboBox* types_;
    QComboBox* regions_;
    QTableWidget* products_;
    QPushButton* buy_;
    ui::ResultIndicator* indicator_;
};

}  // namespace vpsdesk::shop
