#include "account/gui/LoginSequence.h"

#include <QWidget>

#include "account/LoginApi.h"
#include "account/gui/LoginPage.h"
#include "platform/PlatformApi.h"
#include "platform/SessionState.h"
#include "ui/HintEdit.h"
#include "ui/PumpedCall.h"
#include "ui/ResultIndicator.h"
#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::account {
namespace {

constexpr int kFramePollMs = 20;

void Pause(int milliseconds) { ui::WaitPumping(milliseconds, ui::WaitUnit::Milliseconds); }

}  // namespace

LoginSequence::LoginSequence(LoginPage* page, LoginMode mode)
    : page_(page), mode_(mode), pacing_(page->pacing()), machine_code_(page->machineCode()) {}

void LoginSequence::RunManual(LoginPage* page) {
    LoginSequence sequence(page, LoginMode::kManual);
    if (!sequence.Begin()) return;
    ui::CallKeepingWindowResponsive([] {
        platform::PlatformLogout();
        return true;
    });
    std::string account, password, captcha;
    if (!sequence.ReadBoxes(account, password, &captcha)) return;
    const std::string reply = ui::CallKeepingWindowResponsive(
        [account, password, captcha, code = sequence.machine_code_] {
            return PostLogin(account, password, captcha, code);
        });
    sequence.ShowResult(reply);
}

void LoginSequence::RunAuto(const std::shared_ptr<LoginSequence>& sequence) {
    Pause(sequence->pacing_.auto_login_pause_ms);
    if (!sequence->Begin()) return;
    platform::PlatformLogout();
    std::string account, password;
    if (!sequence->ReadBoxes(account, password, nullptr)) return;
    sequence->ShowResult(SilentRelogin(account, password, sequence->machine_code_));
}

bool LoginSequence::Begin() {
    delays_ = pacing_.draw_delays ? pacing_.draw_delays() : DrawResultDelays();
    bool begun = false;
    OnPage([&](LoginPage& page) { begun = page.beginLogin(); });
    return begun;
}

bool LoginSequence::ReadBoxes(std::string& account, std::string& password,
                              std::string* captcha) const {
    return OnPage([&](LoginPage& page) {
        account = page.accountEdit()->value();
        password = page.passwordEdit()->value();
        if (captcha != nullptr) *captcha = page.captchaEdit()->value();
    });
}

void LoginSequence::ShowResult(const std::string& reply) {
    const LoginOutcome outcome = InterpretLoginReply(reply, mode_);
    if (outcome.success) {
        std::string account, password;
        if (!ReadBoxes(account, password, nullptr)) return;
        platform::Session().SetCredentials(account, password);
        Pause(delays_.success_ms);
        if (!OnPage([&](LoginPage& page) {
                page.indicator()->playSuccess();
                platform::Session().progress_state.store(platform::kProgressSuccess);
                page.setButtonCaption(outcome.caption);
            }))
            return;
        WaitForEndFrame();
        if (!OnPage([](LoginPage& page) { page.window()->hide(); })) return;
        platform::Session().sign_in_completed.store(1);
    } else {
        // The button stays disabled while the result shows: it would look ready but
        // ignore clicks until the login has finished.
        if (outcome.phase == ResultPhase::kFailure) {
            Pause(delays_.failure_ms);
            if (!OnPage([&](LoginPage& page) {
                    page.indicator()->playFailure();
                    platform::Session().progress_state.store(platform::kProgressFailure);
                    page.setButtonCaption(outcome.caption);
                }))
                return;
            WaitForEndFrame();
        }
    }
    OnPage([&](LoginPage& page) { page.finishLogin(outcome.success); });
}

void LoginSequence::WaitForEndFrame() {
    Pause(pacing_.result_hold_ms);
    // The indicator stops by itself on its last frame; it also stops when the window's
    // animations are stopped for exit, and then nothing more is to come.
    for (;;) {
        bool playing = false;
        if (!OnPage([&](LoginPage& page) { playing = page.indicator()->isPlaying(); })) return;
        if (!playing) return;
        Pause(kFramePollMs);
    }
}

bool LoginSequence::OnPage(const std::function<void(LoginPage&)>& fn) const {
    bool found = false;
    const bool ran = ui::onUiThread([&] {
        if (page_.isNull()) return;
        found = true;
        fn(*page_);
    });
    return ran && found;
}

}  // namespace vpsdesk::account
