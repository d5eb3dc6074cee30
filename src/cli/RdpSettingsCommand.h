#pragma once
// The remote-desktop settings of the window client, read and written in the same file.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// "get" (or nothing): every key and its value. "set KEY VALUE": one key changed, the others
// kept as they stand.
CommandResult RunRdpSettings(CommandContext& context);

}  // namespace vpsdesk::cli
