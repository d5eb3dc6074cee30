#pragma once
// Processes, folders and the reference platform for the end-to-end tests.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/WebRequest.h"

namespace e2e {

namespace fs = std::filesystem;

// Polls until `done` or a generous limit; the limit only keeps a broken build from
// hanging the suite, it is not what the test asserts.
bool PollFor(const std::function<bool()>& done,
             std::chrono::seconds limit = std::chrono::seconds(120));

std::string ReadAll(const fs::path& file);
void WriteAll(const fs::path& file, const std::string& bytes, fs::perms mode = fs::perms(0644));

// A new empty folder, removed with everything in it at destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& Path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// A child process with its output in files. Killed at destruction if still running.
class Child {
public:
    struct Options {
        std::vector<std::string> argv;
        // Added to this process's environment minus every display, home and client
        // variable, so nothing leaks in from the developer's desktop.
        std::vector<std::string> env;
        fs::path cwd;
        fs::path out;
        fs::path err;
    };
    explicit Child(const Options& options);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // The exit code once it ended by itself (PollFor bounded); nullopt on a signal, a
    // hang or a failed start.
    std::optional<int> WaitExitCode();
    void Signal(int sig);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The program `name` as the shell would find it on PATH, if there is one.
std::optional<fs::path> FindProgram(const std::string& name);

// Headless Chromium, node and the browser scripts with their packages, as the set-up
// installs them.
struct BrowserTools {
    fs::path chromium;
    fs::path node;
    fs::path scripts;
};
// The tools, or nullopt with `missing` saying what is not there and how to get it.
std::optional<BrowserTools> FindBrowserTools(std::string& missing);

struct BrowserRun {
    std::optional<int> code;  // nullopt on a hang or a signal
    std::string output;       // what the script printed, both streams
};
// Runs the script `name` of the browser folder with `args` and the Chromium to drive,
// with its own home under `scratch`.
BrowserRun RunBrowserScript(const BrowserTools& tools, const std::string& name,
                            std::vector<std::string> args, const fs::path& scratch);

// A free loopback port with nothing listening on it.
int ClosedLoopbackPort();

// The installed programs' folder when the run checks an installed package
// (VPSDESK_INSTALLED_BIN, e.g. /usr/bin), else nullopt.
std::optional<fs::path> InstalledPrograms();

// platformd on a free loopback port with its own CA and test control: the installed one
// when the run checks a package, else the built one. Its database and certificates live
// in `folder`, so a stopped platform comes back with the same data.
class Platform {
public:
    explicit Platform(const fs::path& folder, std::vector<std::string> extra_args = {});
    ~Platform();

    // An orderly stop (SIGTERM); true once the process has ended with success.
    bool Stop();
    // Starts it again on the same port, with the same folder and arguments.
    void Restart();

    int Port() const { return port_; }
    pid_t Pid() const { return child_->Pid(); }
    const std::string& Ca() const { return ca_; }
    std::string Site() const { return "127.0.0.1:" + std::to_string(port_); }

    // A test-control request; returns the reply text.
    std::string Control(const std::string& path_and_query, const std::string& body = {},
                        bool post = true);
    // GET of a command, reply as text.
    std::string Command(const std::string& name);
    // The next reply to `path` (its query, if any, %-encoded) sends its status line, its
    // headers and the first half of `body`, then nothing until the platform stops.
    void StallNextReply(const std::string& path, const std::string& body);

private:
    void Launch(int port);

    fs::path folder_;
    std::vector<std::string> extra_args_;
    std::unique_ptr<Child> child_;
    int port_ = 0;
    std::string ca_;
};

// While it lives, this process's requests give up after a second without a byte.
class ShortStallLimit {
public:
    ShortStallLimit();
    ~ShortStallLimit();
    ShortStallLimit(const ShortStallLimit&) = delete;
    ShortStallLimit& operator=(const ShortStallLimit&) = delete;

private:
    vpsdesk::net::RequestLimits saved_;
};

// What the client wrote to its event log.
std::string EventLog(const fs::path& file);

}  // namespace e2e
