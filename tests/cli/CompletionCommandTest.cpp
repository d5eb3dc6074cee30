// The bash completion vpsctl prints, run by bash itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "ScriptedConsole.h"
#include "cli/CompletionCommand.h"
#include "cli/Vpsctl.h"

namespace vpsdesk::cli::test {
namespace {

// What bash offers for the words of `line` (the last one being completed).
std::string Complete(const std::string& script_file, const std::string& line) {
    const std::string command = "bash --norc -c 'source " + script_file +
                                "; COMP_WORDS=(" + line + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));"
                                " [[ \"" + line + "\" == *\" \" ]] && COMP_WORDS+=(\"\") && ((COMP_CWORD++));"
                                " _vpsctl; echo \"${COMPREPLY[*]}\"'";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        ::pclose(pipe);
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

TEST(VpsctlCompletion, BashCompletesCommandsOptionsAndValues) {
    ScriptedConsole console;
    const CommandResult printed = RunVpsctl({"completion"}, console);
    ASSERT_EQ(printed.exit_code, kExitDone);
    EXPECT_EQ(printed.out, BashCompletion());
    EXPECT_TRUE(console.asked.empty());

    const std::string file = ::testing::TempDir() + "vpsctl-completion.bash";
    std::ofstream(file) << printed.out;
    const struct {
        const char* line;
        const char* offered;
    } cases[] = {
        {"vpsctl se", "servers"},
        {"vpsctl re", "restart remark refund renew reinstall redeem"},
        {"vpsctl --account demo fin", "finance"},
        {"vpsctl servers --", "--help --page --all --json"},
        {"vpsctl renew 3 --period ", "day month year"},
        {"vpsctl renew 3 --period m", "month"},
        {"vpsctl --site ", ""},
        {"vpsctl rdp-settings s", "set"},
        {"vpsctl --", "--site --ca-file --account --help --version"},
    };
    for (const auto& c : cases) EXPECT_EQ(Complete(file, c.line), c.offered) << c.line;
    std::remove(file.c_str());
}

}  // namespace
}  // namespace vpsdesk::cli::test
