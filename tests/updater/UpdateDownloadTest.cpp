// The update against loopback platforms: what replaces the client and what never does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "Platform.h"
#include "UpdateJob.h"
#include "UpdaterFixture.h"
#include "net/ByteArray.h"

namespace updatertest {
namespace {

using vpsdesk::net::ToBytes;
using vpsdesk::updater::CheckDownload;
using vpsdesk::updater::DownloadReply;
using vpsdesk::updater::RunUpdate;
using vpsdesk::updater::Sha256Hex;
using vpsdesk::updater::UpdateRun;

// Every byte value, zeros included, in a file large enough to take several reads.
std::string BinaryClient() {
    std::string bytes;
    for (unsigned i = 0; i < 300000; ++i) bytes += static_cast<char>((i * 7919u) % 256u);
    return bytes;
}

struct Outcome {
    bool ok = false;
    std::vector<std::string> messages;
};

Outcome Update(const std::filesystem::path& folder, bool start_client = false,
               const std::atomic<bool>* cancelled = nullptr) {
    Outcome outcome;
    UpdateRun run;
    run.folder = folder;
    run.start_client = start_client;
    run.cancelled = cancelled;
    run.on_failure = [&](const std::string& message) { outcome.messages.push_back(message); };
    outcome.ok = RunUpdate(run);
    return outcome;
}

httplib::Server::Handler Serve(int status, std::string body, std::string checksum) {
    return [=](const httplib::Request&, httplib::Response& res) {
        res.status = status;
        if (!checksum.empty()) res.set_header("X-Content-SHA256", checksum);
        res.set_content(body, "application/octet-stream");
    };
}

std::string Sha(const std::string& bytes) { return Sha256Hex(ToBytes(bytes)); }

TEST_F(UpdaterTest, PlatformDownloadReplacesTheClientByteExact) {
    std::filesystem::path served = MakeTempFolder() / "vpsdesk";
    const std::string new_client = BinaryClient();
    WriteAll(served, new_client);
    platformd::PlatformOptions options;
    options.update_file = served.string();
    platformd::Platform platform(options);
    int port = platform.Start();
    WriteSettings("https://127.0.0.1:" + std::to_string(port) + "/khd?act=", platform.CaPath());

    Outcome outcome = Update(folder_);
    platform.Stop();
    std::filesystem::remove_all(served.parent_path());

    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(ReadAll(client_) == new_client);
    struct stat st {};
    ASSERT_EQ(stat(client_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    // No temporary file and no copy of the old client stays behind.
    EXPECT_EQ(Listing(folder_), "vpsdesk 更新配置.ini ");
}

TEST_F(UpdaterTest, BadDownloadsLeaveTheOldClientAndSayWhy) {
    const std::string body = "#!/bin/sh\necho new\n";
    struct Case {
        const char* name;
        httplib::Server::Handler handler;
        const char* says;
    } cases[] = {
        {"wrong checksum", Serve(200, body, Sha("something else")), "校验不一致"},
        {"no checksum", Serve(200, body, ""), "校验值"},
        {"empty body", Serve(200, "", Sha("")), "空"},
        {"server error", Serve(500, body, Sha(body)), "HTTP 500"},
        {"not found", Serve(404, "", ""), "HTTP 404"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(c.handler);
        WriteSettings(server.CommandUrl());
        Outcome outcome = Update(folder_);
        EXPECT_FALSE(outcome.ok);
        ASSERT_EQ(outcome.messages.size(), 1u);
        EXPECT_NE(outcome.messages[0].find(c.says), std::string::npos) << outcome.messages[0];
        EXPECT_EQ(ReadAll(client_), old_client_);
        EXPECT_EQ(Listing(folder_), "vpsdesk 更新配置.ini ");
    }
}

TEST_F(UpdaterTest, UnreachableOrUntrustedPlatformLeavesTheOldClient) {
    const std::string body = "#!/bin/sh\necho new\n";
    std::string closed_url;
    {
        ScriptedServer server(Serve(200, body, Sha(body)));
        closed_url = server.CommandUrl();
        // Without the platform's CA its certificate is not trusted.
        WriteSettings(server.CommandUrl(), "");
        Outcome outcome = Update(folder_);
        EXPECT_FALSE(outcome.ok);
        ASSERT_EQ(outcome.messages.size(), 1u);
        EXPECT_NE(outcome.messages[0].find("无法连接"), std::string::npos) << outcome.messages[0];
    }
    WriteSettings(closed_url);
    Outcome outcome = Update(folder_);
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_NE(outcome.messages[0].find("无法连接"), std::string::npos) << outcome.messages[0];
    EXPECT_EQ(ReadAll(client_), old_client_);
}

TEST_F(UpdaterTest, NoClientBesideTheUpdaterMeansNothingIsInstalled) {
    const std::string body = "#!/bin/sh\necho new\n";
    ScriptedServer server(Serve(200, body, Sha(body)));
    WriteSettings(server.CommandUrl());
    std::filesystem::remove(client_);
    Outcome outcome = Update(folder_);
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_NE(outcome.messages[0].find(client_.string()), std::string::npos) << outcome.messages[0];
    EXPECT_EQ(Listing(folder_), "更新配置.ini ");
}

TEST_F(UpdaterTest, CancelledUpdateDoesNotReplaceAFinishedDownload) {
    const std::string body = "#!/bin/sh\necho new\n";
    ScriptedServer server(Serve(200, body, Sha(body)));
    WriteSettings(server.CommandUrl());
    std::atomic<bool> cancelled{true};
    Outcome outcome = Update(folder_, false, &cancelled);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(ReadAll(client_), old_client_);
}

TEST_F(UpdaterTest, NewClientThatCannotStartIsRolledBack) {
    // Neither an executable format nor a script: the start fails at once.
    const std::string body(64, '\x01');
    ScriptedServer server(Serve(200, body, Sha(body)));
    WriteSettings(server.CommandUrl());
    Outcome outcome = Update(folder_, true);
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_NE(outcome.messages[0].find("已恢复原程序"), std::string::npos) << outcome.messages[0];
    EXPECT_EQ(ReadAll(client_), old_client_);
    EXPECT_EQ(Listing(folder_), "vpsdesk 更新配置.ini ");
}

TEST(CheckDownloadTest, ReadsStatusAndChecksumLikeAnyHttpPeer) {
    DownloadReply reply;
    reply.body = ToBytes("client");
    const std::string sha = Sha("client");
    std::string upper;
    for (char c : sha) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    reply.headers = "HTTP/2 200\r\nx-content-sha256: " + upper + "\r\n\r\n";
    EXPECT_EQ(CheckDownload(reply), "");
    reply.headers = "HTTP/1.1 200 OK\r\nX-Content-SHA256-Old: " + sha + "\r\n\r\n";
    EXPECT_NE(CheckDownload(reply), "");
    reply.headers = "HTTP/1.1 2000 OK\r\nX-Content-SHA256: " + sha + "\r\n\r\n";
    EXPECT_NE(CheckDownload(reply), "");
}

}  // namespace
}  // namespace updatertest
