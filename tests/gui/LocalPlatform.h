#pragma once
// The reference platform in-process on a free loopback port, with the client's trusted CA
// pointed at it for as long as it lives, its site for the code under test to talk to, and
// its test control at hand.
#include <memory>
#include <string>
#include <vector>

#include "Platform.h"
#include "net/CurlShare.h"
#include "net/JsonDocument.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::ui::guitest {

struct LoggedRequest {
    std::string method, path;
    std::string body;  // the bytes as sent (GBK)
    std::vector<std::string> headers;  // "Name: value" lines, in the order sent
};

class LocalPlatform {
  public:
    explicit LocalPlatform(std::string token, bool demo = true, int threads = 8)
        : token_(std::move(token)) {
        platformd::PlatformOptions options;
        options.demo = demo;
        options.control_token = token_;
        options.threads = threads;
        platform_ = std::make_unique<platformd::Platform>(options);
        port_ = platform_->Start();
        net::SetTlsSettings({platform_->CaPath(), true});
    }
    ~LocalPlatform() {
        net::SetTlsSettings({});
        platform_->Stop();
    }
    LocalPlatform(const LocalPlatform&) = delete;
    LocalPlatform& operator=(const LocalPlatform&) = delete;

    int Port() const { return port_; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string Url(const std::string& path) const { return "https://" + Host() + path; }
    platform::SiteConstants Site() const { return {Host(), "Ver 4.92"}; }

    // A test-control request; the client's own sign-in cookie stays out of it.
    std::string Control(const std::string& path, const std::string& body = {}, bool post = false) {
        net::WebRequestOptions options;
        if (post) {
            options.verb = net::HttpVerb::Post;
            options.body_bytes = net::ToBytes(body);
        }
        options.headers = "X-Control-Token: " + token_;
        options.cookies_in = std::string();
        options.no_redirect = true;
        return net::BytesToString(net::WebRequest(Url("/__control/" + path), options).body);
    }
    // The next reply for `path` is `body` (bytes as sent) with HTTP `status`.
    void Script(const std::string& path, const std::string& body, int status = 200) {
        Control("script?path=" + path + "&status=" + std::to_string(status), body, true);
    }
    void ClearLog() { Control("clear", {}, true); }
    std::vector<LoggedRequest> Requests() {
        net::JsonDocument doc;
        doc.Parse(Control("requests"));
        std::vector<LoggedRequest> out;
        for (std::size_t i = 0; i < doc.Count("data"); ++i) {
            const std::string at = "data[" + std::to_string(i) + "]";
            const std::string hex = doc.GetText(at + ".body_hex");
            std::string body;
            for (std::size_t h = 0; h + 1 < hex.size(); h += 2)
                body += static_cast<char>(std::stoi(hex.substr(h, 2), nullptr, 16));
            std::vector<std::string> headers;
            for (std::size_t h = 0; h < doc.Count(at + ".headers"); ++h)
                headers.push_back(doc.GetText(at + ".headers[" + std::to_string(h) + "]"));
            out.push_back(
                {doc.GetText(at + ".method"), doc.GetText(at + ".path"), body, std::move(headers)});
        }
        return out;
    }

  private:
    std::string token_;
    std::unique_ptr<platformd::Platform> platform_;
    int port_ = 0;
};

}  // namespace vpsdesk::ui::guitest
