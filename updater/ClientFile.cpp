#include "ClientFile.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "StepPause.h"
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

    // Named after the client and this process, so that what a killed updater left is
    // removed by the next one.
    const os::TemporaryFile temporary = os::CreateTemporaryBeside(client, 0600);
    const int fd = temporary.fd;
    if (fd < 0) return WriteFailure(folder, errno);
    const fs::path& temp = temporary.path;
    StepPause::At("temporary-created");

    // The file is made 0600; the client must be runnable whatever the umask.
    int error = 0;
    if (!os::WriteAll(fd, bytes) || fchmod(fd, 0755) != 0 || fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return WriteFailure(client, error);
    }
    StepPause::At("temporary-written");

    // A second name for the old client, so it can come back if the new one does not start.
    fs::path previous = folder / (std::string(".").append(kClientFileName).append(".previous"));
    struct stat old {};
    if (lstat(client.c_str(), &old) == 0 && !S_ISDIR(old.st_mode)) {
        unlink(previous.c_str());
        if (link(client.c_str(), previous.c_str()) != 0) previous.clear();
    } else {
        previous.clear();
    }

    StepPause::At("previous-kept");

    if (rename(temp.c_str(), client.c_str()) != 0) {
        error = errno;
        unlink(temp.c_str());
        if (!previous.empty()) unlink(previous.c_str());
        return WriteFailure(client, error);
    }
    SyncFolder(folder);
    StepPause::At("replaced");
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
