#pragma once
// The commands that change what runs on a server: a new operating system and a new
// administrator password.
#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// Without --os, or with one the platform does not offer, it lists the systems on offer
// and installs nothing: a reinstall wipes the server, so it is never a guess.
CommandResult RunReinstall(CommandContext& context);
// The new password twice, from the console.
CommandResult RunPasswd(CommandContext& context);

}  // namespace vpsdesk::cli
