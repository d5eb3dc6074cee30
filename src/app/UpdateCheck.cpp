#include "app/UpdateCheck.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "os/FileBytes.h"

extern char** environ;

namespace vpsdesk::app {
namespace {

constexpr int kHttpOk = 200;

}  // namespace

VersionDecision CheckVersion(int version_status, std::string_view version_reply,
                             std::string_view local_version) {
    if (version_status != kHttpOk || version_reply.empty()) return VersionDecision::kNetworkFailure;
    std::string server_version = "Ver ";
    server_version.append(version_reply);
    return server_version == local_version ? VersionDecision::kContinue
                                           : VersionDecision::kUpdateDue;
}

std::string_view VersionDecisionMessage(VersionDecision decision) {
    switch (decision) {
        case VersionDecision::kNetworkFailure:
            return kNetworkFailureMessage;
        case VersionDecision::kUpdateDue:
            return kUpdateDueMessage;
        case VersionDecision::kContinue:
            break;
    }
    return {};
}

bool WriteUpdater(const net::ByteArray& image, const std::filesystem::path& folder) {
    if (image.empty() || folder.empty()) return false;
    const std::filesystem::path file = folder / kUpdaterFileName;
    std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    if (!os::WriteFileAtomically(file, bytes, 0755)) return false;
    // A replaced file keeps its old mode; one that lost its execute bits could not run.
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return false;
    if ((st.st_mode & S_IXUSR) == 0) {
        mode_t mode = st.st_mode & 07777;
        mode |= S_IXUSR | ((mode & S_IRGRP) ? S_IXGRP : 0) | ((mode & S_IROTH) ? S_IXOTH : 0);
        if (::chmod(file.c_str(), mode) != 0) return false;
    }
    return true;
}

pid_t StartUpdater(const std::filesystem::path& folder) {
    const std::string program = (folder / kUpdaterFileName).string();
    const std::string directory = folder.string();

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    // Its own session, so closing the client's terminal does not end it; none of the
    // client's descriptors (sockets, files) beyond the standard three.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

}  // namespace vpsdesk::app
