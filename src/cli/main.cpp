// vpsctl: the client for the terminal and for scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/StdConsole.h"
#include "cli/Vpsctl.h"
#include "os/ProgramFolder.h"
#include "platform/SettingsFiles.h"
#include "rdpsettings/RemoteDesktopSettings.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // As the window client does: settings kept beside a folder since made read-only.
    constexpr std::string_view kKeptBeside[] = {vpsdesk::rdpsettings::kRdpConfigFileName,
                                                vpsdesk::platform::kUpdateSettingsFileName};
    vpsdesk::os::AdoptFilesLeftBeside(vpsdesk::os::ExecutableFolder(), vpsdesk::os::ProgramFolder(),
                                      kKeptBeside);
    vpsdesk::cli::StdConsole console;
    const vpsdesk::cli::CommandResult result = vpsdesk::cli::RunVpsctl(args, console);
    std::fwrite(result.out.data(), 1, result.out.size(), stdout);
    std::fflush(stdout);
    std::fwrite(result.err.data(), 1, result.err.size(), stderr);
    return result.exit_code;
}
