#pragma once
// Whole-file reads and replace-by-rename writes for the small files the client keeps.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::os {

enum class ReadStatus { kRead, kMissing, kFailed };

struct FileRead {
    ReadStatus status = ReadStatus::kFailed;
    std::string bytes;  // the whole file when status is kRead
};

FileRead ReadFileBytes(const std::filesystem::path& file);

// Replaces `file` with `bytes` through a temporary file in the same folder and a rename,
// so a reader sees the old or the new content, never a part. An existing file keeps its
// permission bits; a new one gets `create_mode` less the umask. A symbolic link is
// followed, so the file it points to is replaced and the link stays. Returns false, with
// the old file untouched, on any failure.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         mode_t create_mode = 0666);

// Writes every byte to `fd`, resuming after interrupted or partial writes.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vpsdesk::os
