#include "account/gui/LoginSequence.h"

#include "account/gui/LoginPage.h"
#include "ui/EventLog.h"
#include "ui/GuardedCall.h"
#include "ui/PumpedCall.h"
#include "ui/Waiting.h"

namespace vpsdesk::account {
namespace {

constexpr int kFramePollMs = 20;

// False once the client is quitting: no timer fires after that.
bool Pause(int milliseconds) {
    return ui::WaitPumping(milliseconds, ui::WaitUnit::Milliseconds);
}

}  // namespace

LoginSequence::LoginSequence(LoginPage* page, LoginFlow flow)
    : page_(page), flow_(std::move(flow)), pacing_(page->Pacing()) {}

void LoginSequence::RunManual() {
    if (!Begin()) return;
    ui::CallKeepingWindowResponsive([flow = flow_] {
        flow.LogOut();
        return true;
    });
    LoginForm form;
    if (!ReadForm(form, true)) return;
    const std::string reply =
        ui::CallKeepingWindowResponsive([flow = flow_, form] { return flow.Send(form); });
    ShowResult(reply);
}

void LoginSequence::RunAuto() {
    Pause(pacing_.auto_login_pause_ms);
    if (!Begin()) return;
    flow_.LogOut();
    LoginForm form;
    if (!ReadForm(form, false)) return;
    ShowResult(flow_.Send(form));
}

bool LoginSequence::Begin() {
    const ResultDelays delays = pacing_.draw_delays ? pacing_.draw_delays() : DrawResultDelays();
    bool begun = false;
    OnPage([&](LoginPage& page) {
        begun = page.BeginLogin();
        if (begun) flow_.Begin(delays);
    });
    return begun;
}

bool LoginSequence::ReadForm(LoginForm& form, bool with_captcha) const {
    return OnPage([&](LoginPage& page) { form = page.TypedForm(with_captcha); });
}

void LoginSequence::ShowResult(const std::string& reply) {
    const LoginOutcome outcome = flow_.Judge(reply);
    if (outcome.success) {
        // The boxes as they are now: they are what the re-logins send.
        LoginForm form;
        if (!ReadForm(form, false)) return;
        flow_.Accept(form);
    }
    // An unexpected reply shows nothing. Otherwise the button stays disabled while the
    // result shows: it would look ready but ignore clicks until the login has finished.
    if (outcome.phase != ResultPhase::kNone) {
        Pause(flow_.DelayBefore(outcome));
        if (!OnPage([&](LoginPage& page) {
                page.ShowOutcome(outcome);
                flow_.Shown(outcome);
            }))
            return;
        ui::LogEvent("login-caption " + outcome.caption);
        WaitForEndFrame();
    }
    if (outcome.success) {
        if (!OnPage([](LoginPage& page) { page.HideWindow(); })) return;
        flow_.Complete();
    }
    OnPage([&](LoginPage& page) { page.FinishLogin(outcome.success); });
}

void LoginSequence::WaitForEndFrame() {
    // The indicator stops by itself on its last frame, or when the window's animations are
    // stopped for exit. A result shown after that stop still plays, but its timer never
    // fires once the client quits: the wait ends with the quitting, not with the frame.
    if (!Pause(pacing_.result_hold_ms)) return;
    for (;;) {
        bool playing = false;
        if (!OnPage([&](LoginPage& page) { playing = page.OutcomePlaying(); })) return;
        if (!playing || !Pause(kFramePollMs)) return;
    }
}

bool LoginSequence::OnPage(const std::function<void(LoginPage&)>& fn) const {
    return ui::OnWidget(page_, fn);
}

}  // namespace vpsdesk::account
