#pragma once
// The commands on the account itself: balance, profile, finance records and the
// platform's notices.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

CommandResult RunBalance(CommandContext& context);
CommandResult RunProfile(CommandContext& context);
CommandResult RunFinance(CommandContext& context);
CommandResult RunNotices(CommandContext& context);

}  // namespace vpsdesk::cli
