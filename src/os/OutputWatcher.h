#pragma once
// The watching side of a launched program (LaunchRequest::on_output_line, on_end): a pipe
// for its standard output and error, and a thread that reads it line by line, passes it on
// to a file or this process's standard error, then reaps the program and reports its end.
// The thread starts before the program, so a program never writes into a pipe that
// nobody reads.
#include <sys/types.h>

#include <future>
#include <thread>

#include "os/ProcessLauncher.h"

namespace vpsdesk::os {

class OutputWatcher {
  public:
    OutputWatcher() = default;
    ~OutputWatcher();
    OutputWatcher(const OutputWatcher&) = delete;
    OutputWatcher& operator=(const OutputWatcher&) = delete;

    // Makes the pipe, opens the request's output file and starts the thread; 0 or an errno.
    int Start(const LaunchRequest& request);

    // The end the program gets as its standard output and error.
    int write_fd() const { return write_fd_; }

    // After the spawn: the program's id (-1 when it did not start). The parent's write end
    // closes and the thread goes on alone.
    void Release(pid_t pid);

  private:
    int write_fd_ = -1;
    std::promise<pid_t> started_;
    std::thread thread_;
};

}  // namespace vpsdesk::os
