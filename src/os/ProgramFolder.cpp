#include "os/ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "os/CachedFolder.h"
#include "os/FileBytes.h"

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

namespace {

bool IsUnderUsr(const fs::path& folder) {
    const fs::path normal = folder.lexically_normal();
    const fs::path usr("/usr");
    const auto [end, rest] = std::mismatch(usr.begin(), usr.end(), normal.begin(), normal.end());
    return end == usr.end();
}

}  // namespace

bool IsSystemInstall(const fs::path& executable_folder, const FolderWriteCheck& may_write) {
    return IsUnderUsr(executable_folder) || !may_write(executable_folder);
}

std::vector<std::string> AdoptFilesLeftBeside(const fs::path& executable_folder,
                                              const fs::path& program_folder,
                                              std::span<const std::string_view> names) {
    std::vector<std::string> adopted;
    std::error_code ec;
    if (executable_folder.empty() || program_folder.empty() || IsUnderUsr(executable_folder) ||
        fs::equivalent(executable_folder, program_folder, ec))
        return adopted;
    for (std::string_view name : names) {
        const fs::path target = program_folder / fs::path(name);
        // Anything already there, even a dangling link, is the customer's newer choice.
        if (fs::symlink_status(target, ec).type() != fs::file_type::not_found) continue;
        const fs::path source = executable_folder / fs::path(name);
        if (!fs::is_regular_file(source, ec)) continue;
        const FileRead read = ReadFileBytes(source);
        if (read.status == ReadStatus::kRead && WriteFileAtomically(target, read.bytes))
            adopted.emplace_back(name);
    }
    return adopted;
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
