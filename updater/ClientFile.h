#pragma once
// The client executable beside the updater: replaced as one rename, and started as a
// process of its own that outlives the updater.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vpsdesk::updater {

inline constexpr std::string_view kClientFileName = "vpsdesk";

// What a replacement left behind: the previous client, kept under another name until the
// new one is known to start.
struct Replacement {
    std::filesystem::path client;
    std::filesystem::path previous;  // empty when there was no previous client to keep
};

// Writes `bytes` to a temporary file in `folder`, makes it mode 0755, syncs it and renames
// it over the client file, then syncs the folder. On failure nothing in the folder has
// changed. Returns the message for the user, empty on success.
std::string ReplaceClient(const std::filesystem::path& folder, std::string_view bytes,
                          Replacement& replacement);

// Puts the previous client back (after the new one failed to start). False when it could
// not be done; the new client then stays.
bool RestorePreviousClient(const Replacement& replacement);

// Drops the kept previous client.
void DiscardPreviousClient(const Replacement& replacement);

// Starts `program` with no arguments in its own folder and session, without waiting for
// it. A program that cannot be executed is reported here (the message), not later.
// `pid` receives the process id when given.
std::string StartDetached(const std::filesystem::path& program, pid_t* pid = nullptr);

}  // namespace vpsdesk::updater
