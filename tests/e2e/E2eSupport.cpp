#include "E2eSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "net/Gbk.h"
#include "net/WebRequest.h"

extern char** environ;

namespace e2e {
namespace {

constexpr const char* kControlToken = "e2e-token";

// Variables the child must not inherit: it gets its own display, home and hooks.
bool Scrubbed(std::string_view entry) {
    for (std::string_view prefix : {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "HOME=",
                                    "XDG_", "VPSDESK_"})
        if (entry.substr(0, prefix.size()) == prefix) return true;
    return false;
}

}  // namespace

bool PollFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const fs::path& file, const std::string& bytes, fs::perms mode) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    fs::permissions(file, mode);
}

TempFolder::TempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vpsdesk-e2e-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Child::Child(const Options& options) {
    auto overridden = [&](std::string_view entry) {
        for (const std::string& own : options.env)
            if (entry.substr(0, own.find('=') + 1) == own.substr(0, own.find('=') + 1)) return true;
        return false;
    };
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry)
        if (!Scrubbed(*entry) && !overridden(*entry)) env.emplace_back(*entry);
    env.insert(env.end(), options.env.begin(), options.env.end());
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = options.argv;
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, options.err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

Child::~Child() {
    if (Running()) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

bool Child::Running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        return false;
    }
    return true;
}

std::optional<int> Child::WaitExitCode() {
    PollFor([this] { return !Running(); });
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
}

void Child::Signal(int sig) {
    if (Running()) kill(pid_, sig);
}

std::optional<fs::path> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (folder.empty()) continue;
        const fs::path candidate = fs::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

std::optional<BrowserTools> FindBrowserTools(std::string& missing) {
    BrowserTools tools;
    tools.scripts = E2E_BROWSER_DIR;
    std::optional<fs::path> chromium = FindProgram("chromium");
    if (!chromium) chromium = FindProgram("chromium-browser");
    const std::optional<fs::path> node = FindProgram("node");
    if (!chromium) {
        missing = "no chromium on PATH: scripts/setup.sh installs it";
        return std::nullopt;
    }
    if (!node) {
        missing = "no node on PATH: scripts/setup.sh installs it";
        return std::nullopt;
    }
    if (!fs::exists(tools.scripts / "node_modules" / "puppeteer-core" / "package.json")) {
        missing = "puppeteer-core is not installed: run npm ci in " + tools.scripts.string();
        return std::nullopt;
    }
    tools.chromium = *chromium;
    tools.node = *node;
    return tools;
}

BrowserRun RunBrowserScript(const BrowserTools& tools, const std::string& name,
                            std::vector<std::string> args, const fs::path& scratch) {
    Child::Options options;
    options.argv = {tools.node.string(), (tools.scripts / name).string()};
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    options.argv.insert(options.argv.end(), {"--chromium", tools.chromium.string()});
    fs::create_directories(scratch / "home");
    options.env = {"HOME=" + (scratch / "home").string()};
    options.cwd = tools.scripts;
    options.out = scratch / (name + ".out");
    options.err = scratch / (name + ".err");
    BrowserRun run;
    {
        Child browser(options);
        run.code = browser.WaitExitCode();
    }
    run.output = ReadAll(options.out) + ReadAll(options.err);
    return run;
}

int ClosedLoopbackPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

std::optional<fs::path> InstalledPrograms() {
    const char* folder = std::getenv("VPSDESK_INSTALLED_BIN");
    if (!folder || !*folder) return std::nullopt;
    return fs::path(folder);
}

Platform::Platform(const fs::path& folder, std::vector<std::string> extra_args)
    : folder_(folder), extra_args_(std::move(extra_args)) {
    fs::create_directories(folder_);
    Launch(0);
}

void Platform::Launch(int port) {
    Child::Options options;
    const std::optional<fs::path> installed = InstalledPrograms();
    const std::string program = installed ? (*installed / "platformd").string() : PLATFORMD_BIN;
    options.argv = {program, "--port", std::to_string(port), "--tls-dir",
                    (folder_ / "tls").string(), "--db", (folder_ / "platform.db").string(),
                    "--control-token", kControlToken, "--threads", "8"};
    options.argv.insert(options.argv.end(), extra_args_.begin(), extra_args_.end());
    options.out = folder_ / "platformd.out";
    options.err = folder_ / "platformd.err";
    child_ = std::make_unique<Child>(options);
    // "url ..." is the last line it prints once it serves.
    if (!PollFor([&] { return ReadAll(options.out).find("url ") != std::string::npos || !child_->Running(); }))
        throw std::runtime_error("platformd did not start");
    std::istringstream lines(ReadAll(options.out));
    port_ = 0;
    ca_.clear();
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("port ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
        if (line.rfind("ca ", 0) == 0) ca_ = line.substr(3);
    }
    if (port_ == 0 || ca_.empty()) throw std::runtime_error("platformd: " + ReadAll(options.err));
    vpsdesk::net::SetTlsSettings({ca_, true});
}

Platform::~Platform() {
    // A reply held back by a test script would keep an orderly stop waiting.
    child_->Signal(SIGKILL);
}

bool Platform::Stop() {
    child_->Signal(SIGTERM);
    return child_->WaitExitCode() == 0;
}

void Platform::Restart() {
    const int port = port_;
    child_.reset();
    Launch(port);
}

std::string Platform::Control(const std::string& path_and_query, const std::string& body, bool post) {
    vpsdesk::net::WebRequestOptions options;
    options.verb = post ? vpsdesk::net::HttpVerb::Post : vpsdesk::net::HttpVerb::Get;
    if (post) options.body = body;
    options.headers = std::string("X-Control-Token: ") + kControlToken;
    options.cookies_in = "";
    return vpsdesk::net::ReplyText(
        vpsdesk::net::WebRequest("https://" + Site() + "/__control/" + path_and_query, options)
            .body);
}

std::string Platform::Command(const std::string& name) {
    vpsdesk::net::WebRequestOptions options;
    options.cookies_in = "";
    return vpsdesk::net::ReplyText(
        vpsdesk::net::WebRequest("https://" + Site() + "/khd?act=" + name, options).body);
}

void Platform::StallNextReply(const std::string& path, const std::string& body) {
    Control("script?path=" + path + "&stall_after=" + std::to_string(body.size() / 2), body);
}

ShortStallLimit::ShortStallLimit() : saved_(vpsdesk::net::CurrentRequestLimits()) {
    vpsdesk::net::RequestLimits limits = saved_;
    limits.stall = std::chrono::seconds(1);
    vpsdesk::net::SetRequestLimits(limits);
}

ShortStallLimit::~ShortStallLimit() { vpsdesk::net::SetRequestLimits(saved_); }

std::string EventLog(const fs::path& file) { return ReadAll(file); }

}  // namespace e2e
