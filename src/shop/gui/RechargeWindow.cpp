#include "shop/gui/RechargeWindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "shop/BalanceRequests.h"
#include "shop/RechargeOutcome.h"
#include "platform/PlatformRequest.h"
#include "ui/DialogChrome.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"

namespace vpsdesk::shop {
namespace {

constexpr int kLeft = 40;
constexpr int kCaptionWidth = 100;
constexpr int kRowHeight = 32;
constexpr int kWidth = 420;
constexpr int kHeight = 240;

}  // namespace

RechargeWindow::RechargeWindow(platform::SiteConstants site, const std::string& user_name,
                               QWidget* parent)
    : ui::SkinnedWindow(parent),
      site_(std::move(site)),
      open_url_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("rechargeWindow"));
    setWindowTitle(ui::Qs(kRechargeTitle));
    setFixedSize(kWidth, kHeight);
    ui::AddDialogChrome(this, ui::Qs(kRechargeTitle), QStringLiteral("rechargeWindowTitle"));

    account_ = AddField(ui::Qs(kRechargeAccountCaption), QStringLiteral("rechargeAccount"), 70);
    account_->setText(ui::Qs(user_name));
    amount_ = AddField(ui::Qs(kRechargeAmountCaption), QStringLiteral("rechargeAmount"), 116);
    // Tab goes from the account to the amount.
    setTabOrder(account_, amount_);

    button_ = new QPushButton(ui::Qs(kRechargeButtonCaption), this);
    button_->setObjectName(QStringLiteral("rechargeButton"));
    button_->setGeometry(kLeft, 172, kWidth - 2 * kLeft, 38);
    button_->setAutoDefault(false);
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, [this] { RequestPaymentPage(); });
}

QLineEdit* RechargeWindow::AddField(const QString& caption, const QString& object_name, int y) {
    auto* label = new QLabel(caption, this);
    label->setGeometry(kLeft, y, kCaptionWidth, kRowHeight);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(object_name);
    // The skin leaves plain edit boxes' text to the palette, which writes dark on dark.
    edit->setStyleSheet(QStringLiteral("QLineEdit { color: #FFFFFF; }"));
    edit->setGeometry(kLeft + kCaptionWidth, y, kWidth - 2 * kLeft - kCaptionWidth, kRowHeight);
    return edit;
}

void RechargeWindow::RequestPaymentPage() {
    const std::string account = ui::U8(account_->text());
    const std::string amount = ui::U8(amount_->text());
    if (const RechargeOutcome refused = CheckRechargeInput(account, amount);
        !refused.error.empty()) {
        ui::ShowMessage(refused.error, kRechargeErrorTitle, ui::MessageIcon::Error,
                        ui::MessageButtons::Ok, this);
        return;
    }

    const BalanceRequest request = PaymentPageRequest(account, amount);
    const std::string base_url = site_.BaseUrl();
    const QPointer<RechargeWindow> self(this);
    button_->setEnabled(false);
    setCursor(Qt::BusyCursor);
    const BalanceReply reply = ui::CallKeepingWindowResponsive(
        [request, base_url] { return platform::SendPlatformRequest(request, base_url); });
    if (self.isNull()) return;
    unsetCursor();
    button_->setEnabled(true);

    const RechargeOutcome outcome = ReadPaymentReply(reply.text);
    const QUrl address(ui::Qs(outcome.address));
    if (!outcome.error.empty() || !address.isValid()) {
        ui::ShowMessage(kRechargeFailedText, kRechargeErrorTitle, ui::MessageIcon::Error,
                        ui::MessageButtons::Ok, this);
        return;
    }
    open_url_(address);
    close();
}

}  // namespace vpsdesk::shop
