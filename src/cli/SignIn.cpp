#include "cli/SignIn.h"

#include <variant>

#include "account/LoginApi.h"
#include "account/LoginResult.h"
#include "net/Text.h"
#include "os/DocumentsFolder.h"
#include "os/MachineCode.h"
#include "os/MachineIdentity.h"
#include "platform/PlatformApi.h"
#include "platform/SettingsFiles.h"

namespace vpsdesk::cli {
namespace {

struct Account {
    std::string name;
    std::string password;
    account::LoginMode mode = account::LoginMode::kAuto;
};

// The account the window client remembered: its settings file is named after the
// platform's title, as the client finds it.
std::variant<Account, CommandResult> RememberedAccount(const platform::SiteConstants& site) {
    const platform::PlatformResponse title = platform::FetchCommandReply(site, "biaoti");
    if (title.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const platform::AccountSettingsFile file(os::DocumentsFolder(), title.text);
    const platform::RememberedLogin login = file.LoadRememberedLogin();
    if (!login.remember || login.account.empty())
        return CommandResult::Failed(kExitUsage,
                                     "vpsctl: no account is remembered by the client ("
                                     + file.Path().string() + "); use --account NAME");
    return Account{login.account, login.password, account::LoginMode::kAuto};
}

std::variant<Account, CommandResult> NamedAccount(CommandContext& context) {
    const std::string& name = *context.line.account;
    std::optional<std::string> password =
        context.console.ReadLine("Password for " + name + ": ", false);
    if (!password)
        return CommandResult::Failed(kExitUsage, "vpsctl: no password on standard input");
    return Account{name, std::move(*password), account::LoginMode::kManual};
}

}  // namespace

std::optional<CommandResult> SignIn(CommandContext& context) {
    std::variant<Account, CommandResult> found =
        context.line.account ? NamedAccount(context) : RememberedAccount(context.site);
    if (auto* failure = std::get_if<CommandResult>(&found)) return std::move(*failure);
    Account& account = std::get<Account>(found);

    const std::string machine_code = os::ComputeMachineCode(*os::SystemMachineIdentity());
    const platform::PlatformResponse reply =
        account::SilentReloginReply(context.site, account.name, account.password, machine_code);
    if (reply.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const account::LoginOutcome outcome = account::InterpretLoginReply(reply.text, account.mode);
    if (!outcome.success) {
        // The login page's caption where it has one, else the platform's own text.
        const std::string caption = net::TrimText(outcome.caption);
        return CommandResult::Failed(kExitRefused, caption.empty() ? reply.text : caption);
    }
    context.session.SetCredentials(std::move(account.name), std::move(account.password));
    return std::nullopt;
}

}  // namespace vpsdesk::cli
