#include "os/OutputWatcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "os/FileBytes.h"

namespace vpsdesk::os {
namespace {

ProgramEnd Reap(pid_t pid, std::chrono::steady_clock::time_point began) {
    int status = 0;
    pid_t reaped = -1;
    while ((reaped = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    ProgramEnd end;
    end.running_time = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - began);
    if (reaped == pid && WIFEXITED(status)) {
        end.exited = true;
        end.exit_code = WEXITSTATUS(status);
    } else if (reaped == pid && WIFSIGNALED(status)) {
        end.signal = WTERMSIG(status);
    }
    return end;
}

// What the thread owns: the read end, the forward target and the request's callbacks.
struct Watch {
    int read_fd = -1;
    int forward_fd = STDERR_FILENO;
    bool owns_forward = false;
    std::function<void(std::string_view)> on_line;
    std::function<void(const ProgramEnd&)> on_end;

    void Line(std::string_view line) const {
        if (on_line) on_line(line);
    }

    void Run(std::future<pid_t> started, std::chrono::steady_clock::time_point began) const {
        // A forward into a closed pipe must fail here rather than end the whole client.
        sigset_t pipe_signal;
        sigemptyset(&pipe_signal);
        sigaddset(&pipe_signal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
        const pid_t pid = started.get();
        std::string pending;
        char buffer[4096];
        for (;;) {
            const ssize_t n = read(read_fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            WriteAll(forward_fd, std::string_view(buffer, static_cast<size_t>(n)));
            pending.append(buffer, static_cast<size_t>(n));
            size_t end = 0;
            while ((end = pending.find('\n')) != std::string::npos) {
                Line(std::string_view(pending).substr(0, end));
                pending.erase(0, end + 1);
            }
            while (pending.size() >= kMaxOutputLine) {
                Line(std::string_view(pending).substr(0, kMaxOutputLine));
                pending.erase(0, kMaxOutputLine);
            }
        }
        if (!pending.empty()) Line(pending);
        close(read_fd);
        if (owns_forward) close(forward_fd);
        if (pid <= 0) return;
        const ProgramEnd end = Reap(pid, began);
        if (on_end) on_end(end);
    }
};

}  // namespace

OutputWatcher::~OutputWatcher() {
    if (write_fd_ >= 0) close(write_fd_);
    if (thread_.joinable()) {
        started_.set_value(-1);
        thread_.detach();
    }
}

int OutputWatcher::Start(const LaunchRequest& request) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return errno;
    Watch watch{fds[0], STDERR_FILENO, false, request.on_output_line, request.on_end};
    write_fd_ = fds[1];
    if (!request.output_file.empty()) {
        watch.forward_fd =
            open(request.output_file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (watch.forward_fd < 0) {
            const int error = errno;
            close(fds[0]);
            return error;
        }
        watch.owns_forward = true;
    }
    try {
        thread_ = std::thread([watch, started = started_.get_future(),
                               began = std::chrono::steady_clock::now()]() mutable {
            watch.Run(std::move(started), began);
        });
    } catch (const std::system_error& e) {
        close(watch.read_fd);
        if (watch.owns_forward) close(watch.forward_fd);
        return e.code().value();
    }
    return 0;
}

void OutputWatcher::Release(pid_t pid) {
    close(write_fd_);
    write_fd_ = -1;
    started_.set_value(pid);
    thread_.detach();
}

}  // namespace vpsdesk::os
