#pragma once
// The process-wide sign-in state: the credentials of the signed-in user, the profile texts
// and the flags that the background loops poll. Texts sit behind a lock and are handed out
// as copies; the flags are atomics, so a poll on one thread sees a write on another.
#include <atomic>
#include <mutex>
#include <optional>
#include <string>

namespace vpsdesk::platform {

// Values of the shared ProgressState that the result indicators follow.
enum ProgressPhase : int {
    kProgressIdle = 0,
    kProgressBusy = 1,
    kProgressSuccess = 2,
    kProgressFailure = 3
};

// The user's profile as the platform last reported it.
struct ProfileTexts {
    std::string user_name;
    std::string real_name_status;
    std::string mobile;
    std::string qq;
    std::string email;
    std::string balance;
};

// What one profile load reports. Mobile, QQ and e-mail replace the held values only when
// not empty; the balance always does.
struct ProfileUpdate {
    std::string mobile;
    std::string qq;
    std::string email;
    std::string balance;
};

struct Credentials {
    std::string account;
    std::string password;  // plain text: the silent re-login resends it
};

class SessionState {
  public:
    void SetCredentials(std::string account, std::string password);
    Credentials GetCredentials() const;
    std::string SessionAccount() const;
    std::string SessionPassword() const;

    // Which customer the state belongs to: it changes with every sign-out. A write given
    // the customer a request was started for is dropped once he has signed out, so that a
    // reply arriving late never brings his data back for the next customer.
    unsigned Customer() const { return customer_.load(); }
    // Sign-out: credentials and profile texts are emptied in one step.
    void ClearCustomer();

    void SetProfile(ProfileTexts profile);
    ProfileTexts Profile() const;
    void SetUserName(std::string user_name, std::optional<unsigned> customer = std::nullopt);
    std::string UserName() const;
    void SetRealNameStatus(std::string status, std::optional<unsigned> customer = std::nullopt);
    std::string RealNameStatus() const;
    // Applies a profile load in one step, so a concurrent load or name update is not lost.
    void MergeProfile(const ProfileUpdate& update, std::optional<unsigned> customer = std::nullopt);
    std::string ProfileMobile() const;

    // A login has just succeeded and the main window is to be opened.
    std::atomic<int> sign_in_completed{0};
    // The signed-in user's background loops must stop.
    std::atomic<int> session_ended{0};
    // The phase of the login window's result Indicator (ProgressPhase).
    std::atomic<int> progress_state{kProgressIdle};
    // The same for the main window's purchase and recharge indicators.
    std::atomic<int> main_progress_state{kProgressIdle};

  private:
    // Under the lock: the customer the write was meant for is still the current one.
    bool Current(std::optional<unsigned> customer) const {
        return !customer || *customer == customer_.load();
    }

    std::atomic<unsigned> customer_{0};
    mutable std::mutex mutex_;
    Credentials credentials_;
    ProfileTexts profile_;
};

// The one instance of the process. It is never destroyed, so workers still running while
// the process exits never touch a dead object.
SessionState& Session();

}  // namespace vpsdesk::platform
