#include "SessionStore.h"

#include <openssl/rand.h>

#include <stdexcept>

namespace platformd {

namespace {
constexpr auto kIdle = std::chrono::hours(2);
// Anyone can open a session by asking for a captcha; past this many the unsigned ones go.
constexpr size_t kMaxSessions = 100000;
}  // namespace

std::string RandomToken() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

std::string SessionStore::Create(std::int64_t user_id) {
    std::string sid = RandomToken();
    std::lock_guard lock(mutex_);
    Prune();
    if (sessions_.size() >= kMaxSessions) {
        std::erase_if(sessions_, [](const auto& item) { return item.second.user_id == 0; });
    }
    sessions_[sid] = Session{user_id, {}, std::chrono::steady_clock::now()};
    return sid;
}

bool SessionStore::Touch(const std::string& sid) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(sid);
    if (it == sessions_.end()) return false;
    auto now = std::chrono::steady_clock::now();
    if (now - it->second.last_seen > kIdle) {
        sessions_.erase(it);
        return false;
    }
    it->second.last_seen = now;
    return true;
}

std::int64_t SessionStore::UserOf(const std::string& sid) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(sid);
    return it == sessions_.end() ? 0 : it->second.user_id;
}

void SessionStore::Remove(const std::string& sid) {
    std::lock_guard lock(mutex_);
    sessions_.erase(sid);
}

void SessionStore::SetUser(const std::string& sid, std::int64_t user_id) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(sid);
    if (it != sessions_.end()) it->second.user_id = user_id;
}

void SessionStore::RemoveUser(std::int64_t user_id) {
    std::lock_guard lock(mutex_);
    std::erase_if(sessions_, [&](const auto& item) { return item.second.user_id == user_id; });
}

void SessionStore::SetCaptcha(const std::string& sid, const std::string& answer) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(sid);
    if (it != sessions_.end()) it->second.captcha = answer;
}

std::string SessionStore::TakeCaptcha(const std::string& sid) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(sid);
    if (it == sessions_.end()) return {};
    std::string answer = std::move(it->second.captcha);
    it->second.captcha.clear();
    return answer;
}

void SessionStore::Prune() {
    auto now = std::chrono::steady_clock::now();
    if (now - last_prune_ < std::chrono::minutes(1)) return;
    last_prune_ = now;
    std::erase_if(sessions_, [&](const auto& item) { return now - item.second.last_seen > kIdle; });
}

}  // namespace platformd
