#include "os/FileBytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
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

constexpr std::string_view kTemporaryMark = ".tmp";

// The process that made `name`, when it is one of `target_name`'s temporary files.
std::optional<pid_t> TemporaryOwner(std::string_view name, std::string_view target_name) {
    const std::string prefix = std::string(target_name).append(kTemporaryMark);
    if (!name.starts_with(prefix)) return std::nullopt;
    name.remove_prefix(prefix.size());
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const std::string_view pid_text = name.substr(0, dot);
    if (!digits(pid_text) || !digits(name.substr(dot + 1))) return std::nullopt;
    pid_t pid = 0;
    auto [end, error] = std::from_chars(pid_text.data(), pid_text.data() + pid_text.size(), pid);
    if (error != std::errc() || pid <= 0) return std::nullopt;
    return pid;
}

bool ProcessGone(pid_t pid) {
    return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

void RemoveLeftoverTemporaries(const fs::path& target) {
    const std::string target_name = target.filename().string();
    std::error_code ec;
    fs::directory_iterator entries(
        target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const fs::path& entry = entries->path();
        std::optional<pid_t> owner = TemporaryOwner(entry.filename().string(), target_name);
        std::error_code type_error;
        if (owner && ProcessGone(*owner) && entries->is_regular_file(type_error))
            unlink(entry.c_str());
    }
}

}  // namespace

TemporaryFile CreateTemporaryBeside(const fs::path& target, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    RemoveLeftoverTemporaries(target);
    TemporaryFile temp;
    for (int attempt = 0; attempt < 100 && temp.fd < 0; ++attempt) {
        temp.path = target;
        temp.path += std::string(kTemporaryMark) + std::to_string(getpid()) + "." +
                     std::to_string(counter++);
        temp.fd = open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (temp.fd < 0 && errno != EEXIST) break;
    }
    if (temp.fd < 0) temp.path.clear();
    return temp;
}

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
    const fs::path target = WriteTarget(file);

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) return false;

    // A new file gets its mode at creation so the umask applies and a password file is
    // never readable by others, not even for a moment.
    const TemporaryFile temporary = CreateTemporaryBeside(target, exists ? 0600 : create_mode);
    FileDescriptor fd(temporary.fd);
    if (fd.get() < 0) return false;
    const fs::path& temp = temporary.path;

    bool ok = WriteAll(fd.get(), bytes) &&
              (!exists || fchmod(fd.get(), existing.st_mode & 07777) == 0) && fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace vpsdesk::os
