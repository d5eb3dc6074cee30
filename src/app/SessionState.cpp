#include "app/SessionState.h"

#include <utility>

namespace vpsdesk::app {

void SessionState::SetCredentials(std::string account, std::string password) {
    std::lock_guard lock(mutex_);
    credentials_.account = std::move(account);
    credentials_.password = std::move(password);
}

Credentials SessionState::GetCredentials() const {
    std::lock_guard lock(mutex_);
    return credentials_;
}

std::string SessionState::SessionAccount() const {
    std::lock_guard lock(mutex_);
    return credentials_.account;
}

std::string SessionState::SessionPassword() const {
    std::lock_guard lock(mutex_);
    return credentials_.password;
}

void SessionState::SetProfile(ProfileTexts profile) {
    std::lock_guard lock(mutex_);
    profile_ = std::move(profile);
}

ProfileTexts SessionState::Profile() const {
    std::lock_guard lock(mutex_);
    return profile_;
}

void SessionState::SetUserName(std::string user_name) {
    std::lock_guard lock(mutex_);
    profile_.user_name = std::move(user_name);
}

std::string SessionState::UserName() const {
    std::lock_guard lock(mutex_);
    return profile_.user_name;
}

SessionState& Session() {
    static SessionState* session = new SessionState;
    return *session;
}

}  // namespace vpsdesk::app
