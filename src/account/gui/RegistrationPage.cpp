#include "account/gui/RegistrationPage.h"

#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

#include "account/Registration.h"
#include "account/gui/LoginPanel.h"
#include "platform/SessionState.h"
#include "ui/GuardedCall.h"
#include "ui/HintEdit.h"
#include "ui/IndicatorFrames.h"
#include "ui/MessageBoxes.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/ResultIndicator.h"
#include "ui/SlideAnimation.h"
#include "ui/Waiting.h"

namespace vpsdesk::account {
namespace {

using namespace login_panel;

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Empty, or still showing its hint: nothing was typed.
bool Untyped(const ui::HintEdit& box) { return box.text().isEmpty() || box.text() == box.Hint(); }

ui::HintEdit* AddBox(std::string_view hint, ui::HintEdit::Kind kind, const QString& name,
                     QRect where, QWidget* parent) {
    auto* box = new ui::HintEdit(ui::Qs(hint), kind, parent);
    box->setObjectName(name);
    box->setGeometry(where);
    return box;
}

}  // namespace

RegistrationPage::RegistrationPage(platform::SiteConstants site, std::atomic<int>& progress_state,
                                   QWidget* parent)
    : QWidget(parent), site_(std::move(site)), progress_state_(progress_state) {
    setObjectName(QStringLiteral("registrationPage"));
    BuildControls();
    slide_ = new ui::SlideAnimation(panel_, this);
}

void RegistrationPage::BuildControls() {
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("registrationPanel"));
    panel_->setGeometry(kX, 0, kWidth, kHeight);
    using Kind = ui::HintEdit::Kind;
    mobile_ = AddBox(kMobileHint, Kind::Plain, QStringLiteral("mobileEdit"),
                     {0, 0, kBoxWidth, kBoxHeight}, panel_);
    code_ = AddBox(kSmsCodeHint, Kind::Plain, QStringLiteral("smsCodeEdit"),
                   {0, 46, 180, kBoxHeight}, panel_);
    code_button_ = new QPushButton(ui::Qs(kSendCodeCaption), panel_);
    code_button_->setObjectName(QStringLiteral("sendCodeButton"));
    code_button_->setGeometry(190, 46, kBoxWidth - 190, kBoxHeight);
    password_ = AddBox(kRegisterPasswordHint, Kind::Password,
                       QStringLiteral("registerPasswordEdit"), {0, 92, kBoxWidth, kBoxHeight},
                       panel_);
    confirmation_ = AddBox(kConfirmHint, Kind::Password, QStringLiteral("confirmPasswordEdit"),
                           {0, 138, kBoxWidth, kBoxHeight}, panel_);
    register_button_ = new QPushButton(ui::Qs(kRegisterCaption), panel_);
    register_button_->setObjectName(QStringLiteral("registerButton"));
    register_button_->setGeometry(0, 184, kBoxWidth, kButtonHeight);
    // Enter acts only where the page says so: released in a password box.
    for (QPushButton* button : {code_button_, register_button_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    indicator_ = new ui::ResultIndicator(panel_);
    indicator_->setObjectName(QStringLiteral("registrationIndicator"));
    indicator_->move(6, 184 + (kButtonHeight - indicator_->height()) / 2);
    indicator_->raise();
    indicator_->HideIndicator();

    for (ui::HintEdit* box : {mobile_, code_, password_}) box->installEventFilter(this);
    connect(code_button_, &QPushButton::clicked, this, [this] { SendCodeClicked(); });
    connect(register_button_, &QPushButton::clicked, this, [this] { RegisterClicked(); });
    for (ui::HintEdit* box : {password_, confirmation_}) {
        connect(box, &ui::HintEdit::keyReleased, this, [this](int key) {
            if (IsEnter(key)) RegisterClicked();
        });
    }
}

void RegistrationPage::SetPacing(const LoginPacing& pacing) {
    pacing_ = pacing;
    indicator_->SetInterval(pacing.frame_interval_ms);
}

void RegistrationPage::SlideIn() {
    slide_->Slide(QPoint(kStartX, 0), QPoint(kX, 0));
}

void RegistrationPage::StopAnimations() {
    slide_->Stop();
    indicator_->Stop();
}

void RegistrationPage::SetCodeCaption(std::string_view caption) {
    const QString text = ui::Qs(caption);
    code_button_->setText(text);
    emit codeCaptionChanged(text);
}

void RegistrationPage::SetRegisterCaption(std::string_view caption) {
    const QString text = ui::Qs(caption);
    register_button_->setText(text);
    emit registerCaptionChanged(text);
}

void RegistrationPage::SendCodeClicked() {
    // One request at a time: a second click while the first is out would send two SMS.
    if (sending_code_) return;
    sending_code_ = true;
    const std::string mobile = mobile_->Value();  // an untouched box sends its hint
    const ResultDelays delays = pacing_.draw_delays();
    SetCodeCaption(kSendingCodeCaption);
    const QPointer<RegistrationPage> self(this);
    const std::string reply = ui::CallKeepingWindowResponsive(
        [site = site_, mobile] { return RequestSmsCode(site, mobile); });
    if (self.isNull()) return;

    if (reply == "1000") {
        ui::WaitPumping(delays.success_ms, ui::WaitUnit::Milliseconds);
        if (self.isNull()) return;
        SetCodeCaption(kCodeSentCaption);
        ui::WaitPumping(pacing_.code_caption_hold_ms, ui::WaitUnit::Milliseconds);
        if (self.isNull()) return;
        sending_code_ = false;
        StartCountdown();
        return;
    }
    if (const std::optional<std::string> refusal = SmsCodeRefusal(reply)) {
        ui::WaitPumping(delays.failure_ms, ui::WaitUnit::Milliseconds);
        if (self.isNull()) return;
        ui::ShowMessage(*refusal, kSendFailedTitle, ui::MessageIcon::None,
                        ui::MessageButtons::Ok, window());
        if (self.isNull()) return;
    }
    if (PauseAfterSmsRefusal(reply)) {
        ui::WaitPumping(pacing_.code_caption_hold_ms, ui::WaitUnit::Milliseconds);
        if (self.isNull()) return;
    }
    SetCodeCaption(kSendCodeCaption);
    sending_code_ = false;
}

void RegistrationPage::StartCountdown() {
    code_button_->setEnabled(false);
    const int tick_ms = pacing_.countdown_tick_ms;
    // Widgets are touched on the UI thread only, and only while the page still exists.
    auto on_page = [self = QPointer<RegistrationPage>(this)](auto&& change) {
        return ui::OnWidget(self, change);
    };
    ui::RunInBackground([on_page, tick_ms] {
        for (int i = 1; i <= kCodeCountdownSeconds; ++i) {
            const std::string caption = CountdownCaption(kCodeCountdownSeconds - i);
            if (!on_page([&](RegistrationPage& page) { page.SetCodeCaption(caption); })) return;
            ui::WaitPumping(tick_ms, ui::WaitUnit::Milliseconds);
        }
        on_page([](RegistrationPage& page) {
            page.code_button_->setEnabled(true);
            page.register_button_->setEnabled(true);
            page.SetCodeCaption(kSendCodeCaption);
        });
    });
}

void RegistrationPage::RegisterClicked() {
    if (registering_ || !register_button_->isEnabled()) return;
    RegistrationForm form;
    form.mobile = mobile_->Value();
    form.password = password_->Value();
    form.confirmation = confirmation_->Value();
    form.code = code_->Value();
    form.mobile_empty = Untyped(*mobile_);
    form.password_empty = Untyped(*password_);
    form.confirmation_empty = Untyped(*confirmation_);
    form.code_empty = Untyped(*code_);
    if (const std::optional<std::string> refusal = RegistrationRefusal(form)) {
        ui::ShowMessage(*refusal, kRegisterErrorTitle, ui::MessageIcon::Error,
                        ui::MessageButtons::Ok, window());
        return;
    }

    registering_ = true;
    const ResultDelays delays = pacing_.draw_delays();
    indicator_->show();
    indicator_->PlayBusy();
    SetRegisterCaption(kRegisteringCaption);
    progress_state_.store(platform::kProgressBusy);
    const QPointer<RegistrationPage> self(this);
    const std::string reply = ui::CallKeepingWindowResponsive([site = site_, form] {
        return Register(site, form.mobile, form.password, form.code);
    });
    if (self.isNull()) return;

    const RegistrationOutcome outcome = InterpretRegistrationReply(reply);
    ui::WaitPumping(DelayBeforeRegistrationResult(reply, delays), ui::WaitUnit::Milliseconds);
    if (self.isNull()) return;
    if (outcome.success) {
        indicator_->PlaySuccess();
        progress_state_.store(platform::kProgressSuccess);
    } else {
        indicator_->PlayFailure();
        progress_state_.store(platform::kProgressFailure);
    }
    SetRegisterCaption(outcome.caption);
    if (!ui::WaitForLastFrame(
            indicator_, outcome.success ? pacing_.result_hold_ms : pacing_.long_hold_ms,
            outcome.success ? ui::indicator::kSuccessLast : ui::indicator::kFailureLast))
        return;
    // The account exists: the customer signs in now. A later countdown gives the button
    // back for another account.
    if (outcome.success)
        register_button_->setEnabled(false);
    else
        SetRegisterCaption(outcome.final_caption);
    indicator_->HideIndicator();
    registering_ = false;
}

bool RegistrationPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            ui::HintEdit* next = watched == password_ ? confirmation_ : password_;
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vpsdesk::account
