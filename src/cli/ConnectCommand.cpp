#include "cli/ConnectCommand.h"

#include <future>
#include <variant>
#include <memory>
#include <thread>

#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "servers/RemoteDesktopStart.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"

namespace vpsdesk::cli {
namespace {

using servers::ServerRow;
namespace column = servers::column;

// The row of server `id`, looked for page by page; a result to end with when there is none.
std::variant<ServerRow, CommandResult> FindServer(const CommandContext& context,
                                                  const std::string& id) {
    for (long long number = 1;; ++number) {
        const std::string reply = servers::FetchServerPage(context.site, number);
        const servers::ServerPage page = servers::ParseServerPage(reply);
        if (!page.readable)
            return reply.empty() ? CommandResult::Failed(kExitNetwork, kNoAnswerText)
                                 : CommandResult::Failed(kExitRefused, reply);
        for (const ServerRow& row : page.rows)
            if (row[column::kId] == id) return row;
        if (number >= page.page_count || page.rows.empty()) break;
    }
    return CommandResult::Failed(kExitRefused, "connect: the account has no server " + id);
}

}  // namespace

CommandResult RunConnect(CommandContext& context) {
    const std::string& id = context.line.arguments[0];
    std::variant<ServerRow, CommandResult> found = FindServer(context, id);
    if (auto* failure = std::get_if<CommandResult>(&found)) return std::move(*failure);
    const ServerRow& row = std::get<ServerRow>(found);

    const std::optional<servers::ConnectionPlan> plan = servers::PlanConnection(row);
    if (!plan)
        return CommandResult::Failed(kExitRefused, "connect: server " + id + " is not running (" +
                                                       row[column::kStatus] + ")");
    std::string notes;
    if (plan->graphics_card_warning) notes = std::string(servers::kGraphicsCardWarning) + "\n";
    if (!plan->target)
        return {kExitRefused, {}, notes + "connect: server " + id + " has no usable address \"" +
                                      row[column::kAddress] + "\"\n"};

    // The home of the connection files, which the window client makes at start-up.
    const std::filesystem::path program_folder = os::ProgramFolder();
    std::error_code error;
    if (!program_folder.empty()) std::filesystem::create_directories(program_folder / "History", error);

    const std::unique_ptr<os::ProcessLauncher> launcher = os::SystemProcessLauncher();
    const std::unique_ptr<os::DataProtection> protection = os::UserDataProtection();
    const servers::RdpStartServices services{
        *launcher, *protection, servers::ProbeRdpLocalDevices,
        [] { std::this_thread::sleep_for(servers::kRdpStartWait); }};
    // Set on the launcher's watching thread when the session has ended.
    auto ended = std::make_shared<std::promise<std::optional<std::string>>>();
    std::future<std::optional<std::string>> session = ended->get_future();
    servers::LoginSwitchMemory switch_memory;
    const servers::RdpStart started = servers::StartRemoteDesktop(
        program_folder, *plan->target, plan->password,
        rdpsettings::ReadRemoteDesktopSettings(), switch_memory, services,
        [ended](const os::ProgramEnd&, const std::optional<std::string>& failure) {
            ended->set_value(failure);
        });
    if (started.status != servers::RdpStartStatus::kStarted)
        return {kExitRefused, {}, notes + started.message + "\n"};
    if (const std::optional<std::string> failure = session.get())
        return {kExitRefused, {}, notes + *failure + "\n"};
    return {kExitDone, {}, notes};
}

}  // namespace vpsdesk::cli
