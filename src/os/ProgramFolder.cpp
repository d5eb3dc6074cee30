#include "os/ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <system_error>

namespace vpsdesk::os {
namespace fs = std::filesystem;
namespace {

std::mutex& FolderMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<fs::path>& CachedFolder() {
    static std::optional<fs::path> folder;
    return folder;
}

}  // namespace

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

fs::path ChooseProgramFolder(const fs::path& executable_folder, const Environment& env) {
    std::error_code ec;
    if (!executable_folder.empty() && fs::is_directory(executable_folder, ec) &&
        access(executable_folder.c_str(), W_OK | X_OK) == 0)
        return executable_folder;
    return UserDataFolder(env);
}

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

fs::path ProgramFolder() {
    std::lock_guard lock(FolderMutex());
    std::optional<fs::path>& cached = CachedFolder();
    if (!cached) cached = ChooseProgramFolder(ExecutableFolder(), SystemEnvironment());
    return *cached;
}

void OverrideProgramFolder(const fs::path& folder) {
    std::lock_guard lock(FolderMutex());
    if (folder.empty())
        CachedFolder().reset();
    else
        CachedFolder() = folder;
}

}  // namespace vpsdesk::os
