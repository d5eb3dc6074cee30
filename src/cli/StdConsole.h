#pragma once
// The process's own standard input, and its terminal when it has one.
#include "cli/Console.h"

namespace vpsdesk::cli {

class StdConsole : public Console {
  public:
    bool IsTerminal() override;
    // On a terminal the prompt goes to stderr and, without echo, the typing is hidden
    // until the line ends.
    std::optional<std::string> ReadLine(std::string_view prompt, bool echo) override;
};

}  // namespace vpsdesk::cli
