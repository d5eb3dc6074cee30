#pragma once
// What a command works with: its command line, the console for questions, the platform
// and this process's one sign-in (kept in memory only).
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::cli {

struct CommandContext {
    const CommandLine& line;
    Console& console;
    platform::SiteConstants site;
    platform::SessionState session;
};

}  // namespace vpsdesk::cli
