#pragma once
// One simulated customer: starts as the client does (its first request asks for the
// platform's version), signs in with the silent re-login, then asks for the server
// list every 5 s, the profile every 30 s and, now and then, restarts his server or sets
// its remark. Requests go through the client's own engine and its replies through the
// client's own readers; the customer keeps his own session cookie, so many of them share
// one process as separate clients would.
#include <chrono>
#include <random>
#include <string>

#include "net/WebRequest.h"
#include "platform/PlatformRequest.h"
#include "platform/SiteConstants.h"

namespace load {

class LoadLog;

class Customer {
  public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::seconds kListEvery{5};
    static constexpr std::chrono::seconds kProfileEvery{30};

    Customer(vpsdesk::platform::SiteConstants site, std::string account, std::string password,
             LoadLog& log);

    // Waits for `start`, signs in and keeps working until `end`. A customer whose sign-in
    // fails tries again at his next list time.
    void Run(Clock::time_point start, Clock::time_point end);

  private:
    void StartUp();
    bool SignIn();
    void ListServers();
    void LoadProfile();
    void Operate();

    // Sends with the customer's cookie, records the latency, and keeps the cookies the
    // reply sets. `failure` is set when the engine failed or the status is not 200.
    vpsdesk::net::WebReply Send(const std::string& url, vpsdesk::net::WebRequestOptions options,
                                double& ms, std::string& failure);
    std::string SendOperation(const vpsdesk::platform::PlatformRequest& request, double& ms,
                              std::string& failure);
    Clock::duration NextOperationIn();

    vpsdesk::platform::SiteConstants site_;
    std::string account_;
    std::string password_;
    LoadLog& log_;
    std::string cookies_;
    std::string server_id_;  // his server, as the list shows it
    bool signed_in_ = false;
    bool restart_next_ = true;
    int remarks_ = 0;
    std::mt19937 random_;
};

}  // namespace load
