#pragma once
// A throw-away install folder with the updater's settings file and an old client, and an
// HTTPS server on loopback whose replies each test scripts.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "TlsMaterial.h"

namespace updatertest {

std::string ReadAll(const std::filesystem::path& file);
void WriteAll(const std::filesystem::path& file, const std::string& bytes, unsigned mode = 0644);
// File names in `folder`, sorted, each followed by a space.
std::string Listing(const std::filesystem::path& folder);
// A new empty folder under the temporary folder.
std::filesystem::path MakeTempFolder();

// One CA and server certificate for the whole test process.
const platformd::TlsMaterial& Tls();

class ScriptedServer {
public:
    explicit ScriptedServer(httplib::Server::Handler download);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;
    // The command address the client would write: "https://127.0.0.1:PORT/khd?act=".
    std::string CommandUrl() const;

private:
    httplib::SSLServer server_;
    int port_ = 0;
    std::thread thread_;
};

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The settings file as the client writes it, plus the CA the server's certificate
    // needs (none when `ca_file` is empty).
    void WriteSettings(const std::string& command_url, const std::string& ca_file = Tls().CaPath());

    std::filesystem::path folder_;
    std::filesystem::path client_;
    const std::string old_client_ = "#!/bin/sh\necho old\n";
};

}  // namespace updatertest
