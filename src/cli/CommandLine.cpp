#include "cli/CommandLine.h"

#include <charconv>
#include <set>

namespace vpsdesk::cli {
namespace {

// Options that take a value, as "--name VALUE" or "--name=VALUE".
const std::set<std::string> kValueOptions = {"--account", "--page", "--period", "--os"};
const std::set<std::string> kFlags = {"--json", "--all", "--yes"};
// Read by the client's own option parser.
const std::set<std::string> kSiteOptions = {"--site", "--ca-file"};
const std::set<std::string> kSiteFlags = {"--help", "-h", "--version"};

}  // namespace

const std::vector<std::string>& ValueOptions() {
    static const std::vector<std::string> kAll = [] {
        std::vector<std::string> all(kSiteOptions.begin(), kSiteOptions.end());
        all.insert(all.end(), kValueOptions.begin(), kValueOptions.end());
        return all;
    }();
    return kAll;
}

std::string CommandLine::Value(const std::string& option) const {
    const auto found = options.find(option);
    return found == options.end() ? std::string() : found->second;
}

std::optional<long long> PositiveNumber(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end || value < 1) return std::nullopt;
    return value;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string> site_words;
    bool options_ended = false;
    auto fail = [&line](std::string message) {
        if (line.error.empty()) line.error = std::move(message);
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (options_ended || word == "-" || word.empty() || word[0] != '-') {
            if (line.command.empty() && !options_ended) line.command = word;
            else line.arguments.push_back(word);
            continue;
        }
        if (word == "--") {
            options_ended = true;
            if (line.command.empty() && i + 1 < args.size()) line.command = args[++i];
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (kSiteFlags.count(word)) {
            site_words.push_back(word);
        } else if (kSiteOptions.count(name)) {
            site_words.push_back(word);
            if (equals == std::string::npos && i + 1 < args.size()) site_words.push_back(args[++i]);
        } else if (kFlags.count(word)) {
            line.options[word] = "";
        } else if (kValueOptions.count(name)) {
            std::string value;
            if (equals != std::string::npos) value = word.substr(equals + 1);
            else if (i + 1 < args.size()) value = args[++i];
            else fail(name + " needs a value");
            if (name == "--account") line.account = value;
            else line.options[name] = value;
        } else {
            fail("unknown option " + word);
        }
    }
    line.startup = platform::ParseStartupOptions(site_words);
    fail(line.startup.error);
    if (line.account && line.account->empty()) fail("--account needs a name");
    return line;
}

}  // namespace vpsdesk::cli
