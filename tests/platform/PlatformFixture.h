#pragma once
// A demo platform on a free loopback port for each test, and clients that talk to it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Demo.h"
#include "Platform.h"
#include "TestClient.h"
#include "net/JsonDocument.h"

namespace platformd::test {

inline const char* kToken = "test-token";

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.demo = true;
        options.control_token = kToken;
        options.threads = 8;
        // Long enough that a working status is still showing when the test looks.
        options.busy_seconds = 3600;
        platform_ = std::make_unique<Platform>(options);
        port_ = platform_->Start();
    }
    void TearDown() override { platform_->Stop(); }

    std::unique_ptr<TestClient> NewClient() {
        return std::make_unique<TestClient>("https://127.0.0.1:" + std::to_string(port_),
                                            platform_->CaPath());
    }
    std::unique_ptr<TestClient> SignedIn(const std::string& account = Demo::kAccount) {
        auto client = NewClient();
        EXPECT_EQ(client->Login(account, Demo::kPassword, kToken), "1000");
        return client;
    }
    Reply Control(TestClient& client, const std::string& path, const std::string& body = {},
                  bool post = false) {
        std::vector<std::string> headers = {std::string("X-Control-Token: ") + kToken};
        return post ? client.PostBytes("/__control/" + path, body, headers)
                    : client.Get("/__control/" + path, headers);
    }
    static vpsdesk::net::JsonDocument Json(const Reply& reply) {
        vpsdesk::net::JsonDocument doc;
        doc.Parse(reply.Text());
        return doc;
    }
    static Reply ServerPage(TestClient& client, int page) {
        return client.PostBytes(
            "/user/data/vpslist?page=" + std::to_string(page) + "&limit=5&ljs=1", "");
    }

    std::unique_ptr<Platform> platform_;
    int port_ = 0;
};

// A form from name/value pairs, in order.
inline vpsdesk::net::NameValueList Form(
    std::initializer_list<std::pair<const char*, std::string>> pairs) {
    vpsdesk::net::NameValueList form;
    for (const auto& [name, value] : pairs) form.Add(name, value);
    return form;
}

}  // namespace platformd::test
