#pragma once
// The user's Documents folder, home of the account settings file.
#include <filesystem>
#include <string_view>

#include "os/Environment.h"

namespace vpsdesk::os {

// XDG_DOCUMENTS_DIR from $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config/user-dirs.dirs),
// else ~/Documents. The folder is not created: without it the settings are simply not kept.
// Empty when the home folder is unknown.
std::filesystem::path DocumentsFolderFor(const Environment& env);

// The value of XDG_DOCUMENTS_DIR in the text of a user-dirs.dirs file, "$HOME" expanded;
// empty when the file does not set it to a usable path.
std::filesystem::path DocumentsDirFromUserDirs(std::string_view file_text,
                                               const std::filesystem::path& home);

// The Documents folder of this process, worked out once on first use.
std::filesystem::path DocumentsFolder();

// Replaces the process's Documents folder, for tests. An empty path restores the rule.
void OverrideDocumentsFolder(const std::filesystem::path& folder);

}  // namespace vpsdesk::os
