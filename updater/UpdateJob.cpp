#include "UpdateJob.h"

#include <openssl/evp.h>

#include <system_error>

#include "ClientFile.h"
#include "net/ReplyStatus.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "os/ProfileFile.h"
#include "platform/SettingsFiles.h"

namespace vpsdesk::updater {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kUpdateSection = "更新";
constexpr std::string_view kCaFileKey = "CA文件";
constexpr std::string_view kChecksumHeader = "X-Content-SHA256";

void Report(const UpdateRun& run, const std::string& message) {
    if (run.on_failure) run.on_failure(message);
}

void Stage(const UpdateRun& run, UpdateStage stage) {
    if (run.on_stage) run.on_stage(stage);
}

bool Cancelled(const UpdateRun& run) { return run.cancelled && run.cancelled->load(); }

}  // namespace

std::string ReadUpdateSource(const fs::path& folder, std::string_view ca_file_override,
                             UpdateSource& source) {
    source = {};
    platform::UpdateSettingsFile settings(folder);
    std::error_code ec;
    if (!fs::is_regular_file(settings.Path(), ec)) {
        return "找不到更新配置文件 " + settings.Path().string() + "，无法更新。";
    }
    std::string address = net::TrimText(settings.ReadUpdateAddress());
    if (address.empty()) {
        return "更新配置文件 " + settings.Path().string() + " 中没有更新地址（[更新] API地址），无法更新。";
    }
    if (!net::StartsWithText(address, "https://", true)) {
        return "更新地址不是 https 地址（" + address + "），为安全起见不从这里下载。";
    }

    std::string ca_file(ca_file_override);
    if (ca_file.empty()) {
        ca_file = net::TrimText(os::ReadProfileString(settings.Path(), kUpdateSection, kCaFileKey));
        if (!ca_file.empty() && fs::path(ca_file).is_relative()) ca_file = (folder / ca_file).string();
    }
    if (!ca_file.empty() && !fs::is_regular_file(ca_file, ec)) {
        return "找不到证书文件 " + ca_file + "，无法更新。";
    }

    source.download_url = address + "download";
    source.ca_file = ca_file;
    return {};
}

std::string ReplyHeader(std::string_view headers, std::string_view name) {
    size_t start = 0;
    while (start < headers.size()) {
        size_t end = headers.find('\n', start);
        if (end == std::string_view::npos) end = headers.size();
        std::string_view line = headers.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon != name.size()) continue;
        if (net::AsciiLower(line.substr(0, colon)) != net::AsciiLower(name)) continue;
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
        return std::string(value);
    }
    return {};
}

std::string Sha256Hex(const net::ByteArray& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

std::string CheckDownload(const DownloadReply& reply) {
    if (reply.headers.empty()) {
        return "无法连接更新服务器，请检查网络后重试。原程序未改动。";
    }
    int status = net::ReplyStatus(reply.headers);
    if (status != 200) {
        return "更新服务器拒绝了下载（HTTP " + std::to_string(status) + "）。原程序未改动。";
    }
    if (reply.body.empty()) {
        return "下载的新版本是空的或下载中断。原程序未改动。";
    }
    std::string expected = net::AsciiLower(ReplyHeader(reply.headers, kChecksumHeader));
    if (expected.empty()) {
        return "更新服务器没有提供新版本的校验值，无法确认文件完整。原程序未改动。";
    }
    if (expected != Sha256Hex(reply.body)) {
        return "下载的新版本校验不一致，文件可能已损坏。原程序未改动。";
    }
    return {};
}

bool RunUpdate(const UpdateRun& run) {
    Stage(run, UpdateStage::kReadSettings);
    UpdateSource source;
    if (std::string message = ReadUpdateSource(run.folder, run.ca_file_override, source);
        !message.empty()) {
        Report(run, message);
        return false;
    }
    // Only a client that is here is replaced: an updater written somewhere else (the per-user
    // folder of a system-wide installation) must not install a second client beside itself.
    std::error_code ec;
    if (const fs::path client = run.folder / kClientFileName; !fs::is_regular_file(client, ec)) {
        Report(run, "找不到要更新的客户端程序 " + client.string() + "，无法更新。");
        return false;
    }
    net::SetTlsSettings({source.ca_file, true});

    Stage(run, UpdateStage::kDownload);
    net::WebReply download = net::WebRequest(source.download_url);
    const DownloadReply reply{std::move(download.headers), std::move(download.body)};
    if (std::string message = CheckDownload(reply); !message.empty()) {
        Report(run, message);
        return false;
    }
    if (Cancelled(run)) {
        Report(run, "更新已取消。原程序未改动。");
        return false;
    }

    Stage(run, UpdateStage::kReplace);
    Replacement replacement;
    std::string_view bytes(reinterpret_cast<const char*>(reply.body.data()), reply.body.size());
    if (std::string message = ReplaceClient(run.folder, bytes, replacement); !message.empty()) {
        Report(run, message);
        return false;
    }
    if (!run.start_client) {
        DiscardPreviousClient(replacement);
        return true;
    }

    Stage(run, UpdateStage::kStart);
    if (std::string message = StartDetached(replacement.client); !message.empty()) {
        // A new client that cannot run is worse than the old one.
        if (RestorePreviousClient(replacement)) {
            message += "已恢复原程序。";
        } else {
            DiscardPreviousClient(replacement);
        }
        Report(run, message);
        return false;
    }
    DiscardPreviousClient(replacement);
    return true;
}

}  // namespace vpsdesk::updater
