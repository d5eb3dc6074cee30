#pragma once
// Starting another program and leaving it to run on its own: the remote-desktop client is
// started this way. The interface is the seam that lets tests see what would be started
// (program, arguments, standard input) without starting anything.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::os {

// How a watched program ended.
struct ProgramEnd {
    bool exited = false;  // by exit(); otherwise by `signal`
    int exit_code = 0;
    int signal = 0;
    std::chrono::milliseconds running_time{0};  // from its start until its output ended
};

struct LaunchRequest {
    // A name without "/" is looked up in PATH.
    std::string program;
    // argv[1] onwards; each element reaches the program as one argument, unquoted.
    std::vector<std::string> arguments;
    // Bytes the program reads on its standard input, which is then closed. Secrets go
    // here, never into the arguments or the environment, which other users can read.
    std::string standard_input;
    // Standard output and standard error appended to this file (created mode 0600);
    // empty: the program shares this process's output.
    std::filesystem::path output_file;
    // "NAME=value" entries added to this process's environment, replacing variables of
    // the same name. The client passes none; test rigs name a display or a log level.
    std::vector<std::string> environment;
    // Watching the program. When either is set, its standard output and standard error
    // come through a pipe that a thread of the launcher reads: each line goes to
    // on_output_line (without its line break) and on to output_file, or to this process's
    // standard error when there is none. Once the output has ended and the program has
    // been reaped, on_end runs on that same thread, so the two need no lock between them.
    std::function<void(std::string_view line)> on_output_line;
    std::function<void(const ProgramEnd& end)> on_end;
};

enum class LaunchStatus { kStarted, kNotFound, kFailed };

struct LaunchResult {
    LaunchStatus status = LaunchStatus::kFailed;
    pid_t pid = -1;  // when started
    int error = 0;   // errno of the failure
};

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts the program and returns without waiting for it to end.
    virtual LaunchResult Launch(const LaunchRequest& request) = 0;
};

// The real thing: posix_spawn with a pipe on standard input. The child is reaped by a
// detached thread when it ends, so it never lingers as a zombie, and nothing waits for it
// (the watching thread of a watched program is that thread).
std::unique_ptr<ProcessLauncher> SystemProcessLauncher();

// Standard input larger than this is refused: it is written into the pipe before the
// program starts, so the write can never block or meet a program that already ended.
inline constexpr std::size_t kMaxLaunchInput = 4096;

// A watched program's line longer than this reaches on_output_line in pieces of this size.
inline constexpr std::size_t kMaxOutputLine = 16384;

}  // namespace vpsdesk::os
