#include "platform/SessionState.h"

#include <utility>

namespace vpsdesk::platform {

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

void SessionState::ClearCustomer() {
    std::lock_guard lock(mutex_);
    credentials_ = {};
    profile_ = {};
    ++customer_;
}

void SessionState::SetProfile(ProfileTexts profile) {
    std::lock_guard lock(mutex_);
    profile_ = std::move(profile);
}

ProfileTexts SessionState::Profile() const {
    std::lock_guard lock(mutex_);
    return profile_;
}

void SessionState::SetUserName(std::string user_name, std::optional<unsigned> customer) {
    std::lock_guard lock(mutex_);
    if (!Current(customer)) return;
    profile_.user_name = std::move(user_name);
}

std::string SessionState::UserName() const {
    std::lock_guard lock(mutex_);
    return profile_.user_name;
}

void SessionState::SetRealNameStatus(std::string status, std::optional<unsigned> customer) {
    std::lock_guard lock(mutex_);
    if (!Current(customer)) return;
    profile_.real_name_status = std::move(status);
}

std::string SessionState::RealNameStatus() const {
    std::lock_guard lock(mutex_);
    return profile_.real_name_status;
}

void SessionState::MergeProfile(const ProfileUpdate& update, std::optional<unsigned> customer) {
    std::lock_guard lock(mutex_);
    if (!Current(customer)) return;
    if (!update.mobile.empty()) profile_.mobile = update.mobile;
    if (!update.qq.empty()) profile_.qq = update.qq;
    if (!update.email.empty()) profile_.email = update.email;
    profile_.balance = update.balance;
}

std::string SessionState::ProfileMobile() const {
    std::lock_guard lock(mutex_);
    return profile_.mobile;
}

SessionState& Session() {
    static SessionState* session = new SessionState;
    return *session;
}

}  // namespace vpsdesk::platform
