#pragma once
// Starting another program and leaving it to run on its own: the remote-desktop client is
// started this way. The interface is the seam that lets tests see what would be started
// (program, arguments, standard input) without starting anything.
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vpsdesk::os {

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
// detached thread when it ends, so it never lingers as a zombie, and nothing waits for it.
std::unique_ptr<ProcessLauncher> SystemProcessLauncher();

// Standard input larger than this is refused: it is written into the pipe before the
// program starts, so the write can never block or meet a program that already ended.
inline constexpr std::size_t kMaxLaunchInput = 4096;

}  // namespace vpsdesk::os
