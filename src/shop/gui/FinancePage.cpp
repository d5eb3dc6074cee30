#include "shop/gui/FinancePage.h"

#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>

#include "shop/BalanceRequests.h"
#include "shop/FinanceRecords.h"
#include "platform/PlatformRequest.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/Skin.h"
#include "ui/UiThread.h"

namespace vpsdesk::shop {

FinancePage::FinancePage(QWidget* parent)
    : QWidget(parent),
      list_(new QTableWidget(0, static_cast<int>(kFinanceHeaders.size()), this)),
      selector_(new QComboBox(this)),
      income_(new QLabel(ui::Qs(kInitialTotalLabel), this)),
      expense_(new QLabel(ui::Qs(kInitialTotalLabel), this)) {
    list_->setObjectName(QStringLiteral("financeList"));
    QStringList headers;
    for (std::string_view header : kFinanceHeaders) headers << ui::Qs(header);
    list_->setHorizontalHeaderLabels(headers);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(kFinanceRowHeight);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);

    selector_->setObjectName(QStringLiteral("financePageSelector"));
    for (std::string_view choice : kFinancePageChoices) selector_->addItem(ui::Qs(choice));
    selector_->setFont(ui::skin::Font(10));
    selector_->setFixedWidth(80);
    connect(selector_, &QComboBox::activated, this, [this] { LoadChosenPage(); });

    income_->setObjectName(QStringLiteral("incomeTotal"));
    expense_->setObjectName(QStringLiteral("expenseTotal"));
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(ui::Qs(kFinanceTotalCaption), this));
    totals->addWidget(income_);
    totals->addWidget(expense_);
    totals->addStretch();
    totals->addWidget(selector_);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 0, 0);
    layout->addLayout(totals, 1, 0);
}

FinancePage::~FinancePage() {
    selector_->disconnect(this);
}

void FinancePage::SetSite(platform::SiteConstants site) {
    const std::lock_guard lock(site_mutex_);
    site_ = std::move(site);
}

void FinancePage::LoadFinancePage(const std::string& page) {
    const unsigned customer = customer_.load();
    platform::SiteConstants site;
    {
        const std::lock_guard lock(site_mutex_);
        site = site_;
    }
    const FinanceRecords records =
        ParseFinanceRecords(platform::SendPlatformRequest(FinanceRecordsRequest(page), site.BaseUrl()).text);
    ui::OnUiThread([&] {
        if (customer_.load() == customer) ApplyRecords(records);
    });
}

void FinancePage::LoadChosenPage() {
    const std::string page = ui::U8(selector_->currentText());
    // The request runs on a worker while the window goes on handling events; the selector
    // stays shut until it is back, so only one choice is ever out.
    selector_->setEnabled(false);
    choice_loading_ = true;
    const QPointer<FinancePage> self(this);
    ui::CallKeepingWindowResponsive([this, page] {
        LoadFinancePage(page);
        return true;
    });
    if (self.isNull()) return;
    choice_loading_ = false;
    selector_->setEnabled(true);
}

void FinancePage::ClearCustomer() {
    ++customer_;
    list_->setRowCount(0);
    income_->setText(ui::Qs(kInitialTotalLabel));
    expense_->setText(ui::Qs(kInitialTotalLabel));
}

void FinancePage::ApplyRecords(const FinanceRecords& records) {
    if (!records.readable) return;
    const int rows = static_cast<int>(records.rows.size());
    if (list_->rowCount() != rows) list_->setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < static_cast<int>(kFinanceHeaders.size()); ++c)
            SetCell(r, c, records.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    income_->setText(ui::Qs(records.IncomeLabel()));
    expense_->setText(ui::Qs(records.ExpenseLabel()));
}

void FinancePage::SetCell(int row, int column, const std::string& text) {
    const QString value = ui::Qs(text);
    QTableWidgetItem* item = list_->item(row, column);
    if (item != nullptr && item->text() == value) return;
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setForeground(QColor(255, 255, 255, 255));
        list_->setItem(row, column, item);
    }
    item->setText(value);
    ++cell_writes_;
}

}  // namespace vpsdesk::shop
