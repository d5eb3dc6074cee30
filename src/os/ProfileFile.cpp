#include "os/ProfileFile.h"

#include <mutex>

#include "os/FileBytes.h"
#include "os/ProfileDocument.h"

namespace vpsdesk::os {
namespace {

// Windows serialises the profile functions within a process; without this two threads
// saving different keys of one file could each drop the other's change.
std::mutex& ProfileMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value) {
    FileRead read;
    {
        std::lock_guard lock(ProfileMutex());
        read = ReadFileBytes(file);
    }
    if (read.status == ReadStatus::kRead) {
        if (auto value = ProfileDocument(std::move(read.bytes)).Get(section, key)) return *value;
    }
    while (!default_value.empty() && default_value.back() == ' ') default_value.remove_suffix(1);
    return std::string(default_value);
}

std::vector<std::string> ReadProfileStrings(const std::filesystem::path& file,
                                            std::string_view section,
                                            std::span<const std::string_view> keys) {
    FileRead read;
    {
        std::lock_guard lock(ProfileMutex());
        read = ReadFileBytes(file);
    }
    std::vector<std::string> values(keys.size());
    if (read.status != ReadStatus::kRead) return values;
    const std::vector<std::optional<std::string>> found =
        ProfileDocument(std::move(read.bytes)).GetMany(section, keys);
    for (size_t i = 0; i < keys.size(); ++i) values[i] = found[i].value_or("");
    return values;
}

bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value, mode_t create_mode) {
    return WriteProfileStrings(file, section, {{std::string(key), std::string(value)}},
                               create_mode);
}

bool WriteProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const ProfileValues& values, mode_t create_mode) {
    std::lock_guard lock(ProfileMutex());
    FileRead read = ReadFileBytes(file);
    // A file that exists but cannot be read is not overwritten: its other keys would be lost.
    if (read.status == ReadStatus::kFailed) return false;
    const std::string before = read.bytes;
    ProfileDocument document(std::move(read.bytes));
    for (const auto& [key, value] : values)
        if (!document.Set(section, key, value)) return false;
    if (read.status == ReadStatus::kRead && document.Bytes() == before) return true;
    return WriteFileAtomically(file, document.Bytes(), create_mode);
}

}  // namespace vpsdesk::os
