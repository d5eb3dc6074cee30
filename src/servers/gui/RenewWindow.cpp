#include "servers/gui/RenewWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "servers/gui/ServerListPage.h"
#include "ui/BalanceLine.h"
#include "ui/CaptionLabel.h"
#include "ui/PeriodChoice.h"
#include "ui/QtText.h"

namespace vpsdesk::servers {
namespace {

constexpr RenewalPeriod kPeriods[] = {RenewalPeriod::Day, RenewalPeriod::Month,
                                      RenewalPeriod::Year};

int PeriodIndex(RenewalPeriod period) {
    for (int i = 0; i < ui::PeriodChoice::kCount; ++i)
        if (kPeriods[i] == period) return i;
    return -1;
}

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
    balance_ = new ui::BalanceLine(context_.balance, bool(context_.recharge), this);
    balance_->setGeometry(kLeft, 60, width() - 2 * kLeft, kRowHeight);
    connect(balance_, &ui::BalanceLine::rechargeClicked, this, [this] {
        context_.recharge(this);
        balance_->Refresh();
    });

    periods_ = new ui::PeriodChoice(QStringLiteral("延长"), this);
    periods_->setGeometry(kLeft, 100, width() - 2 * kLeft, 64);
    connect(periods_, &ui::PeriodChoice::chosen, this, [this] { ShowChoice(); });

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
    return periods_->Button(PeriodIndex(period));
}

QLabel* RenewWindow::BalanceLabel() const { return balance_->Label(); }

QLabel* RenewWindow::RechargeLink() const { return balance_->Link(); }

void RenewWindow::LoadPrices() {
    const OperationRequest request = RenewalPricesRequest(target_);
    const std::optional<OperationReply> reply = Send(renew_, request);
    if (!reply) return;
    quote_ = RenewalQuote::FromReply(reply->text);
    opening_->setText(ui::Qs(quote_.StartTime()));
    expiry_->setText(ui::Qs(quote_.EndTime()));
    periods_->Choose(PeriodIndex(RenewalPeriod::Month));
    ShowChoice();
    loading_ = false;
}

RenewalPeriod RenewWindow::Chosen() const {
    const int chosen = periods_->Chosen();
    return chosen < 0 ? RenewalPeriod::None : kPeriods[chosen];
}

void RenewWindow::ShowChoice() {
    periods_->SetOffered({quote_.Offered(kPeriods[0]), quote_.Offered(kPeriods[1]),
                          quote_.Offered(kPeriods[2])});
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
