#include "cli/StdConsole.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace vpsdesk::cli {
namespace {

// Turns the terminal's echo off while it lives, and back on at the end.
class HiddenTyping {
  public:
    HiddenTyping() {
        if (::tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~HiddenTyping() {
        if (active_) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

bool StdConsole::IsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::optional<std::string> StdConsole::ReadLine(std::string_view prompt, bool echo) {
    const bool terminal = IsTerminal();
    if (terminal) {
        std::cerr << prompt << std::flush;
    }
    std::optional<HiddenTyping> hidden;
    if (terminal && !echo) hidden.emplace();
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace vpsdesk::cli
