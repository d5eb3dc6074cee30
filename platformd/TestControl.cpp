#include "TestControl.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "Text.h"

namespace platformd {

namespace {

// The log is for tests; bounded so a long-running platform cannot grow without end.
constexpr size_t kLogLimit = 5000;
constexpr size_t kLogByteLimit = 64 * 1024 * 1024;

bool IsLoopback(const std::string& addr) {
    return addr.rfind("127.", 0) == 0 || addr == "::1" || addr.rfind("::ffff:127.", 0) == 0;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

void SendJson(httplib::Response& res, const nlohmann::ordered_json& doc) {
    // ASCII only, so the reply reads the same as GBK and as UTF-8.
    res.set_content(doc.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace),
                    "application/json");
}

}  // namespace

bool TestControl::Allowed(const httplib::Request& req) const {
    if (token_.empty() || !IsLoopback(req.remote_addr)) return false;
    std::string given = req.has_header("X-Control-Token") ? req.get_header_value("X-Control-Token")
                                                          : req.get_param_value("token");
    return given == token_;
}

void TestControl::Handle(const httplib::Request& req, httplib::Response& res) {
    if (!Allowed(req)) {
        res.status = 404;
        res.set_content("not found", "text/plain");
        return;
    }
    const std::string action = req.path.substr(std::string("/__control/").size());
    auto number = [&](const char* name, int fallback) {
        return req.has_param(name)
                   ? static_cast<int>(ReadInteger(req.get_param_value(name)))
                   : fallback;
    };
    std::lock_guard lock(mutex_);
    if (action == "script" && req.method == "POST") {
        std::string path = req.get_param_value("path");
        if (path.empty() || path[0] != '/') {
            res.status = 400;
            return;
        }
        ScriptedReply reply{number("status", 200), req.body,
                            req.has_param("content_type") ? req.get_param_value("content_type")
                                                          : "text/plain; charset=GBK",
                            number("delay_ms", 0), std::nullopt};
        if (req.has_param("stall_after")) reply.stall_after = std::max(number("stall_after", 0), 0);
        int count = std::clamp(number("count", 1), 0, 10000);
        for (int i = 0; i < count; ++i) scripts_[path].push_back(reply);
        any_script_ = true;
    } else if (action == "latency" && req.method == "POST") {
        latency_ms_ = number("ms", 0);
    } else if (action == "version" && req.method == "POST") {
        version_ = req.body;
    } else if (action == "requests" && req.method == "GET") {
        ListRequests(res);
        return;
    } else if (action == "clear" && req.method == "POST") {
        log_.clear();
        log_bytes_ = 0;
    } else if (action == "reset" && req.method == "POST") {
        scripts_.clear();
        any_script_ = false;
        latency_ms_ = 0;
        version_ = "4.92";
        log_.clear();
        log_bytes_ = 0;
    } else if (action == "sms" && req.method == "GET") {
        auto it = sms_.find(req.get_param_value("mobi"));
        SendJson(res, {{"text", it == sms_.end() ? "" : it->second}});
        return;
    } else if (action == "captcha" && req.method == "GET") {
        SendJson(res, {{"answer", captcha_}});
        return;
    } else {
        res.status = 404;
        return;
    }
    res.set_content("ok", "text/plain");
}

void TestControl::ListRequests(httplib::Response& res) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const LoggedRequest& r : log_) {
        nlohmann::ordered_json headers = nlohmann::ordered_json::array();
        std::vector<std::string> lines = SplitText(r.raw_head, "\r\n");
        for (size_t i = 1; i < lines.size(); ++i) {
            headers.push_back(GbkToUtf8(lines[i]));
        }
        list.push_back({{"seq", r.seq},
                        {"method", r.method},
                        {"path", GbkToUtf8(r.target)},
                        {"headers", headers},
                        {"body", GbkToUtf8(r.body)},
                        {"body_hex", Hex(r.body)}});
    }
    nlohmann::ordered_json doc;
    doc["count"] = list.size();
    doc["data"] = list;
    SendJson(res, doc);
}

void TestControl::LogRequest(const httplib::Request& req, const std::string& raw) {
    // Without test control nobody can read the log, and it would hold passwords.
    if (token_.empty()) return;
    size_t end = raw.find("\r\n\r\n");
    std::lock_guard lock(mutex_);
    log_.push_back({next_seq_++, req.method, req.target,
                    end == std::string::npos ? raw : raw.substr(0, end), req.body});
    log_bytes_ += log_.back().raw_head.size() + log_.back().body.size();
    while (log_.size() > kLogLimit || (log_bytes_ > kLogByteLimit && log_.size() > 1)) {
        log_bytes_ -= log_.front().raw_head.size() + log_.front().body.size();
        log_.pop_front();
    }
}

std::optional<TestControl::ScriptedReply> TestControl::TakeScript(const std::string& path,
                                                                  const std::string& target) {
    if (!any_script_) return std::nullopt;
    std::lock_guard lock(mutex_);
    for (const std::string* key : {&target, &path}) {
        auto it = scripts_.find(*key);
        if (it != scripts_.end() && !it->second.empty()) {
            ScriptedReply reply = std::move(it->second.front());
            it->second.pop_front();
            if (it->second.empty()) scripts_.erase(it);
            if (scripts_.empty()) any_script_ = false;
            return reply;
        }
    }
    return std::nullopt;
}

std::string TestControl::Version() {
    std::lock_guard lock(mutex_);
    return version_;
}

void TestControl::RecordSms(const std::string& mobile, const std::string& text) {
    std::fprintf(stderr, "[sms] to %s: %s\n", mobile.c_str(), text.c_str());
    std::lock_guard lock(mutex_);
    sms_[mobile] = text;
}

void TestControl::RecordCaptcha(const std::string& answer) {
    std::lock_guard lock(mutex_);
    captcha_ = answer;
}

}  // namespace platformd
