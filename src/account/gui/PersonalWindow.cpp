#include "account/gui/PersonalWindow.h"

#include <QLabel>
#include <QPointer>

#include "account/ProfileApi.h"
#include "account/RealNameGate.h"
#include "account/gui/RealNameWindow.h"
#include "ui/BalanceLine.h"
#include "ui/CaptionLabel.h"
#include "ui/DialogChrome.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/Skin.h"

namespace vpsdesk::account {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 360;
constexpr int kRowsTop = 124;
constexpr int kRowHeight = 32;

constexpr std::string_view kUnverifiedGreeting =
    "您还未实名认证，根据相关法律法规，使用前请先实名认证！";

}  // namespace

PersonalWindow::PersonalWindow(AccountContext context, QWidget* parent)
    : ui::SkinnedWindow(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("personalWindow"));
    setWindowTitle(QStringLiteral("个人信息"));
    setFixedSize(kWidth, kHeight);
    ui::AddDialogChrome(this, QStringLiteral("个人信息"), QStringLiteral("personalTitle"));

    greeting_ = new QLabel(this);
    greeting_->setObjectName(QStringLiteral("greetingLabel"));
    greeting_->setWordWrap(true);
    greeting_->setGeometry(24, 52, kWidth - 48, 44);

    real_name_link_ =
        new ui::CaptionLabel(QStringLiteral("实名认证"), QStringLiteral("realNameLink"), this);
    real_name_link_->setFont(ui::skin::Font(10));
    real_name_link_->setGeometry(kWidth - 104, 96, 80, 24);
    connect(real_name_link_, &ui::CaptionLabel::clicked, this, [this] { OpenRealNameWindow(); });

    member_id_ = AddValueRow(QStringLiteral("会员ID:"), QStringLiteral("memberIdValue"), 0);
    name_ = AddValueRow(QStringLiteral("姓名:"), QStringLiteral("nameValue"), 1);
    mobile_ = AddValueRow(QStringLiteral("手机:"), QStringLiteral("mobileValue"), 2);
    qq_ = AddValueRow(QStringLiteral("QQ:"), QStringLiteral("qqValue"), 3);
    email_ = AddValueRow(QStringLiteral("邮箱:"), QStringLiteral("emailValue"), 4);

    balance_ = new ui::BalanceLine(
        [&session = context_.session] { return session.Profile().balance; },
        bool(context_.recharge), this);
    balance_->setGeometry(24, kRowsTop + 5 * kRowHeight + 12, kWidth - 48, 28);
    connect(balance_, &ui::BalanceLine::rechargeClicked, this, [this] { OpenRechargeWindow(); });

    // What the window would show is the profile as it is now; the returned real-name
    // text is not stored here.
    const QPointer<PersonalWindow> self(this);
    ui::CallKeepingWindowResponsive(
        [site = context_.site, &session = context_.session] { return LoadProfile(site, session); });
    if (self.isNull()) return;
    Fill();
}

QLabel* PersonalWindow::AddValueRow(const QString& caption, const QString& object_name, int row) {
    const int y = kRowsTop + row * kRowHeight;
    auto* label = new QLabel(caption, this);
    label->setGeometry(24, y, 80, kRowHeight);
    auto* value = new QLabel(this);
    value->setObjectName(object_name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setGeometry(104, y, kWidth - 128, kRowHeight);
    return value;
}

void PersonalWindow::Fill() {
    const platform::ProfileTexts profile = context_.session.Profile();
    const std::string& status = profile.real_name_status;
    if (!RealNameBlocks(status)) {
        real_name_link_->hide();
        greeting_->setText(
            ui::Qs("尊敬的" + status + ",欢迎您使用" + context_.client_title + "产品！"));
    } else {
        real_name_link_->show();
        greeting_->setText(ui::Qs(kUnverifiedGreeting));
    }
    balance_->Refresh();
    member_id_->setText(ui::Qs(profile.user_name));
    name_->setText(ui::Qs(status));
    mobile_->setText(ui::Qs(profile.mobile));
    qq_->setText(ui::Qs(profile.qq));
    email_->setText(ui::Qs(profile.email));
}

QLabel* PersonalWindow::BalanceLabel() const { return balance_->Label(); }

ui::CaptionLabel* PersonalWindow::RechargeLink() const { return balance_->Link(); }

void PersonalWindow::OpenRechargeWindow() {
    // Like verification: the personal window steps aside and is done once the customer is.
    hide();
    context_.recharge(parentWidget());
    close();
}

void PersonalWindow::OpenRealNameWindow() {
    hide();
    {
        RealNameWindow window(context_, parentWidget());
        window.exec();
    }
    close();
}

}  // namespace vpsdesk::account
