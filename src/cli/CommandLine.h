#pragma once
// The words of a vpsctl invocation, sorted: the client's site options, the sign-in
// account, the command and its arguments and options.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/SiteConstants.h"

namespace vpsdesk::cli {

struct CommandLine {
    platform::StartupOptions startup;      // --site, --ca-file, --help, --version
    std::optional<std::string> account;    // --account NAME
    std::string command;                   // empty: none given
    std::vector<std::string> arguments;    // the command's positional words
    std::map<std::string, std::string> options;  // "--page" -> "2"; flags map to ""
    std::string error;                     // a malformed command line

    bool Has(const std::string& option) const { return options.count(option) > 0; }
    std::string Value(const std::string& option) const;
};

// Reads `args` (without the program name). Options may stand before or after the
// command; "--" ends them, so an argument may begin with "-".
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The options that take a value, the client's site options included.
const std::vector<std::string>& ValueOptions();

// A whole number from 1 up, or nullopt.
std::optional<long long> PositiveNumber(const std::string& text);

}  // namespace vpsdesk::cli
