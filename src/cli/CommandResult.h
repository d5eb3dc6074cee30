#pragma once
// What one vpsctl invocation ends with: its exit status and the texts for its two streams.
// Commands return it instead of printing, so tests run them in-process.
#include <string>
#include <string_view>

namespace vpsdesk::cli {

enum ExitStatus : int {
    kExitDone = 0,
    kExitRefused = 1,  // the platform refused; its message is on stderr
    kExitUsage = 2,
    kExitNetwork = 3,  // no answer: network or TLS failure
};

struct CommandResult {
    int exit_code = kExitDone;
    std::string out;
    std::string err;

    static CommandResult Done(std::string out) { return {kExitDone, std::move(out), {}}; }
    static CommandResult Failed(int code, std::string_view message) {
        return {code, {}, std::string(message) + "\n"};
    }
};

// The text a refused network request reports when the platform never answered.
inline constexpr std::string_view kNoAnswerText = "网络连接失败，请检查网络后重试";

}  // namespace vpsdesk::cli
