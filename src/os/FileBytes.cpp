#include "os/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace vpsdesk::os {
namespace fs = std::filesystem;
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

  private:
    int fd_;
};

// The file a write really replaces: the target of a symbolic link, else the path itself.
fs::path WriteTarget(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(file, ec)) return file;
    fs::path target = fs::weakly_canonical(file, ec);
    return ec ? file : target;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

FileRead ReadFileBytes(const fs::path& file) {
    FileRead result;
    FileDescriptor fd(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status =
            errno == ENOENT || errno == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kFailed;
        return result;
    }
    char buffer[8192];
    for (;;) {
        ssize_t n = read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return result;  // a directory, an I/O error: kFailed
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<size_t>(n));
    }
    result.status = ReadStatus::kRead;
    return result;
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes, mode_t create_mode) {
    static std::atomic<unsigned> counter{0};
    const fs::path target = WriteTarget(file);

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) return false;

    fs::path temp;
    int raw_fd = -1;
    for (int attempt = 0; attempt < 100 && raw_fd < 0; ++attempt) {
        temp = target;
        temp += ".tmp" + std::to_string(getpid()) + "." + std::to_string(counter++);
        // A new file gets its mode at creation so the umask applies and a password file
        // is never readable by others, not even for a moment.
        raw_fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      exists ? 0600 : create_mode);
        if (raw_fd < 0 && errno != EEXIST) return false;
    }
    FileDescriptor fd(raw_fd);
    if (fd.get() < 0) return false;

    bool ok = WriteAll(fd.get(), bytes) &&
              (!exists || fchmod(fd.get(), existing.st_mode & 07777) == 0) && fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace vpsdesk::os
