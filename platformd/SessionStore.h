#pragma once
// Sign-in sessions, keyed by a random 128-bit id that travels in an HttpOnly cookie.
// Kept in memory: a restarted platform signs everybody out, like a restarted web server.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace platformd {

class SessionStore {
  public:
    std::string Create(std::int64_t user_id);
    // Refreshes the session's idle clock; false when it does not exist or has expired.
    bool Touch(const std::string& sid);
    std::int64_t UserOf(const std::string& sid);
    void Remove(const std::string& sid);
    void SetUser(const std::string& sid, std::int64_t user_id);
    // Ends every session of one account (after its password is reset).
    void RemoveUser(std::int64_t user_id);

    void SetCaptcha(const std::string& sid, const std::string& answer);
    // The captcha answer, which can be used once: a second guess needs a new picture.
    std::string TakeCaptcha(const std::string& sid);

  private:
    struct Session {
        std::int64_t user_id = 0;
        std::string captcha;
        std::chrono::steady_clock::time_point last_seen;
    };
    void Prune();

    std::mutex mutex_;
    std::unordered_map<std::string, Session> sessions_;
    std::chrono::steady_clock::time_point last_prune_{};
};

// 128 random bits from OpenSSL as 32 lower-case hexadecimal digits.
std::string RandomToken();

}  // namespace platformd
