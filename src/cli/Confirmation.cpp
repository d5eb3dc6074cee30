#include "cli/Confirmation.h"

namespace vpsdesk::cli {

std::optional<CommandResult> Confirm(CommandContext& context, const std::string& question) {
    if (context.line.Has("--yes")) return std::nullopt;
    if (!context.console.IsTerminal())
        return CommandResult::Failed(
            kExitUsage, "vpsctl: this spends money; confirm on a terminal or pass --yes");
    const std::optional<std::string> answer = context.console.ReadLine(question + " [y/N] ", true);
    if (answer && (*answer == "y" || *answer == "Y" || *answer == "yes")) return std::nullopt;
    return CommandResult::Failed(kExitRefused, "vpsctl: cancelled, nothing was spent");
}

}  // namespace vpsdesk::cli
