#pragma once
// The commands on the account's servers: the list and the operations on one server.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

CommandResult RunServers(CommandContext& context);
CommandResult RunRestart(CommandContext& context);
CommandResult RunRemark(CommandContext& context);
CommandResult RunRefund(CommandContext& context);
CommandResult RunRenew(CommandContext& context);

}  // namespace vpsdesk::cli
