#pragma once
// The finance page of the main window: the records list, the page selector "1" to "10"
// and the page's totals. Loads may come from any thread; each one rewrites the page in a
// single UI-thread call, so two loads never interleave.
#include <QWidget>
#include <atomic>
#include <mutex>
#include <string>

#include "platform/SiteConstants.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace vpsdesk::shop {

struct FinanceRecords;

class FinancePage : public QWidget {
    Q_OBJECT
  public:
    explicit FinancePage(QWidget* parent = nullptr);
    ~FinancePage() override;

    // The platform the loads ask. Until it is set a load fails like an unreachable one.
    void SetSite(platform::SiteConstants site);

    // Any thread: asks for page `page` (the selector's text) on the calling thread. The
    // page must outlive the call.
    void LoadFinancePage(const std::string& page);

    // UI thread: sign-out. Rows go, both totals read "￥0元" again, and a load still out
    // for the previous customer is not applied.
    void ClearCustomer();

    // UI thread: the steps after the reply. A reply that is not readable keeps the page.
    void ApplyRecords(const FinanceRecords& records);

    QTableWidget* List() const { return list_; }
    QComboBox* PageSelector() const { return selector_; }
    QLabel* IncomeTotal() const { return income_; }
    QLabel* ExpenseTotal() const { return expense_; }
    // Cells written since the page was made: a reload that changes nothing writes none.
    int CellWriteCount() const { return cell_writes_; }
    bool ChoiceLoading() const { return choice_loading_; }

  private:
    void LoadChosenPage();
    void SetCell(int row, int column, const std::string& text);

    QTableWidget* list_;
    QComboBox* selector_;
    QLabel* income_;
    QLabel* expense_;
    int cell_writes_ = 0;
    bool choice_loading_ = false;
    // Changes with every sign-out; a load applies its reply only if it has not changed.
    std::atomic<unsigned> customer_{0};
    mutable std::mutex site_mutex_;
    platform::SiteConstants site_;
};

}  // namespace vpsdesk::shop
