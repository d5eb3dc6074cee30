#include "app/gui/SessionKeepAlive.h"

#include <atomic>
#include <memory>

#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

std::atomic<unsigned>& CurrentGeneration() {
    static std::atomic<unsigned>* generation = new std::atomic<unsigned>(0);
    return *generation;
}

}  // namespace

SessionKeepAlive::SessionKeepAlive(platform::SessionState& session, KeepAliveSteps steps,
                                   KeepAlivePace pace)
    : session_(session),
      steps_(std::move(steps)),
      pace_(pace),
      customer_(session.Customer()),
      loop_(session, CurrentGeneration()) {}

bool SessionKeepAlive::Retired() const {
    return loop_.Retired();
}

void SessionKeepAlive::Run() {
    int empty_names = 0;  // consecutive passes that read an empty user name
    while (!Retired()) {
        // A refused re-login ends the loop after this pass, as the platform may still
        // answer the name. No reply at all is not a refusal: the platform may be back by
        // the next pass.
        const std::string relogin = steps_.relogin();
        if (!relogin.empty() && relogin != "1000" && !Retired()) session_.session_ended = 1;
        const std::optional<std::string> name = steps_.fetch_user_name();
        if (steps_.show_connection) steps_.show_connection(name.has_value());
        if (name) {
            session_.SetUserName(*name, customer_);
            if (name->empty() && empty_names == 1) {
                steps_.give_up();
                return;
            }
            if (!name->empty()) {
                if (steps_.show_user_name) steps_.show_user_name(*name);
                if (steps_.refresh_profile) steps_.refresh_profile();
            }
        }
        for (int i = 0; i < pace_.steps_per_pass && !Retired(); ++i)
            ui::WaitPumping(pace_.step.count(), ui::WaitUnit::Milliseconds);
        if (Retired()) return;
        if (steps_.refresh_list) steps_.refresh_list();
        // A pass without an answer neither counts as empty nor breaks a run of empty ones.
        if (name) empty_names = name->empty() ? empty_names + 1 : 0;
    }
}

void SessionKeepAlive::StartDetached(platform::SessionState& session, KeepAliveSteps steps,
                                     KeepAlivePace pace) {
    auto keep_alive = std::make_shared<SessionKeepAlive>(session, std::move(steps), pace);
    ui::RunInBackground([keep_alive] { keep_alive->Run(); });
}

}  // namespace vpsdesk::app
