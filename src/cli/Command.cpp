#include "cli/Command.h"

#include <algorithm>

#include "cli/AccountCommands.h"
#include "cli/CompletionCommand.h"
#include "cli/ConnectCommand.h"
#include "cli/RdpSettingsCommand.h"
#include "cli/ServerCommands.h"
#include "cli/ShopCommands.h"
#include "cli/SystemCommands.h"

namespace vpsdesk::cli {

std::string Command::Help() const {
    std::string text = "usage: vpsctl " + std::string(synopsis) + "\n\n" + std::string(summary) + "\n";
    if (!details.empty()) text += "\n" + std::string(details);
    return text;
}

namespace {

// What an option's value must look like, checked before the sign-in so that a mistyped
// command never touches the account.
std::string ValueMisfit(const std::string& option, const std::string& value) {
    if (option == "--page" && !PositiveNumber(value)) return "--page expects a number from 1";
    if (option == "--period" && value != "day" && value != "month" && value != "year")
        return "--period expects day, month or year";
    return {};
}

}  // namespace

std::string Command::Misfit(const CommandLine& line) const {
    for (const auto& [option, value] : line.options) {
        if (std::find(options.begin(), options.end(), option) == options.end())
            return std::string(name) + " does not take " + option;
        if (std::string misfit = ValueMisfit(option, value); !misfit.empty())
            return std::string(name) + ": " + misfit;
    }
    if (line.Has("--page") && line.Has("--all"))
        return std::string(name) + ": --page and --all exclude each other";
    if (std::find(options.begin(), options.end(), "--period") != options.end() &&
        !line.Has("--period"))
        return std::string(name) + ": --period expects day, month or year";
    if (line.arguments.size() < min_arguments) return std::string(name) + ": missing argument";
    if (line.arguments.size() > max_arguments)
        return std::string(name) + ": unexpected argument \"" + line.arguments[max_arguments] + "\"";
    return {};
}

std::span<const Command> CommandTable() {
    static const std::vector<Command> kTable = {
        {"servers",
         "servers [--page N | --all] [--json]",
         "List the servers of the account.",
         "  --page N   the N-th page of five servers (default 1)\n"
         "  --all      every page\n"
         "  --json     machine-readable output\n",
         {"--page", "--all", "--json"},
         0,
         0,
         RunServers},
        {"connect",
         "connect ID",
         "Open a remote-desktop session to the server ID.",
         "The same launch as a double-click on the server's row, with the same settings\n"
         "(see rdp-settings); it ends when the session does. Exit status 1 when the server\n"
         "is not running or the session failed, with the reason on stderr.\n",
         {},
         1,
         1,
         RunConnect},
        {"restart", "restart ID", "Restart the server ID.", "", {}, 1, 1, RunRestart},
        {"remark", "remark ID TEXT", "Set the remark of the server ID.", "", {}, 2, 2, RunRemark},
        {"refund", "refund ID", "Apply for a refund of the server ID.", "", {}, 1, 1, RunRefund},
        {"renew",
         "renew ID --period day|month|year [--yes]",
         "Extend the server ID by one period, paid from the balance.",
         "This spends money: it asks for confirmation on a terminal. --yes skips the\n"
         "question; without a terminal and without --yes it refuses.\n",
         {"--period", "--yes"},
         1,
         1,
         RunRenew},
        {"reinstall",
         "reinstall ID [--os NAME-or-ID]",
         "Install a fresh operating system on the server ID, wiping it.",
         "Without --os it lists the systems on offer and installs nothing.\n",
         {"--os"},
         1,
         1,
         RunReinstall},
        {"passwd",
         "passwd ID",
         "Set a new administrator password on the server ID.",
         "The new password is read twice: asked for on a terminal without echo, else two\n"
         "lines of standard input.\n",
         {},
         1,
         1,
         RunPasswd},
        {"balance",
         "balance [--json]",
         "Show the account's balance.",
         "",
         {"--json"},
         0,
         0,
         RunBalance},
        {"profile",
         "profile [--json]",
         "Show the account's profile.",
         "",
         {"--json"},
         0,
         0,
         RunProfile},
        {"finance",
         "finance [--page N] [--json]",
         "List one page of the finance records.",
         "",
         {"--page", "--json"},
         0,
         0,
         RunFinance},
        {"notices", "notices", "Show the platform's notices.", "", {}, 0, 0, RunNotices},
        {"catalog",
         "catalog [TYPE [REGION]] [--json]",
         "List the product types, a type's regions, or a region's products.",
         "",
         {"--json"},
         0,
         2,
         RunCatalog},
        {"buy",
         "buy PRODUCT-ID --period day|month|year --os NAME-or-ID [--yes]",
         "Buy a new server, paid from the balance.",
         "This spends money: it asks for confirmation on a terminal. --yes skips the\n"
         "question; without a terminal and without --yes it refuses. Without --os it lists\n"
         "the systems on offer and buys nothing.\n",
         {"--period", "--os", "--yes"},
         1,
         1,
         RunBuy},
        {"redeem",
         "redeem CARD",
         "Top up the balance with the recharge card CARD.",
         "The card password is read from standard input (asked for on a terminal).\n",
         {},
         1,
         1,
         RunRedeem},
        {"rdp-settings",
         "rdp-settings [get | set KEY VALUE] [--json]",
         "Show or change the remote-desktop settings the window client uses.",
         "They live in config.ini beside the client (or in $XDG_DATA_HOME/vpsdesk for an\n"
         "installed one); no sign-in is needed. The table's last column is what a key left\n"
         "empty stands for. A value is one the settings window itself writes (switches 0 or\n"
         "1; a window size such as 1024x768); an empty value forgets the setting.\n",
         {"--json"},
         0,
         3,
         RunRdpSettings,
         false},
        {"completion",
         "completion",
         "Print the bash completion for vpsctl.",
         "Load it with: source <(vpsctl completion)\n",
         {},
         0,
         0,
         RunCompletion,
         false},
    };
    return kTable;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : CommandTable())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace vpsdesk::cli
