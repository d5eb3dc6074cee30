#pragma once
// vpsctl as a function: the words of the command line in, the exit status and the texts
// for both streams out. main() only prints them.
#include <string>
#include <vector>

#include "cli/CommandResult.h"
#include "cli/Console.h"

namespace vpsdesk::cli {

// What "vpsctl --help" prints: the commands, the global options and the exit statuses.
std::string VpsctlUsage();

// Runs one invocation: one sign-in, then the command. `args` excludes the program name.
CommandResult RunVpsctl(const std::vector<std::string>& args, Console& console);

}  // namespace vpsdesk::cli
