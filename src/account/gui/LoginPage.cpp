#include "account/gui/LoginPage.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include "account/LoginApi.h"
#include "account/LoginResult.h"
#include "account/gui/LoginSequence.h"
#include "ui/CaptionLabel.h"
#include "ui/HintEdit.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/ResultIndicator.h"
#include "ui/Skin.h"
#include "ui/SlideAnimation.h"

namespace vpsdesk::account {
namespace {

using login_panel::kBoxHeight;
using login_panel::kBoxWidth;
constexpr int kPanelY = 0;

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

LoginPage::LoginPage(platform::SiteConstants site, platform::SessionState& session, QWidget* parent)
    : QWidget(parent), site_(std::move(site)), session_(session) {
    setObjectName(QStringLiteral("loginPage"));
    BuildControls();
    slide_ = new ui::SlideAnimation(panel_, this);
}

void LoginPage::BuildControls() {
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("loginPanel"));
    panel_->setGeometry(kPanelX, kPanelY, login_panel::kWidth, login_panel::kHeight);
    // The skin's check boxes would draw their squares dark on dark.
    panel_->setStyleSheet(QStringLiteral(
        "QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid #8A93A8;"
        " border-radius: 2px; background: #272C3D; }"
        "QCheckBox::indicator:checked { background: #2F6BFF; border-color: #2F6BFF; }"));

    account_ = new ui::HintEdit(QStringLiteral("用户名/账号"), ui::HintEdit::Kind::Plain, panel_);
    account_->setObjectName(QStringLiteral("accountEdit"));
    account_->setGeometry(0, 0, kBoxWidth, kBoxHeight);
    password_ = new ui::HintEdit(QStringLiteral("密码"), ui::HintEdit::Kind::Password, panel_);
    password_->setObjectName(QStringLiteral("passwordEdit"));
    password_->setGeometry(0, 46, kBoxWidth, kBoxHeight);
    captcha_ = new ui::HintEdit(QStringLiteral("图片验证码"), ui::HintEdit::Kind::Plain, panel_);
    captcha_->setObjectName(QStringLiteral("captchaEdit"));
    captcha_->setGeometry(0, 92, 180, kBoxHeight);

    captcha_picture_ = new QLabel(panel_);
    captcha_picture_->setObjectName(QStringLiteral("captchaPicture"));
    captcha_picture_->setGeometry(190, 92, kBoxWidth - 190, kBoxHeight);
    captcha_picture_->setCursor(Qt::PointingHandCursor);
    captcha_picture_->setToolTip(QStringLiteral("看不清？点击换一张"));
    captcha_picture_->installEventFilter(this);

    remember_ = new QCheckBox(QStringLiteral("记住密码"), panel_);
    remember_->setObjectName(QStringLiteral("rememberBox"));
    remember_->setGeometry(0, 136, 120, 24);
    auto_login_ = new QCheckBox(QStringLiteral("自动登录"), panel_);
    auto_login_->setObjectName(QStringLiteral("autoLoginBox"));
    auto_login_->setGeometry(kBoxWidth - 100, 136, 100, 24);

    login_button_ = new QPushButton(ui::Qs(kLoginButtonCaption), panel_);
    login_button_->setObjectName(QStringLiteral("loginButton"));
    login_button_->setGeometry(0, 172, kBoxWidth, 38);
    // In a dialog, Enter anywhere would press a default button; only the password box's
    // Enter, on release, logs in.
    login_button_->setAutoDefault(false);
    login_button_->setDefault(false);

    indicator_ = new ui::ResultIndicator(panel_);
    indicator_->setObjectName(QStringLiteral("loginIndicator"));
    indicator_->move(6, 172 + (38 - indicator_->height()) / 2);
    indicator_->raise();
    indicator_->HideIndicator();

    // The selector's "找回密码" opens the platform's web page; this stays in the window.
    forgot_ = new ui::CaptionLabel(QStringLiteral("忘记密码？"),
                                   QStringLiteral("forgotPasswordLink"), panel_);
    forgot_->setFont(ui::skin::Font(9));
    forgot_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    forgot_->setGeometry(kBoxWidth - 100, 218, 100, 22);
    connect(forgot_, &ui::CaptionLabel::clicked, this, &LoginPage::recoveryRequested);

    // The two credential boxes hand the Tab key to each other.
    account_->installEventFilter(this);
    password_->installEventFilter(this);

    connect(login_button_, &QPushButton::clicked, this, [this] { ManualLogin(); });
    connect(password_, &ui::HintEdit::keyReleased, this, [this](int key) {
        if (IsEnter(key)) ManualLogin();
    });
    connect(remember_, &QCheckBox::clicked, this, [this] { SaveRememberedLogin(); });
    connect(auto_login_, &QCheckBox::clicked, this, [this] { SaveAutoLogin(); });
}

void LoginPage::SetPacing(const LoginPacing& pacing) {
    pacing_ = pacing;
    indicator_->SetInterval(pacing.frame_interval_ms);
}

void LoginPage::FillRememberedLogin(const platform::AccountSettingsFile& file) {
    settings_ = file;
    const platform::RememberedLogin remembered = file.LoadRememberedLogin();
    if (!remembered.remember) return;
    remember_->setChecked(true);
    // An empty remembered value keeps the hint, as an untouched box would show it. The
    // password box masks whatever is not its hint by itself.
    for (auto [box, value] : {std::pair{account_, &remembered.account},
                              std::pair{password_, &remembered.password}}) {
        if (value->empty())
            box->ResetToHint();
        else
            box->setText(ui::Qs(*value));
    }
    if (remembered.auto_login) auto_login_->setChecked(true);
}

void LoginPage::SlideIn() {
    slide_->Slide(QPoint(kPanelStartX, kPanelY), QPoint(kPanelX, kPanelY));
}

void LoginPage::FetchCaptcha() {
    if (captcha_loading_) return;  // a click while the last picture is on its way
    captcha_loading_ = true;
    const QPointer<LoginPage> self(this);
    // With the window responsive: a platform slow to send the picture must not freeze it.
    const net::ByteArray png =
        ui::CallKeepingWindowResponsive([site = site_] { return LoadCaptcha(site); });
    if (self.isNull()) return;
    captcha_loading_ = false;
    ShowCaptcha(png);
}

void LoginPage::ShowCaptcha(const net::ByteArray& png) {
    QPixmap picture;
    if (!png.empty())
        picture.loadFromData(png.data(), static_cast<uint>(png.size()));
    if (picture.isNull()) {
        captcha_picture_->clear();
        return;
    }
    captcha_picture_->setPixmap(picture.scaled(captcha_picture_->size(), Qt::KeepAspectRatio,
                                               Qt::SmoothTransformation));
}

void LoginPage::FocusAccountBox() { account_->setFocus(Qt::OtherFocusReason); }

void LoginPage::ManualLogin() {
    if (login_running_) return;
    // Stored before the request, so the typed values are kept whether or not it succeeds.
    SaveRememberedLogin();
    LoginSequence(this, Flow(LoginMode::kManual)).RunManual();
}

void LoginPage::StartAutoLogin() {
    if (auto_login_started_) return;
    auto_login_started_ = true;
    if (!auto_login_->isChecked()) return;
    auto sequence = std::make_shared<LoginSequence>(this, Flow(LoginMode::kAuto));
    ui::RunInBackground([sequence] { sequence->RunAuto(); });
}

LoginFlow LoginPage::Flow(LoginMode mode) const {
    return LoginFlow(site_, session_, mode, machine_code_);
}

void LoginPage::EnableLoginButton() { login_button_->setEnabled(true); }

void LoginPage::StopAnimations() {
    slide_->Stop();
    indicator_->Stop();
}

bool LoginPage::BeginLogin() {
    if (login_running_) return false;
    login_running_ = true;
    // A disabled button hands its focus on along the chain, and the account box would
    // clear its hint on the way; the panel takes the focus instead.
    if (login_button_->hasFocus()) panel_->setFocus(Qt::OtherFocusReason);
    login_button_->setEnabled(false);
    indicator_->PlayBusy();
    SetButtonCaption(kLoggingInCaption);
    return true;
}

void LoginPage::SetButtonCaption(std::string_view caption) {
    const QString text = ui::Qs(caption);
    login_button_->setText(text);
    emit buttonCaptionChanged(text);
}

void LoginPage::FinishLogin(bool success) {
    login_running_ = false;
    // After a success the window goes away; the log-out gives the button back.
    if (!success) login_button_->setEnabled(true);
    SetButtonCaption(kLoginButtonCaption);
    indicator_->HideIndicator();
    emit loginFinished(success);
}

LoginForm LoginPage::TypedForm(bool with_captcha) const {
    LoginForm form{account_->Value(), password_->Value(), {}};
    if (with_captcha) form.captcha = captcha_->Value();
    return form;
}

void LoginPage::ShowOutcome(const LoginOutcome& outcome) {
    if (outcome.phase == ResultPhase::kSuccess)
        indicator_->PlaySuccess();
    else if (outcome.phase == ResultPhase::kFailure)
        indicator_->PlayFailure();
    SetButtonCaption(outcome.caption);
}

bool LoginPage::OutcomePlaying() const {
    return indicator_->IsPlaying();
}

void LoginPage::HideWindow() {
    window()->hide();
}

void LoginPage::SaveRememberedLogin() {
    if (!settings_) return;
    const bool remember = remember_->isChecked();
    const std::string account = account_->Value();
    const std::string password = password_->Value();
    if (remember && !platform::AccountSettingsFile::CanRemember(account, password)) {
        // Nothing is written, so the file keeps what it held; the box shows what is kept.
        remember_->setChecked(false);
        ui::ShowMessage(kCannotRememberMessage, "提示", ui::MessageIcon::None,
                        ui::MessageButtons::Ok, window());
        return;
    }
    ReportSave(settings_->SaveRememberedLogin(remember, account, password));
}

void LoginPage::SaveAutoLogin() {
    if (settings_) ReportSave(settings_->SaveAutoLogin(auto_login_->isChecked()));
}

void LoginPage::ReportSave(bool saved) {
    if (saved) {
        save_failure_told_ = false;
        return;
    }
    // Without a Documents folder there is no file to name, and nothing was ever kept.
    if (save_failure_told_ || settings_->Path().empty()) return;
    save_failure_told_ = true;
    ui::ShowMessage(std::string(kLoginNotSavedMessage) + settings_->Path().string(), "提示",
                    ui::MessageIcon::Warning, ui::MessageButtons::Ok, window());
}

bool LoginPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == captcha_picture_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        FetchCaptcha();
        return true;
    }
    if ((watched == account_ || watched == password_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            (watched == account_ ? password_ : account_)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vpsdesk::account
