#include "shop/gui/CardPage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <random>

#include "shop/BalanceRequests.h"
#include "shop/CardRedemption.h"
#include "platform/PlatformRequest.h"
#include "ui/HintEdit.h"
#include "ui/IndicatorFrames.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/ResultIndicator.h"
#include "ui/Waiting.h"

namespace vpsdesk::shop {
namespace {

constexpr int kWorkingState = 1;
constexpr int kColumnWidth = 360;
constexpr int kResultShownMs = 1000;

int DrawDelay(DelayRange range) {
    std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(range.low, range.high)(generator);
}

}  // namespace

CardPage::CardPage(QWidget* parent)
    : QWidget(parent),
      number_(new ui::HintEdit(ui::Qs(kCardNumberHint), ui::HintEdit::Kind::Plain, this)),
      password_(new ui::HintEdit(ui::Qs(kCardPasswordHint), ui::HintEdit::Kind::Password, this)),
      button_(new QPushButton(ui::Qs(kCardButtonCaption), this)),
      indicator_(new ui::ResultIndicator(this)) {
    number_->setObjectName(QStringLiteral("cardNumber"));
    password_->setObjectName(QStringLiteral("cardPassword"));
    button_->setObjectName(QStringLiteral("cardButton"));
    indicator_->setObjectName(QStringLiteral("cardIndicator"));
    indicator_->HideIndicator();
    number_->installEventFilter(this);
    password_->installEventFilter(this);
    connect(button_, &QPushButton::clicked, this, [this] { RedeemCard(); });

    // A form-sized column in the middle of the page, whatever the page's size.
    auto* button_row = new QHBoxLayout;
    button_row->addWidget(indicator_);
    button_row->addWidget(button_, 1);
    auto* column = new QVBoxLayout;
    column->setSpacing(16);
    column->addWidget(number_);
    column->addWidget(password_);
    column->addLayout(button_row);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addLayout(column, 0);
    centre->addStretch(1);
    number_->setFixedWidth(kColumnWidth);
    password_->setFixedWidth(kColumnWidth);
    button_->setMinimumHeight(38);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addLayout(centre);
    layout->addStretch(3);
}

bool CardPage::eventFilter(QObject* watched, QEvent* event) {
    // Tab goes back and forth between the two boxes only.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        if (watched == number_) {
            password_->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (watched == password_) {
            number_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CardPage::ClearCustomer() {
    number_->ResetToHint();
    password_->ResetToHint();
    indicator_->HideIndicator();
}

void CardPage::SetProgress(int state) {
    if (progress_state_ != nullptr) progress_state_->store(state);
}

void CardPage::RedeemCard() {
    // Untouched boxes send their hints, as they stand.
    const BalanceRequest request = RedeemCardRequest(number_->Value(), password_->Value());
    const std::string base_url = site_.BaseUrl();
    button_->setEnabled(false);
    indicator_->show();
    button_->setText(ui::Qs(kCardWorkingCaption));
    SetProgress(kWorkingState);
    indicator_->PlayBusy();

    const QPointer<CardPage> self(this);
    const BalanceReply reply = ui::CallKeepingWindowResponsive(
        [request, base_url] { return platform::SendPlatformRequest(request, base_url); });
    if (self.isNull()) return;
    const CardOutcome outcome = ReadCardReply(reply.text);
    ui::WaitPumping(DrawDelay(outcome.delay), ui::WaitUnit::Milliseconds);
    if (self.isNull()) return;

    const bool redeemed = outcome.result == CardResult::Redeemed;
    if (redeemed)
        indicator_->PlaySuccess();
    else
        indicator_->PlayFailure();
    SetProgress(outcome.progress_state);
    button_->setText(ui::Qs(outcome.caption));
    const int last = redeemed ? ui::indicator::kSuccessLast : ui::indicator::kFailureLast;
    if (!ui::WaitForLastFrame(indicator_, kResultShownMs, last)) return;

    indicator_->HideIndicator();
    button_->setText(ui::Qs(kCardButtonCaption));
    button_->setEnabled(true);
    if (outcome.refresh_balance && redeemed_) redeemed_();
}

}  // namespace vpsdesk::shop
