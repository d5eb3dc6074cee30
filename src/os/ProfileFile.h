#pragma once
// The profile functions: one value of an INI file read or written the way Windows'
// GetPrivateProfileString / WritePrivateProfileString do it (see ProfileDocument).
#include <sys/types.h>

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vpsdesk::os {

// The value, or `default_value` (trailing spaces removed, as Windows does) when the file,
// the section or the key is missing or the file cannot be read. The file is read anew on
// every call.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value = {});

// The values of `keys` in `section`, in order, from one reading of the file; each as
// ReadProfileString gives it with an empty default.
std::vector<std::string> ReadProfileStrings(const std::filesystem::path& file,
                                            std::string_view section,
                                            std::span<const std::string_view> keys);

// Writes one value; the file is created (with `create_mode` less the umask) when missing.
// The file is replaced atomically and keeps its permission bits. Returns false and leaves
// the file as it was when the value cannot be stored (see ProfileDocument::Set), the file
// exists but cannot be read, or it cannot be written.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value, mode_t create_mode = 0666);

// Writes several keys of one section, in order, as one replacement of the file: either
// all of them are stored or none.
using ProfileValues = std::vector<std::pair<std::string, std::string>>;
bool WriteProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const ProfileValues& values, mode_t create_mode = 0666);

}  // namespace vpsdesk::os
