#include "account/LoginFlow.h"

#include "account/LoginApi.h"
#include "platform/PlatformApi.h"

namespace vpsdesk::account {

LoginFlow::LoginFlow(platform::SiteConstants site, platform::SessionState& session, LoginMode mode,
                     std::string machine_code)
    : site_(std::move(site)),
      session_(&session),
      mode_(mode),
      machine_code_(std::move(machine_code)) {}

void LoginFlow::Begin(const ResultDelays& delays) {
    delays_ = delays;
    session_->progress_state.store(platform::kProgressBusy);
}

void LoginFlow::LogOut() const {
    platform::PlatformLogout(site_);
}

std::string LoginFlow::Send(const LoginForm& form) const {
    if (mode_ == LoginMode::kManual)
        return PostLogin(site_, form.account, form.password, form.captcha, machine_code_);
    return SilentRelogin(site_, form.account, form.password, machine_code_);
}

LoginOutcome LoginFlow::Judge(std::string_view reply) const {
    return InterpretLoginReply(reply, mode_);
}

int LoginFlow::DelayBefore(const LoginOutcome& outcome) const {
    return DelayBeforeResult(outcome, delays_);
}

void LoginFlow::Accept(const LoginForm& form) {
    session_->SetCredentials(form.account, form.password);
}

void LoginFlow::Shown(const LoginOutcome& outcome) {
    if (outcome.phase == ResultPhase::kSuccess)
        session_->progress_state.store(platform::kProgressSuccess);
    else if (outcome.phase == ResultPhase::kFailure)
        session_->progress_state.store(platform::kProgressFailure);
}

void LoginFlow::Complete() {
    session_->sign_in_completed.store(1);
}

}  // namespace vpsdesk::account
