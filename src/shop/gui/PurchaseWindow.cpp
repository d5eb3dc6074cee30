#include "shop/gui/PurchaseWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "shop/PurchaseDates.h"
#include "ui/CaptionLabel.h"
#include "ui/DialogChrome.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"

namespace vpsdesk::shop {
namespace {

constexpr int kLeft = 40;
constexpr int kRowHeight = 32;
constexpr PurchasePeriod kPeriods[] = {PurchasePeriod::Day, PurchasePeriod::Month,
                                       PurchasePeriod::Year};

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

    balance_ = AddLabel(this, QStringLiteral("balanceValue"), {kLeft, 100, 280, kRowHeight});
    balance_->setText(QStringLiteral("当前余额:") +
                      ui::Qs(context_.balance ? context_.balance() : std::string()));
    if (context_.recharge) {
        recharge_ =
            new ui::CaptionLabel(QStringLiteral("充值"), QStringLiteral("rechargeLink"), this);
        recharge_->setGeometry(width() - kLeft - 60, 100, 60, kRowHeight);
        connect(static_cast<ui::CaptionLabel*>(recharge_), &ui::CaptionLabel::clicked, this,
                [this] { context_.recharge(this); });
    }

    auto* group = new QGroupBox(QStringLiteral("时长"), this);
    group->setGeometry(kLeft, 140, inner, 64);
    // A period the product is not sold for must look unavailable on the dark skin.
    group->setStyleSheet(QStringLiteral("QRadioButton:disabled { color: #6B7080; }"));
    auto* row_layout = new QHBoxLayout(group);
    const QString captions[] = {QStringLiteral("一天"), QStringLiteral("一个月"),
                                QStringLiteral("一年")};
    const QString names[] = {QStringLiteral("dayOption"), QStringLiteral("monthOption"),
                             QStringLiteral("yearOption")};
    for (std::size_t i = 0; i < options_.size(); ++i) {
        options_[i] = new QRadioButton(captions[i], group);
        options_[i]->setObjectName(names[i]);
        row_layout->addWidget(options_[i]);
        connect(options_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) ShowChoice();
        });
    }

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

    Option(kDefaultPeriod)->setChecked(true);
    // Fetched once the window runs, so that it is on screen while the platform answers.
    QTimer::singleShot(0, this, [this] { LoadOffer(); });
}

QRadioButton* PurchaseWindow::Option(PurchasePeriod period) const {
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (kPeriods[i] == period) return options_[i];
    return nullptr;
}

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
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (options_[i]->isChecked()) return kPeriods[i];
    return kDefaultPeriod;
}

void PurchaseWindow::ShowChoice() {
    for (std::size_t i = 0; i < options_.size(); ++i)
        options_[i]->setEnabled(offer_.quote.Offered(kPeriods[i]));
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
