#include "shop/gui/PurchaseWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "shop/PurchaseDates.h"
#include "ui/BalanceLine.h"
#include "ui/CaptionLabel.h"
#include "ui/DialogChrome.h"
#include "ui/MessageBoxes.h"
#include "ui/PeriodChoice.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"

namespace vpsdesk::shop {
namespace {

constexpr int kLeft = 40;
constexpr int kRowHeight = 32;
constexpr PurchasePeriod kPeriods[] = {PurchasePeriod::Day, PurchasePeriod::Month,
                                       PurchasePeriod::Year};

int PeriodIndex(PurchasePeriod period) {
    for (int i = 0; i < ui::PeriodChoice::kCount; ++i)
        if (kPeriods[i] == period) return i;
    return -1;
}

QLabel* AddLabel(QWidget* parent, const QString& object_name, QRect where) {
    auto* label = new QLabel(parent);
    label->setObjectName(object_name);
    label->setGeometry(where);
    return label;
}

}  // namespace

PurchaseWindow::PurchaseWindow(PurchaseContext context, std::string product_id, QWidget* parent)
    : ui::SkinnedWindow(parent), context_(std::move(context)) {
    order_.product_id = std::move(product_id);
    setObjectName(QStringLiteral("purchaseWindow"));
    setWindowTitle(QStringLiteral("开通"));
    setFixedSize(460, 430);
    ui::AddDialogChrome(this, QStringLiteral("开通"), QStringLiteral("purchaseWindowTitle"));
    const int inner = width() - 2 * kLeft;

    AddLabel(this, QStringLiteral("osCaption"), {kLeft, 60, 100, kRowHeight})
        ->setText(ui::Qs(kOsCaption));
    os_ = new QComboBox(this);
    os_->setObjectName(QStringLiteral("osSelector"));
    os_->setGeometry(kLeft + 100, 60, inner - 100, kRowHeight);
    connect(os_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) offer_.os.Choose(static_cast<std::size_t>(index));
    });

    balance_ = new ui::BalanceLine(context_.balance, bool(context_.recharge), this);
    balance_->setGeometry(kLeft, 100, inner, kRowHeight);
    connect(balance_, &ui::BalanceLine::rechargeClicked, this, [this] {
        context_.recharge(this);
        balance_->Refresh();
    });

    periods_ = new ui::PeriodChoice(QStringLiteral("时长"), this);
    periods_->setGeometry(kLeft, 140, inner, 64);
    connect(periods_, &ui::PeriodChoice::chosen, this, [this] { ShowChoice(); });

    fee_ = AddLabel(this, QStringLiteral("feeValue"), {kLeft, 216, inner, kRowHeight});
    opening_ = AddLabel(this, QStringLiteral("openingValue"), {kLeft, 250, inner, kRowHeight});
    expiry_ = AddLabel(this, QStringLiteral("expiryValue"), {kLeft, 284, inner, kRowHeight});
    opening_->setText(ui::Qs(std::string(kOpeningCaption) + PurchaseDateText(context_.today())));

    open_ = new QPushButton(QStringLiteral("开通"), this);
    open_->setObjectName(QStringLiteral("openButton"));
    open_->setGeometry(kLeft, 350, inner, 38);
    open_->setAutoDefault(false);
    open_->setDefault(true);
    open_->setEnabled(false);
    connect(open_, &QPushButton::clicked, this, [this] { Open(); });

    periods_->Choose(PeriodIndex(kDefaultPeriod));
    // Fetched once the window runs, so that it is on screen while the platform answers.
    QTimer::singleShot(0, this, [this] { LoadOffer(); });
}

QRadioButton* PurchaseWindow::Option(PurchasePeriod period) const {
    return periods_->Button(PeriodIndex(period));
}

QLabel* PurchaseWindow::BalanceLabel() const { return balance_->Label(); }

QLabel* PurchaseWindow::RechargeLink() const { return balance_->Link(); }

void PurchaseWindow::LoadOffer() {
    const QPointer<PurchaseWindow> self(this);
    setCursor(Qt::BusyCursor);
    PurchaseOffer offer = ui::CallKeepingWindowResponsive(
        [send = context_.send, id = order_.product_id] { return PurchaseOffer::Load(send, id); });
    if (self.isNull()) return;
    unsetCursor();
    offer_ = std::move(offer);
    QSignalBlocker quiet(os_);
    for (const std::string& name : offer_.os.Names()) os_->addItem(ui::Qs(name));
    os_->setCurrentText(ui::Qs(offer_.os.ChosenName()));
    ShowChoice();
    loading_ = false;
    open_->setEnabled(true);
}

PurchasePeriod PurchaseWindow::Chosen() const {
    const int chosen = periods_->Chosen();
    return chosen < 0 ? kDefaultPeriod : kPeriods[chosen];
}

void PurchaseWindow::ShowChoice() {
    periods_->SetOffered({offer_.quote.Offered(kPeriods[0]), offer_.quote.Offered(kPeriods[1]),
                          offer_.quote.Offered(kPeriods[2])});
    const PurchasePeriod period = Chosen();
    order_.period = period;
    fee_->setText(ui::Qs(std::string(kFeeCaption) + offer_.quote.Fee(period)));
    expiry_->setText(ui::Qs(std::string(kExpiryCaption) +
                            PurchaseDateText(AdvanceDate(context_.today(), period))));
}

void PurchaseWindow::Open() {
    if (loading_) return;
    if (const auto refusal = OpenRefusal(order_)) {
        ui::ShowPlainMessage(*refusal, kPurchaseBoxCaption, this);
        return;
    }
    order_.os_id = offer_.os.ChosenId();
    accepted_ = order_;
    accept();
}

}  // namespace vpsdesk::shop
