#pragma once
// The remote-desktop connection to one server, started as a double-click on its row starts
// it, and waited for until the session ends.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

CommandResult RunConnect(CommandContext& context);

}  // namespace vpsdesk::cli
