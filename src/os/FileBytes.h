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

// A new file beside `target`, named after it and this process ("<name>.tmp<pid>.<n>"),
// opened for writing with `mode` less the umask. Before it is made, the temporary files
// that processes no longer running left beside `target` (a crash or a kill in the middle of
// a write) are removed, so they never pile up; a live process's are left alone. fd is -1,
// with errno set, when no file could be made.
struct TemporaryFile {
    int fd = -1;
    std::filesystem::path path;
};
TemporaryFile CreateTemporaryBeside(const std::filesystem::path& target, mode_t mode);

// Writes every byte to `fd`, resuming after interrupted or partial writes.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vpsdesk::os
