#pragma once
// Where vpsctl asks its questions: a terminal when there is one, else standard input.
// Tests hand in scripted answers.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::cli {

class Console {
  public:
    virtual ~Console() = default;
    // Standard input is a terminal, so a question can be asked and answered.
    virtual bool IsTerminal() = 0;
    // One line without its line end; on a terminal after `prompt`, with the typing shown
    // when `echo`. Nullopt at the end of the input.
    virtual std::optional<std::string> ReadLine(std::string_view prompt, bool echo) = 0;
};

}  // namespace vpsdesk::cli
