#include "account/gui/RecoveryPage.h"

#include <QPointer>
#include <QPushButton>

#include "account/Recovery.h"
#include "account/gui/LoginPanel.h"
#include "platform/SessionState.h"
#include "ui/CaptionLabel.h"
#include "ui/GuardedCall.h"
#include "ui/HintEdit.h"
#include "ui/IndicatorFrames.h"
#include "ui/QtText.h"
#include "ui/ResultIndicator.h"
#include "ui/Skin.h"
#include "ui/SlideAnimation.h"
#include "ui/Waiting.h"

namespace vpsdesk::account {
namespace {

using namespace login_panel;

constexpr int kFramePollMs = 20;
constexpr int kMaxFramePolls = 250;

}  // namespace

RecoveryPage::RecoveryPage(platform::SiteConstants site, std::atomic<int>& progress_state,
                           QWidget* parent)
    : QWidget(parent), site_(std::move(site)), progress_state_(progress_state) {
    setObjectName(QStringLiteral("recoveryPage"));
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("recoveryPanel"));
    panel_->setGeometry(kX, 0, kWidth, kHeight);

    account_ = new ui::HintEdit(ui::Qs(kRecoveryAccountHint), ui::HintEdit::Kind::Plain, panel_);
    account_->setObjectName(QStringLiteral("recoveryAccountEdit"));
    account_->setGeometry(0, 0, kBoxWidth, kBoxHeight);
    mobile_ = new ui::HintEdit(ui::Qs(kRecoveryMobileHint), ui::HintEdit::Kind::Plain, panel_);
    mobile_->setObjectName(QStringLiteral("recoveryMobileEdit"));
    mobile_->setGeometry(0, 46, kBoxWidth, kBoxHeight);

    button_ = new QPushButton(ui::Qs(kRecoverCaption), panel_);
    button_->setObjectName(QStringLiteral("recoverButton"));
    button_->setGeometry(0, 92, kBoxWidth, kButtonHeight);
    button_->setAutoDefault(false);
    button_->setDefault(false);
    indicator_ = new ui::ResultIndicator(panel_);
    indicator_->setObjectName(QStringLiteral("recoveryIndicator"));
    indicator_->move(6, 92 + (kButtonHeight - indicator_->height()) / 2);
    indicator_->raise();
    indicator_->HideIndicator();

    back_ =
        new ui::CaptionLabel(QStringLiteral("返回登录"), QStringLiteral("backToLoginLink"), panel_);
    back_->setFont(ui::skin::Font(10));
    back_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    back_->setGeometry(0, 142, 120, 24);

    connect(button_, &QPushButton::clicked, this, [this] { RecoverClicked(); });
    connect(back_, &ui::CaptionLabel::clicked, this, &RecoveryPage::backRequested);
    slide_ = new ui::SlideAnimation(panel_, this);
}

void RecoveryPage::SetPacing(const LoginPacing& pacing) {
    pacing_ = pacing;
    indicator_->SetInterval(pacing.frame_interval_ms);
}

void RecoveryPage::SlideIn() {
    slide_->Slide(QPoint(kStartX, 0), QPoint(kX, 0));
}

void RecoveryPage::StopAnimations() {
    slide_->Stop();
    indicator_->Stop();
}

void RecoveryPage::SetCaption(std::string_view caption) {
    const QString text = ui::Qs(caption);
    button_->setText(text);
    emit buttonCaptionChanged(text);
}

void RecoveryPage::RecoverClicked() {
    if (running_) return;
    running_ = true;
    // Untouched boxes send their hints, as they stand.
    const std::string account = account_->Value();
    const std::string mobile = mobile_->Value();
    button_->setEnabled(false);
    const ResultDelays delays = pacing_.draw_delays();
    indicator_->show();
    indicator_->PlayBusy();
    SetCaption(kRecoveringCaption);
    progress_state_.store(platform::kProgressBusy);

    // Every widget change goes through the UI thread and finds the page by a guarded
    // pointer, so a page that is gone ends the work instead of being touched.
    auto on_page = [self = QPointer<RecoveryPage>(this)](auto&& change) {
        return ui::OnWidget(self, change);
    };
    const bool started = ui::RunInBackground(
        [on_page, site = site_, account, mobile, delays, hold = pacing_.result_hold_ms] {
            const std::string reply = RecoverPassword(site, account, mobile);
            const RecoveryOutcome outcome = InterpretRecoveryReply(reply);
            ui::WaitPumping(outcome.success ? delays.success_ms : delays.failure_ms,
                            ui::WaitUnit::Milliseconds);
            if (!on_page([&](RecoveryPage& page) {
                    if (outcome.success)
                        page.indicator_->PlaySuccess();
                    else
                        page.indicator_->PlayFailure();
                    page.progress_state_.store(outcome.success ? platform::kProgressSuccess
                                                               : platform::kProgressFailure);
                    page.SetCaption(outcome.caption);
                }))
                return;
            ui::WaitPumping(hold, ui::WaitUnit::Milliseconds);
            const int last =
                outcome.success ? ui::indicator::kSuccessLast : ui::indicator::kFailureLast;
            // Bounded, and over as soon as the indicator stops, so nothing holds the page here.
            for (int polls = 0; polls < kMaxFramePolls; ++polls) {
                bool at_end = true;
                if (!on_page([&](RecoveryPage& page) {
                        at_end = !page.indicator_->IsPlaying() || page.indicator_->Frame() == last;
                    }))
                    return;
                if (at_end) break;
                ui::WaitPumping(kFramePollMs, ui::WaitUnit::Milliseconds);
            }
            on_page([](RecoveryPage& page) {
                page.SetCaption(kRecoverCaption);
                page.indicator_->HideIndicator();
                page.button_->setEnabled(true);
                page.running_ = false;
            });
        });
    if (!started) {
        SetCaption(kRecoverCaption);
        indicator_->HideIndicator();
        button_->setEnabled(true);
        running_ = false;
    }
}

}  // namespace vpsdesk::account
