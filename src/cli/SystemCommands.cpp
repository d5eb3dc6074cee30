#include "cli/SystemCommands.h"

#include "cli/OperationResult.h"
#include "cli/TextTable.h"
#include "servers/OperationRequests.h"
#include "servers/OsChoice.h"

namespace vpsdesk::cli {
namespace {

CommandResult OfferedSystems(const servers::OsChoice& choice, const std::string& why) {
    return {kExitUsage,
            {},
            "reinstall: " + why + "; the systems on offer:\n" +
                SystemsTable(choice.Ids(), choice.Names())};
}

}  // namespace

CommandResult RunReinstall(CommandContext& context) {
    const std::string& id = context.line.arguments[0];
    const auto list = platform::SendPlatformRequest(servers::OsListRequest(id), context.site.BaseUrl());
    if (list.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    servers::OsChoice choice = servers::OsChoice::FromReply(list.text);
    if (choice.Names().empty()) return OperationResult(servers::InstallWithoutOsOutcome());
    if (!context.line.Has("--os")) return OfferedSystems(choice, "choose a system with --os");

    const std::string wanted = context.line.Value("--os");
    const auto& names = choice.Names();
    const auto& ids = choice.Ids();
    std::size_t index = 0;
    while (index < names.size() && names[index] != wanted && ids[index] != wanted) ++index;
    if (index == names.size()) return OfferedSystems(choice, "no system \"" + wanted + "\"");
    choice.Choose(index);

    const auto reply = platform::SendPlatformRequest(servers::InstallRequest(choice.ChosenId(), id),
                                                     context.site.BaseUrl());
    return OperationResult(servers::InstallOutcome(reply.text), reply);
}

CommandResult RunPasswd(CommandContext& context) {
    const std::optional<std::string> password = context.console.ReadLine("New password: ", false);
    const std::optional<std::string> repeat =
        password ? context.console.ReadLine("Repeat the new password: ", false) : std::nullopt;
    if (!repeat) return CommandResult::Failed(kExitUsage, "passwd: the new password is read twice from standard input");
    if (!servers::PasswordsMatch(*password, *repeat))
        return OperationResult(servers::PasswordMismatchOutcome());
    const auto reply = platform::SendPlatformRequest(
        servers::PasswordRequest(*password, context.line.arguments[0]), context.site.BaseUrl());
    return OperationResult(servers::PasswordOutcome(reply.text), reply);
}

}  // namespace vpsdesk::cli
