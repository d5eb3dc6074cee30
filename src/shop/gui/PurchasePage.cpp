#include "shop/gui/PurchasePage.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <chrono>
#include <thread>

#include "shop/gui/PurchaseWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/ResultIndicator.h"
#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::shop {
namespace {

constexpr const char* kNotice =
    "提示：挂机宝、云电脑均为共享IP，禁止用于公网业务、以及其他违规业务";

QStringList Headers() {
    QStringList headers;
    for (std::string_view header : kProductHeaders) headers << ui::Qs(header);
    return headers;
}

}  // namespace

PurchasePage::PurchasePage(PurchaseContext context, QWidget* parent)
    : QWidget(parent),
      context_(std::move(context)),
      // The shell's state is never destroyed; without one the page keeps its own, shared
      // with its workers so that it outlives a page closed while an order runs.
      progress_(context_.progress_state ? std::shared_ptr<std::atomic<int>>(std::shared_ptr<void>(),
                                                                            context_.progress_state)
                                        : std::make_shared<std::atomic<int>>(0)) {
    setObjectName(QStringLiteral("purchasePage"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("产品类型："), this), 0, 0);
    types_ = new QComboBox(this);
    types_->setObjectName(QStringLiteral("productTypeSelector"));
    grid->addWidget(types_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("地区线路："), this), 0, 2);
    regions_ = new QComboBox(this);
    regions_->setObjectName(QStringLiteral("regionSelector"));
    // Its text reads "即将上架" for a type without lines, which no item holds.
    regions_->setEditable(true);
    regions_->setInsertPolicy(QComboBox::NoInsert);
    regions_->lineEdit()->setReadOnly(true);
    // Read-only text still swallows the click that opens a drop-down.
    regions_->lineEdit()->installEventFilter(this);
    grid->addWidget(regions_, 0, 3);

    products_ = new QTableWidget(0, static_cast<int>(kProductColumns), this);
    products_->setObjectName(QStringLiteral("productList"));
    products_->setHorizontalHeaderLabels(Headers());
    products_->setSelectionBehavior(QAbstractItemView::SelectRows);
    products_->setSelectionMode(QAbstractItemView::SingleSelection);
    products_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    products_->verticalHeader()->setDefaultSectionSize(kProductRowHeight);
    products_->verticalHeader()->hide();
    // Nine columns share the page's width: no sideways scrolling to reach the price.
    products_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->addWidget(products_, 1, 0, 1, 4);

    auto* notice = new QLabel(QString::fromUtf8(kNotice), this);
    notice->setObjectName(QStringLiteral("purchaseNotice"));
    grid->addWidget(notice, 2, 0, 1, 3);
    indicator_ = new ui::ResultIndicator(this);
    indicator_->setObjectName(QStringLiteral("purchaseIndicator"));
    indicator_->HideIndicator();
    buy_ = new QPushButton(ui::Qs(kBuyCaption), this);
    buy_->setObjectName(QStringLiteral("buyButton"));
    auto* buy_row = new QHBoxLayout;
    buy_row->addWidget(indicator_);
    buy_row->addWidget(buy_);
    grid->addLayout(buy_row, 2, 3);

    // Picks only: a selector's text set from code loads nothing.
    connect(types_, &QComboBox::activated, this, [this] { LoadRegions(); });
    connect(regions_, &QComboBox::activated, this, [this] { LoadProducts(); });
    connect(buy_, &QPushButton::clicked, this, [this] { Buy(); });
}

bool PurchasePage::eventFilter(QObject* watched, QEvent* event) {
    // Opened at the release: a list opened at the press would take that release as a
    // click outside it and close again.
    if (watched == regions_->lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress) return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            regions_->showPopup();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PurchasePage::LoadProductTypes() {
    const std::optional<ProductTypesUpdate> update = shop::LoadProductTypes(context_.send);
    if (!update) return;
    const QPointer<PurchasePage> self(this);
    ui::OnUiThread([self, &update] {
        if (self.isNull()) return;
        for (const std::string& name : update->appended) self->types_->addItem(ui::Qs(name));
        if (update->text) self->types_->setCurrentText(ui::Qs(*update->text));
    });
}

void PurchasePage::LoadRegions() {
    const QPointer<PurchasePage> self(this);
    types_->setEnabled(false);
    regions_->setEnabled(false);
    const RegionsUpdate update = ui::CallKeepingWindowResponsive(
        [send = context_.send, type = ui::U8(types_->currentText())] {
            return shop::LoadRegions(send, type);
        });
    if (self.isNull()) return;
    types_->setEnabled(true);
    regions_->setEnabled(true);
    ApplyRegions(update);
}

void PurchasePage::ApplyRegions(const RegionsUpdate& update) {
    if (update.items) {
        regions_->clear();
        for (const std::string& name : *update.items) regions_->addItem(ui::Qs(name));
    }
    regions_->setCurrentText(ui::Qs(update.text));
}

void PurchasePage::LoadProducts() {
    const QPointer<PurchasePage> self(this);
    types_->setEnabled(false);
    regions_->setEnabled(false);
    const std::vector<ProductRow> rows = ui::CallKeepingWindowResponsive(
        [send = context_.send, region = ui::U8(regions_->currentText()),
         type = ui::U8(types_->currentText())] { return shop::LoadProducts(send, region, type); });
    if (self.isNull()) return;
    types_->setEnabled(true);
    regions_->setEnabled(true);
    ShowProducts(rows);
}

void PurchasePage::ShowProducts(const std::vector<ProductRow>& rows) {
    products_->clearContents();
    products_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        products_->setRowHeight(r, kProductRowHeight);
        for (int c = 0; c < static_cast<int>(kProductColumns); ++c) {
            auto* cell = new QTableWidgetItem(
                ui::Qs(rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)]));
            cell->setForeground(QColor(255, 255, 255, 255));
            products_->setItem(r, c, cell);
        }
    }
}

std::optional<ProductRow> PurchasePage::SelectedProduct() const {
    const QList<QTableWidgetItem*> selected = products_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = selected.front()->row();
    ProductRow product;
    for (int c = 0; c < static_cast<int>(kProductColumns); ++c)
        if (const QTableWidgetItem* cell = products_->item(row, c))
            product.cells[static_cast<std::size_t>(c)] = ui::U8(cell->text());
    return product;
}

void PurchasePage::Buy() {
    const std::optional<ProductRow> product = SelectedProduct();
    if (const auto refusal = BuyRefusal(product.has_value(), ui::U8(regions_->currentText()))) {
        ui::ShowPlainMessage(*refusal, kPurchaseBoxCaption, this);
        return;
    }
    PurchaseWindow window(context_, product->ProductId(), this);
    window.exec();
    if (!window.Accepted()) return;
    last_order_ = window.Accepted();
    // The worker holds what it needs itself and reaches the page only on the UI thread,
    // so a page closed meanwhile is merely skipped.
    ui::RunInBackground([self = QPointer<PurchasePage>(this), send = context_.send,
                         state = progress_,
                         order = *last_order_] { Run(self, send, *state, order); });
}

void PurchasePage::RunPurchase(const PurchaseOrder& order) {
    Run(QPointer<PurchasePage>(this), context_.send, *progress_, order);
}

void PurchasePage::Run(QPointer<PurchasePage> self, const CatalogueSender& send,
                       std::atomic<int>& state, const PurchaseOrder& order) {
    shop::RunPurchase(send, order, [&](const PurchaseStep& step) { Play(self, state, step); });
    ui::OnUiThread([self] {
        if (!self.isNull()) emit self->purchaseFinished();
    });
}

void PurchasePage::Play(QPointer<PurchasePage> self, std::atomic<int>& state,
                        const PurchaseStep& step) {
    using Kind = PurchaseStep::Kind;
    switch (step.kind) {
        case Kind::Wait:
            ui::WaitPumping(step.number, ui::WaitUnit::Milliseconds);
            return;
        case Kind::ErrorBox:
            ui::ShowMessage(step.text, step.title, ui::MessageIcon::Error);
            return;
        case Kind::WaitForFrame:
            for (;;) {
                bool done = true;
                if (!ui::OnUiThread([&] {
                        if (self.isNull()) return;
                        // A picture stopped elsewhere (sign-out) ends the wait as well.
                        done = self->indicator_->Frame() == step.number ||
                               !self->indicator_->IsPlaying();
                    }) ||
                    done)
                    return;
                std::this_thread::sleep_for(std::chrono::milliseconds(kFramePollMs));
            }
        case Kind::Animate:
            state.store(step.state);
            break;
        case Kind::EnableButton:
        case Kind::Caption:
        case Kind::ShowPicture:
            break;
    }
    ui::OnUiThread([self, step] {
        if (!self.isNull()) self->Show(step);
    });
}

void PurchasePage::Show(const PurchaseStep& step) {
    using Kind = PurchaseStep::Kind;
    switch (step.kind) {
        case Kind::EnableButton:
            buy_->setEnabled(step.number != 0);
            break;
        case Kind::Caption:
            buy_->setText(ui::Qs(step.text));
            break;
        case Kind::ShowPicture:
            if (step.number != 0) {
                indicator_->show();
            } else {
                indicator_->HideIndicator();
            }
            break;
        case Kind::Animate:
            indicator_->SetInterval(kProgressIntervalMs);
            if (step.state == kOrderWorking) indicator_->PlayBusy();
            if (step.state == kOrderSucceeded) indicator_->PlaySuccess();
            if (step.state == kOrderFailed) indicator_->PlayFailure();
            break;
        case Kind::Wait:
        case Kind::WaitForFrame:
        case Kind::ErrorBox:
            break;
    }
}

}  // namespace vpsdesk::shop
