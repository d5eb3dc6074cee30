#include "UpdaterFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "os/ProfileFile.h"
#include "platform/SettingsFiles.h"

namespace updatertest {
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const std::string& bytes, unsigned mode) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    chmod(file.c_str(), mode);
}

std::string Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    std::string text;
    for (const auto& name : names) text += name + " ";
    return text;
}

namespace {
struct TlsFolder {
    fs::path dir = fs::temp_directory_path() / ("updater-tests-tls-" + std::to_string(getpid()));
    platformd::TlsMaterial tls{dir.string()};
    ~TlsFolder() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};
}  // namespace

const platformd::TlsMaterial& Tls() {
    static TlsFolder folder;
    return folder.tls;
}

ScriptedServer::ScriptedServer(httplib::Server::Handler download)
    : server_(Tls().ServerCert(), Tls().ServerKey()) {
    server_.Get("/khd", [download](const httplib::Request& req, httplib::Response& res) {
        if (req.get_param_value("act") == "download") {
            download(req, res);
        } else {
            res.status = 404;
        }
    });
    // One request per connection, so stopping never waits out a kept-alive one.
    server_.set_keep_alive_max_count(1);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
}

ScriptedServer::~ScriptedServer() {
    // stop() only takes effect once the accept loop runs.
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
}

std::string ScriptedServer::CommandUrl() const {
    return "https://127.0.0.1:" + std::to_string(port_) + "/khd?act=";
}

fs::path MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "updater-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

void UpdaterTest::SetUp() {
    folder_ = MakeTempFolder();
    ASSERT_FALSE(folder_.empty());
    client_ = folder_ / "vpsdesk";
    WriteAll(client_, old_client_, 0755);
}

void UpdaterTest::TearDown() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

void UpdaterTest::WriteSettings(const std::string& command_url, const std::string& ca_file) {
    vpsdesk::platform::UpdateSettingsFile settings(folder_);
    ASSERT_TRUE(settings.WriteUpdateAddress(command_url));
    ASSERT_TRUE(vpsdesk::os::WriteProfileString(settings.Path(), "更新", "CA文件", ca_file));
}

}  // namespace updatertest
