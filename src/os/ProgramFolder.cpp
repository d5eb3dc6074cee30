#include "os/ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "os/CachedFolder.h"

namespace vpsdesk::os {
namespace fs = std::filesystem;

fs::path UserDataFolder(const Environment& env) {
    fs::path base;
    if (auto data_home = AbsolutePathVariable(env, "XDG_DATA_HOME")) {
        base = *data_home;
    } else {
        fs::path home = HomeFolder(env);
        if (home.empty()) return {};
        base = home / ".local" / "share";
    }
    std::error_code ec;
    fs::create_directories(base, ec);
    fs::path folder = base / "vpsdesk";
    // 0700: the folder holds the data-protection key.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    if (!fs::is_directory(folder, ec)) return {};
    return folder;
}

bool MayWriteFolder(const fs::path& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

bool IsSystemInstall(const fs::path& executable_folder, const FolderWriteCheck& may_write) {
    const fs::path normal = executable_folder.lexically_normal();
    const fs::path usr("/usr");
    const auto [end, rest] = std::mismatch(usr.begin(), usr.end(), normal.begin(), normal.end());
    if (end == usr.end()) return true;
    return !may_write(executable_folder);
}

fs::path ChooseProgramFolder(const fs::path& executable_folder, const Environment& env,
                             const FolderWriteCheck& may_write) {
    std::error_code ec;
    if (!executable_folder.empty() && fs::is_directory(executable_folder, ec) &&
        !IsSystemInstall(executable_folder, may_write))
        return executable_folder;
    return UserDataFolder(env);
}

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

static CachedFolder& ProgramFolderCache() {
    static CachedFolder cache(
        [] { return ChooseProgramFolder(ExecutableFolder(), SystemEnvironment()); });
    return cache;
}

fs::path ProgramFolder() {
    return ProgramFolderCache().Get();
}

void OverrideProgramFolder(const fs::path& folder) {
    ProgramFolderCache().Override(folder);
}

}  // namespace vpsdesk::os
