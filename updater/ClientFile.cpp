#include "ClientFile.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "os/FileBytes.h"

extern char** environ;

namespace vpsdesk::updater {
namespace fs = std::filesystem;
namespace {

std::string ErrorText(int error) { return std::strerror(error); }

// A rename is only durable once the folder's entry is on disk as well.
void SyncFolder(const fs::path& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

std::string WriteFailure(const fs::path& path, int error) {
    return "无法写入新版本（" + path.string() + "：" + ErrorText(error) + "），原程序未改动。";
}

}  // namespace

std::string ReplaceClient(const fs::path& folder, std::string_view bytes,
                          Replacement& replacement) {
    replacement = {};
    const fs::path client = folder / kClientFileName;

    std::string temp_name = (folder / (std::string(".").append(kClientFileName).append(".new-XXXXXX"))).string();
    std::vector<char> temp(temp_name.begin(), temp_name.end());
    temp.push_back('\0');
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return WriteFailure(folder, errno);

    // mkostemp creates the file 0600; the client must be runnable whatever the umask.
    int error = 0;
    if (!os::WriteAll(fd, bytes) || fchmod(fd, 0755) != 0 || fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        unlink(temp.data());
        return WriteFailure(client, error);
    }

    // A second name for the old client, so it can come back if the new one does not start.
    fs::path previous = folder / (std::string(".").append(kClientFileName).append(".previous"));
    struct stat old {};
    if (lstat(client.c_str(), &old) == 0 && !S_ISDIR(old.st_mode)) {
        unlink(previous.c_str());
        if (link(client.c_str(), previous.c_str()) != 0) previous.clear();
    } else {
        previous.clear();
    }

    if (rename(temp.data(), client.c_str()) != 0) {
        error = errno;
        unlink(temp.data());
        if (!previous.empty()) unlink(previous.c_str());
        return WriteFailure(client, error);
    }
    SyncFolder(folder);
    replacement.client = client;
    replacement.previous = previous;
    return {};
}

bool RestorePreviousClient(const Replacement& replacement) {
    if (replacement.previous.empty()) return false;
    if (rename(replacement.previous.c_str(), replacement.client.c_str()) != 0) return false;
    SyncFolder(replacement.client.parent_path());
    return true;
}

void DiscardPreviousClient(const Replacement& replacement) {
    if (!replacement.previous.empty()) unlink(replacement.previous.c_str());
}

std::string StartDetached(const fs::path& program, pid_t* pid) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);

    // The client should find its files by its own folder and not end with the updater's
    // session; it must not inherit signal settings made for the updater either.
    const std::string folder = program.parent_path().string();
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGCHLD}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    pid_t child = 0;
    // glibc reports a failed exec here, so a client that cannot run is seen at once.
    int error = posix_spawn(&child, path.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return "无法启动新版本（" + path + "：" + ErrorText(error) + "）。";
    if (pid) *pid = child;
    return {};
}

}  // namespace vpsdesk::updater
