#pragma once
// Slows down guessing passwords by where the guesses come from. Accounts are never locked,
// so a stranger's wrong passwords cannot keep the customer out; the stranger's own
// attempts wait longer and longer instead.
#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace platformd {

class LoginThrottle {
  public:
    using Clock = std::chrono::steady_clock;

    // Wrong passwords a source may send without delay, and how long its record lasts.
    static constexpr int kFreeFailures = 5;
    static constexpr std::chrono::minutes kMemory{10};
    static constexpr std::chrono::milliseconds kFirstDelay{250};
    static constexpr std::chrono::milliseconds kMaxDelay{8000};

    // How long a sign-in from `source` waits before its password is checked.
    std::chrono::milliseconds Delay(const std::string& source, Clock::time_point now);
    // A wrong account or password from `source`. A success clears nothing: otherwise a
    // guesser could sign in to an account of his own between guesses.
    void Failed(const std::string& source, Clock::time_point now);

  private:
    struct Record {
        int failures = 0;
        Clock::time_point last;
    };
    void Forget(Clock::time_point now);

    std::mutex mutex_;
    std::map<std::string, Record> sources_;
};

}  // namespace platformd
