#pragma once
// The bash completion, written from the command table so it never falls behind it.
#include <string>

#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// A bash script defining the completion function and registering it for "vpsctl".
std::string BashCompletion();

CommandResult RunCompletion(CommandContext& context);

}  // namespace vpsdesk::cli
