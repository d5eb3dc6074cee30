#pragma once
// Where the client keeps the files that live "beside the program": config.ini, the updater
// settings file, History/ and the updater itself. One rule for all of them, so the updater
// finds what the client wrote.
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "os/Environment.h"

namespace vpsdesk::os {

// The per-user data folder, $XDG_DATA_HOME/vpsdesk or ~/.local/share/vpsdesk. Created
// (mode 0700) when missing; an empty path when there is no home to put it in or it cannot
// be created.
std::filesystem::path UserDataFolder(const Environment& env);

// Whether this process may create files in `folder`: search and write permission for its
// user, as the kernel grants them (root may write almost anywhere).
bool MayWriteFolder(const std::filesystem::path& folder);

// Answers MayWriteFolder's question; tests hand the rule their own answer, since a test
// run as root could not otherwise see the rule's other side.
using FolderWriteCheck = std::function<bool(const std::filesystem::path& folder)>;

// Whether `executable_folder` holds a system-wide installation: a folder this user may not
// write, or one under /usr, whose files belong to the package manager even when root runs
// the client. Such a client neither writes beside itself nor replaces itself.
bool IsSystemInstall(const std::filesystem::path& executable_folder,
                     const FolderWriteCheck& may_write = MayWriteFolder);

// The rule itself: `executable_folder` when this user may write there (an installation in
// the home directory or an unpacked archive), else the per-user data folder (a system-wide
// installation, see IsSystemInstall).
std::filesystem::path ChooseProgramFolder(const std::filesystem::path& executable_folder,
                                          const Environment& env,
                                          const FolderWriteCheck& may_write = MayWriteFolder);

// Copies each file of `names` from `executable_folder` into `program_folder` where the
// program folder lacks it, when the rule chose another folder than the executable's own.
// A client whose folder has become read-only then starts with the settings it kept beside
// itself, not with the defaults; once copied, the program folder's copy is the one used.
// A system-wide installation (under /usr) has nothing of a customer's beside it and is
// left alone. Returns the names copied.
std::vector<std::string> AdoptFilesLeftBeside(const std::filesystem::path& executable_folder,
                                              const std::filesystem::path& program_folder,
                                              std::span<const std::string_view> names);

// The folder of the running executable (/proc/self/exe); empty when it cannot be read.
std::filesystem::path ExecutableFolder();

// The program folder of this process, worked out once on first use.
std::filesystem::path ProgramFolder();

// Replaces the process's program folder, for tests that must not write beside the test
// binary. An empty path restores the rule.
void OverrideProgramFolder(const std::filesystem::path& folder);

}  // namespace vpsdesk::os
