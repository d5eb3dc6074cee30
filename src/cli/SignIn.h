#pragma once
// The one sign-in of a vpsctl process: the account the window client remembered, or the
// one named by --account with its password from the console (never from an argument).
#include <optional>

#include "cli/CommandContext.h"
#include "cli/CommandResult.h"

namespace vpsdesk::cli {

// Signs in silently, without a captcha, and keeps the credentials in `context.session`.
// Nullopt when signed in; otherwise what the invocation ends with.
std::optional<CommandResult> SignIn(CommandContext& context);

}  // namespace vpsdesk::cli
