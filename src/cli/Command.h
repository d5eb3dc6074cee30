#pragma once
// One entry of vpsctl's command table: its name, its help, the words and options it
// takes, and the function that runs it.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

struct Command {
    std::string_view name;
    std::string_view synopsis;  // the usage line after "vpsctl "
    std::string_view summary;   // one line for the command list
    std::string_view details;   // more lines for the command's --help; may be empty
    std::vector<std::string_view> options;  // the options it accepts besides the global ones
    std::size_t min_arguments = 0;
    std::size_t max_arguments = 0;
    CommandResult (*run)(CommandContext&) = nullptr;
    bool signs_in = true;  // false for the commands that only touch local files

    // "usage: vpsctl SYNOPSIS", the summary and the details.
    std::string Help() const;
    // Why `line` does not fit this command (an option it does not take, a malformed
    // value, a word too many or too few); empty when it does. A command whose options
    // include --period needs it.
    std::string Misfit(const CommandLine& line) const;
};

// Every command, in the order the help lists them.
std::span<const Command> CommandTable();
const Command* FindCommand(std::string_view name);

}  // namespace vpsdesk::cli
