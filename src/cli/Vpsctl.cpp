#include "cli/Vpsctl.h"

#include "cli/Command.h"
#include "cli/SignIn.h"
#include "cli/TextTable.h"

namespace vpsdesk::cli {
namespace {

constexpr std::string_view kTryHelp = "Try \"vpsctl --help\".";

CommandResult UsageError(const std::string& message, std::string_view hint = kTryHelp) {
    return CommandResult::Failed(kExitUsage, "vpsctl: " + message + "\n" + std::string(hint));
}

}  // namespace

std::string VpsctlUsage() {
    std::string text =
        "usage: vpsctl [--site HOST[:PORT]] [--ca-file PEM] [--account NAME] COMMAND [ARGS]\n\n"
        "Commands:\n";
    TextTable commands({});
    for (const Command& command : CommandTable())
        commands.AddRow({"", std::string(command.name), std::string(command.summary)});
    // Below the empty header line.
    text += commands.Render().substr(1);
    text +=
        "\n"
        "Options:\n"
        "  --site HOST[:PORT]  the platform to use instead of the built-in one\n"
        "  --ca-file PEM       also trust the certificates in PEM (certificates are\n"
        "                      always verified)\n"
        "  --account NAME      sign in as NAME; the password is read from standard input\n"
        "                      or, on a terminal, asked for without echo. Without it the\n"
        "                      account the window client remembered is used.\n"
        "  --help, -h          this text; after a command, that command's help\n"
        "  --version           print the version and end\n"
        "\n"
        "Exit status: 0 done, 1 the platform refused (its message on stderr), 2 usage,\n"
        "3 network or TLS failure.\n";
    return text;
}

CommandResult RunVpsctl(const std::vector<std::string>& args, Console& console) {
    const CommandLine line = ParseCommandLine(args);
    if (!line.error.empty()) return UsageError(line.error);
    if (line.startup.version) return CommandResult::Done("vpsctl " VPSDESK_VERSION "\n");
    if (line.command.empty() || line.command == "help") {
        if (!line.arguments.empty()) {
            const Command* command = FindCommand(line.arguments[0]);
            if (!command) return UsageError("unknown command \"" + line.arguments[0] + "\"");
            return CommandResult::Done(command->Help());
        }
        if (line.startup.help || line.command == "help") return CommandResult::Done(VpsctlUsage());
        return CommandResult::Failed(kExitUsage, VpsctlUsage());
    }
    const Command* command = FindCommand(line.command);
    if (!command) return UsageError("unknown command \"" + line.command + "\"");
    if (line.startup.help) return CommandResult::Done(command->Help());
    if (const std::string misfit = command->Misfit(line); !misfit.empty())
        return UsageError(misfit, "usage: vpsctl " + std::string(command->synopsis));

    CommandContext context{line, console, platform::InstallSiteConstants(line.startup), {}};
    if (command->signs_in) {
        if (std::optional<CommandResult> failure = SignIn(context)) return std::move(*failure);
    }
    return command->run(context);
}

}  // namespace vpsdesk::cli
