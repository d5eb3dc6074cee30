#pragma once
// The updater's work, without a window: find the platform in the settings file beside the
// updater, fetch the new client, check it, put it in place of the old one and start it.
// Every failure leaves the old client in place and becomes one message for the user.
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::updater {

// Where the new client comes from.
struct UpdateSource {
    std::string download_url;  // the platform's command address + "download"
    std::string ca_file;       // extra trusted CA (PEM); empty: the system store only
};

// Reads "API地址" (and the optional "CA文件") of section "更新" of "更新配置.ini" in
// `folder`. A CA file given on the command line (`ca_file_override`) wins over the INI; a
// relative path in the INI is taken from `folder`. Only an https address is accepted: the
// reply replaces an executable. Returns the message for the user, empty on success.
std::string ReadUpdateSource(const std::filesystem::path& folder,
                             std::string_view ca_file_override, UpdateSource& source);

// The download as received.
struct DownloadReply {
    std::string headers;  // status line and header lines of the final reply
    net::ByteArray body;
};

// Whether the reply is a whole client: status 200, a body, and a body whose SHA-256 is the
// one the platform names in "X-Content-SHA256". Returns the message, empty when sound.
std::string CheckDownload(const DownloadReply& reply);

// The value of the first header line named `name` (ASCII case-insensitive), spaces around
// it removed; empty when there is none.
std::string ReplyHeader(std::string_view headers, std::string_view name);

// Lower-case hex SHA-256 of `bytes`.
std::string Sha256Hex(const net::ByteArray& bytes);

enum class UpdateStage { kReadSettings, kDownload, kReplace, kStart };

struct UpdateRun {
    std::filesystem::path folder;  // the updater's own folder: settings file and client
    std::string ca_file_override;  // from the command line
    bool start_client = true;
    // Both are called on the thread that runs the update.
    std::function<void(UpdateStage)> on_stage;
    std::function<void(const std::string& message)> on_failure;
    // Set by the user closing the window. The download itself is ended by cancelling the
    // process's requests; this flag keeps a finished download from replacing the client.
    const std::atomic<bool>* cancelled = nullptr;
};

// The whole update. True when the new client is in place and (if asked) started.
bool RunUpdate(const UpdateRun& run);

}  // namespace vpsdesk::updater
