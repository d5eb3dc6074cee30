// How vpsctl sorts the words of its command line, and which ones each command takes.
#include <gtest/gtest.h>

#include "cli/Command.h"
#include "cli/CommandLine.h"

namespace vpsdesk::cli {
namespace {

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    std::string command;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> options;
    std::string error;  // a part of the message, empty for none
};

const ParseCase kParseCases[] = {
    {"nothing", {}, "", {}, {}, ""},
    {"command and words", {"remark", "3", "数据库"}, "remark", {"3", "数据库"}, {}, ""},
    {"options before and after", {"--json", "servers", "--page", "2"}, "servers", {},
     {{"--json", ""}, {"--page", "2"}}, ""},
    {"value after equals", {"servers", "--page=3"}, "servers", {}, {{"--page", "3"}}, ""},
    {"site options are the client's", {"--site", "h:1", "balance", "--ca-file=ca.pem"},
     "balance", {}, {}, ""},
    {"double dash ends options", {"remark", "--", "3", "--all"}, "remark", {"3", "--all"}, {},
     ""},
    {"a lone dash is a word", {"remark", "3", "-"}, "remark", {"3", "-"}, {}, ""},
    {"unknown option", {"servers", "--verbose"}, "servers", {}, {}, "unknown option --verbose"},
    {"value missing at the end", {"renew", "3", "--period"}, "renew", {"3"}, {},
     "--period needs a value"},
    {"malformed site", {"--site", "a/b", "balance"}, "balance", {}, {}, "--site"},
    {"empty account", {"--account=", "balance"}, "balance", {}, {}, "--account"},
};

TEST(VpsctlCommandLine, SortsWordsIntoCommandArgumentsAndOptions) {
    for (const ParseCase& c : kParseCases) {
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.command, c.command) << c.name;
        EXPECT_EQ(line.arguments, c.arguments) << c.name;
        if (c.error.empty()) {
            EXPECT_EQ(line.options, c.options) << c.name;
            EXPECT_EQ(line.error, "") << c.name;
        } else {
            EXPECT_NE(line.error.find(c.error), std::string::npos) << c.name << ": " << line.error;
        }
    }
}

TEST(VpsctlCommandLine, SiteAccountAndHelpAreKeptApartFromTheCommand) {
    const CommandLine line =
        ParseCommandLine({"--account", "13900139000", "servers", "--site=127.0.0.1:8443", "-h"});
    EXPECT_EQ(line.account, "13900139000");
    EXPECT_EQ(line.startup.site, "127.0.0.1:8443");
    EXPECT_TRUE(line.startup.help);
    EXPECT_TRUE(line.options.empty());
    EXPECT_TRUE(line.arguments.empty());
}

TEST(VpsctlCommandLine, PageNumbersStartAtOne) {
    EXPECT_EQ(PositiveNumber("1"), 1);
    EXPECT_EQ(PositiveNumber("12"), 12);
    for (const char* bad : {"", "0", "-1", "1x", " 1", "1.5", "99999999999999999999"})
        EXPECT_EQ(PositiveNumber(bad), std::nullopt) << bad;
}

TEST(VpsctlCommandTable, EveryCommandHasItsHelpAndRefusesWhatItDoesNotTake) {
    for (const Command& command : CommandTable()) {
        const std::string name(command.name);
        EXPECT_EQ(FindCommand(name), &command);
        EXPECT_EQ(command.Help().rfind("usage: vpsctl " + name, 0), 0u) << command.Help();
        CommandLine line = ParseCommandLine({name, "--yes", "--all"});
        line.arguments.assign(command.min_arguments, "1");
        if (name != "renew" && name != "servers") {
            EXPECT_NE(command.Misfit(line), "") << name << " takes --yes or --all";
        }
        line = ParseCommandLine({name});
        line.arguments.assign(command.max_arguments + 1, "1");
        EXPECT_NE(command.Misfit(line), "") << name << " takes too many words";
    }
    EXPECT_EQ(FindCommand("ssh"), nullptr);
}

}  // namespace
}  // namespace vpsdesk::cli
