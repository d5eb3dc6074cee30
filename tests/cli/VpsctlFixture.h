#pragma once
// A demo platform on a free loopback port for each test, and vpsctl run in-process
// against it, signed in as the demo customer with the password on "standard input".
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Demo.h"
#include "Platform.h"
#include "ScriptedConsole.h"
#include "cli/Vpsctl.h"
#include "net/WebRequest.h"

namespace vpsdesk::cli::test {

class VpsctlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platformd::PlatformOptions options;
        options.demo = true;
        options.control_token = kControlToken;
        platform_ = std::make_unique<platformd::Platform>(options);
        site_ = "127.0.0.1:" + std::to_string(platform_->Start());
        // For the test's own requests; every run names the CA itself as well.
        net::SetTlsSettings({platform_->CaPath(), true});
    }
    void TearDown() override { platform_->Stop(); }

    // The platform's options, then `words`.
    std::vector<std::string> Args(const std::vector<std::string>& words) const {
        std::vector<std::string> args = {"--site", site_, "--ca-file", platform_->CaPath()};
        args.insert(args.end(), words.begin(), words.end());
        return args;
    }
    CommandResult RunAs(const std::string& account, const std::vector<std::string>& words,
                        const std::string& password = platformd::Demo::kPassword) {
        console_.answers.push_back(password);
        std::vector<std::string> args = Args({"--account", account});
        args.insert(args.end(), words.begin(), words.end());
        return RunVpsctl(args, console_);
    }
    // A command that must end with `exit_code` and say `err` (a part of stderr).
    struct Refusal {
        const char* name;
        std::vector<std::string> words;
        int exit_code;
        const char* err;
    };
    void ExpectRefused(const std::vector<Refusal>& refusals) {
        for (const Refusal& r : refusals) {
            const CommandResult result = Run(r.words);
            EXPECT_EQ(result.exit_code, r.exit_code) << r.name;
            EXPECT_NE(result.err.find(r.err), std::string::npos) << r.name << ": " << result.err;
        }
    }

    CommandResult Run(const std::vector<std::string>& words) {
        return RunAs(platformd::Demo::kAccount, words);
    }
    // The output of a --json command, parsed; a parse failure fails the test.
    static nlohmann::json Json(const CommandResult& result) {
        nlohmann::json parsed = nlohmann::json::parse(result.out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << result.out;
        return parsed;
    }
    std::string Balance() { return Run({"balance"}).out; }
    // A request to the platform's test control; the reply's text.
    std::string Control(const std::string& action, const std::string& body = {},
                        bool post = true) const {
        net::WebRequestOptions options;
        options.verb = post ? net::HttpVerb::Post : net::HttpVerb::Get;
        if (post) options.body = body;
        options.headers = std::string("X-Control-Token: ") + kControlToken;
        const net::WebReply reply = net::WebRequest("https://" + site_ + "/__control/" + action, options);
        return std::string(reply.body.begin(), reply.body.end());
    }

    static constexpr const char* kControlToken = "cli-test";

    std::unique_ptr<platformd::Platform> platform_;
    std::string site_;
    ScriptedConsole console_;
};

}  // namespace vpsdesk::cli::test
