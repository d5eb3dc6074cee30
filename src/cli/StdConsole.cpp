#include "cli/StdConsole.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <iterator>

namespace vpsdesk::cli {
namespace {

// The terminal's settings from before echo was turned off, for a signal handler to put
// back: ^C at the password prompt must not leave the shell typing blind.
termios g_saved_terminal{};
volatile sig_atomic_t g_echo_hidden = 0;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void RestoreTerminalAndEnd(int signal_number) {
    if (g_echo_hidden) ::tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_terminal);
    // Ended by the signal itself, so the shell sees what stopped the program.
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

// Turns the terminal's echo off while it lives, and back on at the end or at a signal that
// ends the program.
class HiddenTyping {
  public:
    HiddenTyping() {
        if (::tcgetattr(STDIN_FILENO, &g_saved_terminal) != 0) return;
        struct sigaction restore {};
        restore.sa_handler = RestoreTerminalAndEnd;
        ::sigemptyset(&restore.sa_mask);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &restore, &previous_[i]);
        termios quiet = g_saved_terminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        g_echo_hidden = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        handlers_set_ = true;
    }
    ~HiddenTyping() {
        if (!handlers_set_) return;
        if (g_echo_hidden) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved_terminal);
        g_echo_hidden = 0;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &previous_[i], nullptr);
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

  private:
    struct sigaction previous_[std::size(kEndingSignals)]{};
    bool handlers_set_ = false;
};

}  // namespace

bool StdConsole::IsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::optional<std::string> StdConsole::ReadLine(std::string_view prompt, bool echo) {
    const bool terminal = IsTerminal();
    // Echo goes off before the prompt shows, so nothing typed after it can echo.
    std::optional<HiddenTyping> hidden;
    if (terminal && !echo) hidden.emplace();
    if (terminal) std::cerr << prompt << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace vpsdesk::cli
