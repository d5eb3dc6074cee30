#pragma once
// The question before a command spends money.
#include <optional>
#include <string>

#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// Nullopt when the money may be spent: --yes was given, or a terminal answered yes to
// `question`. Without a terminal and without --yes the command is refused as misused.
std::optional<CommandResult> Confirm(CommandContext& context, const std::string& question);

}  // namespace vpsdesk::cli
