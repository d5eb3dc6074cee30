#include "os/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace vpsdesk::os {
namespace {

std::optional<std::string> PasswordDatabaseHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || !*found->pw_dir)
        return std::nullopt;
    return std::string(found->pw_dir);
}

}  // namespace

Environment SystemEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        std::string key(name);
        const char* value = std::getenv(key.c_str());
        if (value && *value) return std::string(value);
        if (key == "HOME") return PasswordDatabaseHome();
        if (value) return std::string();
        return std::nullopt;
    };
}

std::filesystem::path HomeFolder(const Environment& env) {
    std::optional<std::string> home = env("HOME");
    return home ? std::filesystem::path(*home) : std::filesystem::path();
}

std::optional<std::filesystem::path> AbsolutePathVariable(const Environment& env,
                                                          std::string_view name) {
    std::optional<std::string> value = env(name);
    if (!value || value->empty()) return std::nullopt;
    std::filesystem::path path(*value);
    if (!path.is_absolute()) return std::nullopt;
    return path;
}

}  // namespace vpsdesk::os
