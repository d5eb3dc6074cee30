#pragma once
// The test-control side of the platform: scripted replies (delayed, or stalling part-way
// through), a global latency, the "ver" answer, the request log and the codes that a real
// platform would send by SMS or draw into a picture. Reached under /__control/ from
// loopback only, with the token given on the command line; without a token it is
// switched off.
#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace platformd {

class TestControl {
  public:
    struct ScriptedReply {
        int status = 200;
        std::string body;
        std::string content_type;
        int delay_ms = 0;
        // When set, the reply stops after this many body bytes: the status line, the
        // headers (with the whole body's length) and the first bytes go out, then the
        // connection is held without another byte until the platform stops.
        std::optional<int> stall_after;
    };

    explicit TestControl(std::string token) : token_(std::move(token)) {}

    static bool IsControlPath(const std::string& path) { return path.rfind("/__control/", 0) == 0; }
    void Handle(const httplib::Request& req, httplib::Response& res);

    void LogRequest(const httplib::Request& req, const std::string& raw);
    int LatencyMs() const { return latency_ms_.load(); }
    // The next scripted reply for this request, if one is queued for its path (or, when
    // the script names a query, for its full target).
    std::optional<ScriptedReply> TakeScript(const std::string& path, const std::string& target);

    std::string Version();
    void RecordSms(const std::string& mobile, const std::string& text);
    void RecordCaptcha(const std::string& answer);

  private:
    bool Allowed(const httplib::Request& req) const;
    void ListRequests(httplib::Response& res);

    std::string token_;
    std::atomic<int> latency_ms_{0};
    std::mutex mutex_;
    std::map<std::string, std::deque<ScriptedReply>> scripts_;
    std::atomic<bool> any_script_{false};
    std::string version_ = "4.92";
    struct LoggedRequest {
        std::uint64_t seq;
        std::string method, target, raw_head, body;
    };
    std::deque<LoggedRequest> log_;
    size_t log_bytes_ = 0;
    std::uint64_t next_seq_ = 1;
    std::map<std::string, std::string> sms_;
    std::string captcha_;
};

}  // namespace platformd
