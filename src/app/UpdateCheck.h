#pragma once
// The start-up version check and the hand-over to the updater program.
#include <sys/types.h>

#include <filesystem>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::app {

enum class VersionDecision {
    kContinue,        // the platform's version is ours
    kNetworkFailure,  // no "ver" reply: end the process with the message
    kUpdateDue,       // another version: show the message, start the updater, end
};

inline constexpr std::string_view kNetworkFailureMessage = "网络初始化失败，请检查网络";
inline constexpr std::string_view kUpdateDueMessage = "有新版本更新";
inline constexpr std::string_view kUpdaterFileName = "update";
// The line under kUpdateDueMessage for a client the package manager installed: it cannot
// replace itself, so it goes on starting and the customer updates it as he installed it.
inline constexpr std::string_view kPackageUpdateHint =
    "请使用系统的软件包管理器更新本程序（例如 sudo apt upgrade），本次仍以当前版本启动。";

// `version_status` is the HTTP status of the reply to command "ver" (0 when none came) and
// `version_reply` its text. Only a 200 reply with text counts: a proxy's or the platform's
// error page, or a transfer that broke off (which leaves no text), is no reply, so it can
// never pass for a new version. "Ver " + a 200 reply must equal the local label byte for
// byte; a reply with a line break or its own "Ver " prefix does not.
VersionDecision CheckVersion(int version_status, std::string_view version_reply,
                             std::string_view local_version);

// The message box text for a decision; empty for kContinue.
std::string_view VersionDecisionMessage(VersionDecision decision);

// Writes the updater image as `folder`/update, executable, replacing an earlier one in
// one step. `folder` is the program folder, the one StartUpdater later starts it from, so
// the fresh updater is the one that runs. False when nothing was written; an empty image
// is refused, so a missing image never replaces a working updater.
bool WriteUpdater(const net::ByteArray& image, const std::filesystem::path& folder);

// Starts `folder`/update without arguments in a session of its own, with `folder` as its
// working directory, and returns at once with its process id (-1 when it could not be
// started). The client ends right afterwards and never waits for it.
pid_t StartUpdater(const std::filesystem::path& folder);

}  // namespace vpsdesk::app
