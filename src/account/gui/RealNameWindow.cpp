#include "account/gui/RealNameWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "account/ProfileApi.h"
#include "ui/DialogChrome.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"

namespace vpsdesk::account {
namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 330;
constexpr int kLeft = 40;
constexpr int kCaptionWidth = 90;
constexpr int kFieldWidth = kWidth - 2 * kLeft - kCaptionWidth;

// The skin leaves the text of plain edit boxes to the palette, which writes dark on dark.
QLineEdit* AddEdit(QWidget* parent, const QString& object_name, const QString& placeholder, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(object_name);
    edit->setPlaceholderText(placeholder);
    edit->setStyleSheet(QStringLiteral("QLineEdit { color: #FFFFFF; }"));
    edit->setGeometry(kLeft + kCaptionWidth, y, kFieldWidth, 32);
    return edit;
}

// The toolkit's box, titled as a notice; a plain box under a skinned owner would inherit
// white text on its light background.
void ShowNotice(std::string_view text, QWidget* owner) {
    ui::ShowMessage(text, "提示", ui::MessageIcon::None, ui::MessageButtons::Ok, owner);
}

QLabel* AddCaption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(kLeft, y, kCaptionWidth, 32);
    return label;
}

}  // namespace

RealNameWindow::RealNameWindow(AccountContext context, QWidget* parent)
    : ui::SkinnedWindow(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("realNameWindow"));
    setWindowTitle(QStringLiteral("实名认证"));
    setFixedSize(kWidth, kHeight);
    ui::AddDialogChrome(this, QStringLiteral("实名认证"), QStringLiteral("realNameTitle"));

    const platform::ProfileTexts profile = context_.session.Profile();
    AddCaption(this, QStringLiteral("账号:"), 64);
    account_ = new QLabel(ui::Qs(profile.user_name), this);
    account_->setObjectName(QStringLiteral("accountValue"));
    account_->setGeometry(kLeft + kCaptionWidth, 64, kFieldWidth, 32);
    AddCaption(this, QStringLiteral("手机:"), 104);
    mobile_ = new QLabel(ui::Qs(profile.mobile), this);
    mobile_->setObjectName(QStringLiteral("mobileValue"));
    mobile_->setGeometry(kLeft + kCaptionWidth, 104, kFieldWidth, 32);

    AddCaption(this, QStringLiteral("真实姓名:"), 148);
    name_ = AddEdit(this, QStringLiteral("nameEdit"), QStringLiteral("请输入真实姓名"), 148);
    AddCaption(this, QStringLiteral("身份证号:"), 192);
    id_number_ = AddEdit(this, QStringLiteral("idEdit"), QStringLiteral("请输入身份证号码"), 192);

    submit_ = new QPushButton(QStringLiteral("实名认证"), this);
    submit_->setObjectName(QStringLiteral("realNameButton"));
    submit_->setGeometry(kLeft, 252, kWidth - 2 * kLeft, 38);
    // Enter in either box submits, as the button does; not while a submission is out,
    // since the button is disabled then.
    submit_->setAutoDefault(false);
    submit_->setDefault(true);
    connect(submit_, &QPushButton::clicked, this, [this] { Submit(); });
}

void RealNameWindow::Submit() {
    // One submission at a time: the window stays live while the request is out.
    submit_->setEnabled(false);
    const std::string encoded = EncodeRealName(ui::U8(name_->text()));
    const std::string id_number = ui::U8(id_number_->text());
    const std::string mobile = context_.session.ProfileMobile();
    const QPointer<RealNameWindow> self(this);
    // Copies: the window may be gone by the time the worker is done.
    const std::string reply =
        ui::CallKeepingWindowResponsive([site = context_.site, encoded, id_number, mobile] {
            return SubmitRealName(site, encoded, id_number, mobile);
        });
    if (reply == "1000") {
        ui::CallKeepingWindowResponsive([site = context_.site, &session = context_.session] {
            return RefreshProfile(site, session);
        });
        ShowNotice(kVerifiedMessage, self.data());
        if (self.isNull()) return;
        close();
        return;
    }
    ShowNotice(kMismatchMessage, self.data());
    if (!self.isNull()) submit_->setEnabled(true);
}

}  // namespace vpsdesk::account
