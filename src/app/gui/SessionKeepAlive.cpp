#include "app/gui/SessionKeepAlive.h"

#include <atomic>
#include <memory>

#include "account/PlatformApi.h"
#include "account/PlatformReply.h"
#include "net/JsonDocument.h"
#include "net/WebRequest.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

constexpr std::string_view kUserNamePath = "/user/data/usernmae";  // the platform spells it so

std::atomic<unsigned>& CurrentGeneration() {
    static std::atomic<unsigned>* generation = new std::atomic<unsigned>(0);
    return *generation;
}

}  // namespace

std::string FetchUserName() {
    std::string reply = account::ReadPlatformReply(
        net::WebRequest(account::BaseUrl() + std::string(kUserNamePath)), kUserNamePath);
    return net::JsonReadValue(reply, "data.username");
}

SessionKeepAlive::SessionKeepAlive(SessionState& session, KeepAliveSteps steps,
                                   std::chrono::milliseconds step, int steps_per_pass)
    : session_(session),
      steps_(std::move(steps)),
      step_(step),
      steps_per_pass_(steps_per_pass),
      loop_(session, CurrentGeneration()) {}

bool SessionKeepAlive::Retired() const {
    return loop_.Retired();
}

void SessionKeepAlive::Run() {
    int empty_names = 0;  // consecutive passes that read an empty user name
    while (!Retired()) {
        // A refused re-login ends the loop after this pass, as the platform may still
        // answer the name.
        if (steps_.relogin() != "1000") session_.session_ended = 1;
        const std::string name = steps_.fetch_user_name();
        session_.SetUserName(name);
        if (name.empty() && empty_names == 1) {
            steps_.give_up();
            return;
        }
        if (!name.empty()) {
            if (steps_.show_user_name) steps_.show_user_name(name);
            if (steps_.refresh_profile) steps_.refresh_profile();
        }
        for (int i = 0; i < steps_per_pass_ && !Retired(); ++i)
            ui::WaitPumping(step_.count(), ui::WaitUnit::Milliseconds);
        if (Retired()) return;
        if (steps_.refresh_list) steps_.refresh_list();
        empty_names = name.empty() ? empty_names + 1 : 0;
    }
}

void SessionKeepAlive::StartDetached(SessionState& session, KeepAliveSteps steps,
                                     std::chrono::milliseconds step) {
    auto keep_alive = std::make_shared<SessionKeepAlive>(session, std::move(steps), step);
    ui::RunInBackground([keep_alive] { keep_alive->Run(); });
}

}  // namespace vpsdesk::app
