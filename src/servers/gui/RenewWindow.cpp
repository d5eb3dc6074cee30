#include "servers/gui/RenewWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "servers/gui/ServerListPage.h"
#include "ui/CaptionLabel.h"
#include "ui/QtText.h"

namespace vpsdesk::servers {
namespace {

constexpr RenewalPeriod kPeriods[] = {RenewalPeriod::Day, RenewalPeriod::Month,
                                      RenewalPeriod::Year};

QLabel* AddValue(QWidget* parent, const QString& object_name, QRect where) {
    auto* label = new QLabel(parent);
    label->setObjectName(object_name);
    label->setGeometry(where);
    return label;
}

}  // namespace

RenewWindow::RenewWindow(ServerListPage& page, ServerOperationContext context, const ServerRow& row,
                         QWidget* parent)
    : OperationWindow(page, std::move(context), QStringLiteral("续费"),
                      QStringLiteral("renewWindow"), 460, 360, parent),
      target_(row[column::kId]) {
    const int value_left = kLeft + kCaptionWidth;
    const int value_width = width() - kLeft - value_left;
    balance_ = AddValue(this, QStringLiteral("balanceValue"), {kLeft, 60, 280, kRowHeight});
    balance_->setText(QStringLiteral("当前余额:") + ui::Qs(context_.balance()));
    if (context_.recharge) {
        recharge_ =
            new ui::CaptionLabel(QStringLiteral("充值"), QStringLiteral("rechargeLink"), this);
        recharge_->setGeometry(width() - kLeft - 60, 60, 60, kRowHeight);
        connect(static_cast<ui::CaptionLabel*>(recharge_), &ui::CaptionLabel::clicked, this,
                [this] { context_.recharge(this); });
    }

    auto* group = new QGroupBox(QStringLiteral("延长"), this);
    group->setGeometry(kLeft, 100, width() - 2 * kLeft, 64);
    // A period the server is not offered for must look unavailable on the dark skin.
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

    AddCaption(QStringLiteral("费用："), 176);
    cost_ = AddValue(this, QStringLiteral("costValue"), {value_left, 176, value_width, kRowHeight});
    AddCaption(QStringLiteral("到期时间："), 210);
    expiry_ =
        AddValue(this, QStringLiteral("expiryValue"), {value_left, 210, value_width, kRowHeight});
    AddCaption(QStringLiteral("开通时间："), 244);
    opening_ =
        AddValue(this, QStringLiteral("openingValue"), {value_left, 244, value_width, kRowHeight});
    renew_ = AddButton(QStringLiteral("续费"), QStringLiteral("renewButton"), 296);
    renew_->setEnabled(false);
    connect(renew_, &QPushButton::clicked, this, [this] { Renew(); });
    // Fetched once the window runs, so that it is on screen while the platform answers.
    QTimer::singleShot(0, this, [this] { LoadPrices(); });
}

QRadioButton* RenewWindow::Option(RenewalPeriod period) const {
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (kPeriods[i] == period) return options_[i];
    return nullptr;
}

void RenewWindow::LoadPrices() {
    const OperationRequest request = RenewalPricesRequest(target_);
    const std::optional<OperationReply> reply = Send(renew_, request);
    if (!reply) return;
    quote_ = RenewalQuote::FromReply(reply->text);
    opening_->setText(ui::Qs(quote_.StartTime()));
    expiry_->setText(ui::Qs(quote_.EndTime()));
    Option(RenewalPeriod::Month)->setChecked(true);
    ShowChoice();
    loading_ = false;
}

RenewalPeriod RenewWindow::Chosen() const {
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (options_[i]->isChecked()) return kPeriods[i];
    return RenewalPeriod::None;
}

void RenewWindow::ShowChoice() {
    for (std::size_t i = 0; i < options_.size(); ++i)
        options_[i]->setEnabled(quote_.Offered(kPeriods[i]));
    cost_->setText(ui::Qs(quote_.CostText(Chosen())));
}

void RenewWindow::Renew() {
    if (loading_) return;
    const RenewalPeriod period = Chosen();
    if (!BalanceCovers(context_.balance(), quote_.Price(period))) {
        Conclude(InsufficientBalanceOutcome());
        return;
    }
    const OperationRequest request = RenewRequest(RenewalPeriodName(period), target_);
    const std::optional<OperationReply> reply = Send(renew_, request);
    if (!reply) return;
    Conclude(WithNetworkFailure(RenewOutcome(reply->text), reply->network_failed));
}

}  // namespace vpsdesk::servers
