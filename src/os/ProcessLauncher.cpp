#include "os/ProcessLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "os/FileBytes.h"
#include "os/OutputWatcher.h"

extern char** environ;

namespace vpsdesk::os {
namespace {

class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // The child gets the pipe as standard input, the watching pipe or else optionally the
    // output file as standard output and error, a clean signal state and a session of its
    // own, so that signals meant for this process (Ctrl+C in its terminal, the end of its
    // process group) leave the session running.
    int Prepare(int input_fd, int output_fd, const std::filesystem::path& output_file) {
        int rc = posix_spawn_file_actions_adddup2(&actions_, input_fd, STDIN_FILENO);
        if (rc == 0 && output_fd >= 0) {
            rc = posix_spawn_file_actions_adddup2(&actions_, output_fd, STDOUT_FILENO);
            if (rc == 0) rc = posix_spawn_file_actions_adddup2(&actions_, output_fd, STDERR_FILENO);
        } else if (rc == 0 && !output_file.empty()) {
            rc = posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, output_file.c_str(),
                                                  O_WRONLY | O_CREAT | O_APPEND, 0600);
            if (rc == 0)
                rc = posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO);
        }
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD, SIGUSR1, SIGUSR2})
            sigaddset(&defaults, sig);
        if (rc == 0) rc = posix_spawnattr_setsigmask(&attributes_, &none);
        if (rc == 0) rc = posix_spawnattr_setsigdefault(&attributes_, &defaults);
        if (rc == 0)
            rc = posix_spawnattr_setflags(
                &attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
        return rc;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// This process's environment with `extra` added, an entry of `extra` replacing the
// inherited variable of the same name.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view inherited(*entry);
        const std::string_view name = inherited.substr(0, inherited.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : extra) replaced = replaced || own.starts_with(name);
        if (!replaced) env.emplace_back(inherited);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

// Collects the child's exit status when it ends, so that no zombie stays behind.
void ReapLater(pid_t pid) {
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is reaped when this process ends.
    }
}

class SystemLauncher : public ProcessLauncher {
  public:
    LaunchResult Launch(const LaunchRequest& request) override {
        LaunchResult result;
        if (request.program.empty() || request.standard_input.size() > kMaxLaunchInput) {
            result.error = EINVAL;
            return result;
        }
        const bool watched = request.on_output_line || request.on_end;
        OutputWatcher watcher;
        if (watched) {
            if (const int error = watcher.Start(request); error != 0) {
                result.error = error;
                return result;
            }
        }
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            result.error = errno;
            return result;
        }
        // The whole input fits the pipe's buffer, so it is in place before the child runs.
        const bool written = WriteAll(fds[1], request.standard_input);
        close(fds[1]);
        if (!written) {
            result.error = errno;
            close(fds[0]);
            return result;
        }

        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(request.program.c_str()));
        for (const std::string& argument : request.arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<std::string> env = ChildEnvironment(request.environment);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);

        SpawnSetup setup;
        int rc = setup.Prepare(fds[0], watched ? watcher.write_fd() : -1, request.output_file);
        pid_t pid = -1;
        if (rc == 0) {
            rc = request.program.find('/') == std::string::npos
                     ? posix_spawnp(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(),
                                    envp.data())
                     : posix_spawn(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(),
                                   envp.data());
        }
        close(fds[0]);
        if (watched) watcher.Release(rc == 0 ? pid : -1);
        if (rc != 0) {
            result.error = rc;
            result.status = rc == ENOENT ? LaunchStatus::kNotFound : LaunchStatus::kFailed;
            return result;
        }
        if (!watched) ReapLater(pid);
        result.status = LaunchStatus::kStarted;
        result.pid = pid;
        return result;
    }
};

}  // namespace

std::unique_ptr<ProcessLauncher> SystemProcessLauncher() {
    return std::make_unique<SystemLauncher>();
}

}  // namespace vpsdesk::os
