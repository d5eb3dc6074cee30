#include "servers/RemoteDesktopLaunch.h"

#include <sys/stat.h>

#include <vector>

#include "net/Gbk.h"
#include "net/Text.h"
#include "os/FileBytes.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "servers/RdpClientCommand.h"
#include "servers/RdpPassword.h"
#include "servers/ServerPage.h"

namespace vpsdesk::servers {

using rdpsettings::RdpFileValue;

std::optional<HostPort> SplitServerAddress(std::string_view address) {
    std::vector<std::string> pieces = net::SplitText(address, ":");
    if (pieces.size() == 1) return HostPort{std::string(address), std::string(kDefaultRdpPort)};
    if (pieces.size() == 2) return HostPort{pieces[0], pieces[1]};
    return std::nullopt;
}

std::optional<ConnectionPlan> PlanConnection(const ServerRow& row) {
    if (row[column::kStatus] != kRunningStatus) return std::nullopt;
    ConnectionPlan plan;
    plan.graphics_card_warning = net::ContainsText(row[column::kProductType], kGraphicsCardMark);
    plan.target = SplitServerAddress(row[column::kAddress]);
    plan.password = row[column::kPassword];
    return plan;
}

std::string RdpFileName(std::string_view host) {
    std::string name(host);
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool dot_run = c == '.' && ((i + 1 < name.size() && name[i + 1] == '.') ||
                                          (i > 0 && host[i - 1] == '.'));
        // A separator or ".." would leave History/, a leading dot would hide the file, and
        // control characters have no place in a file name.
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F || dot_run || (i == 0 && c == '.'))
            name[i] = '_';
    }
    return name + ".rdp";
}

std::filesystem::path RdpFilePath(const std::filesystem::path& program_folder,
                                  std::string_view host) {
    return program_folder / "History" / RdpFileName(host);
}

RdpLaunchSettings ReadRdpLaunchSettings(const RdpSettingReader& read) {
    RdpLaunchSettings s;
    s.window_mode = read("窗口模式");
    s.resolution = read("窗口数据");
    s.color_depth = read("监视器颜色");
    s.drives = read("本地驱动器");
    s.clipboard = read("剪贴板");
    s.printers = read("打印机");
    s.serial_ports = read("串行口");
    s.smart_cards = read("智能卡");
    s.auto_reconnect = read("重连");
    s.compression = read("压缩");
    s.connection_bar = read("全屏栏");
    s.desktop_background = read("桌面背景");
    s.desktop_theme = read("桌面主题");
    s.pnp_devices = read("PnP设备");
    s.audio_capture = read("录音");
    s.audio_mode = read("音频播放");
    s.key_combinations = read("组合键");
    s.forced_login = read("强制模式");
    return s;
}

RdpLaunchSettings ReadRdpLaunchSettings() {
    return ReadRdpLaunchSettings(
        [](std::string_view key) { return rdpsettings::ReadRdpSetting(key); });
}

RdpFileFields RdpFieldsFor(const RdpLaunchSettings& s, const HostPort& target,
                           std::string protected_password, std::string drives) {
    RdpFileFields f;
    f.full_address = target.host + ":" + target.port;
    f.protected_password = std::move(protected_password);
    f.window_mode = RdpFileValue("窗口模式", s.window_mode);
    rdpsettings::RdpWindowSize size = rdpsettings::RdpWindowDimensions(s.resolution);
    f.width = size.width;
    f.height = size.height;
    f.color_depth = RdpFileValue("监视器颜色", s.color_depth);
    f.compression = RdpFileValue("压缩", s.compression);
    f.key_combinations = RdpFileValue("组合键", s.key_combinations);
    f.audio_mode = RdpFileValue("音频播放", s.audio_mode);
    f.printers = RdpFileValue("打印机", s.printers);
    f.serial_ports = RdpFileValue("串行口", s.serial_ports);
    f.smart_cards = RdpFileValue("智能卡", s.smart_cards);
    f.drives = std::move(drives);
    f.pnp_devices = RdpFileValue("PnP设备", s.pnp_devices);
    f.clipboard = RdpFileValue("剪贴板", s.clipboard);
    f.audio_capture = RdpFileValue("录音", s.audio_capture);
    f.connection_bar = RdpFileValue("全屏栏", s.connection_bar);
    f.auto_reconnect = RdpFileValue("重连", s.auto_reconnect);
    f.desktop_background = RdpFileValue("桌面背景", s.desktop_background);
    f.desktop_theme = RdpFileValue("桌面主题", s.desktop_theme);
    return f;
}

std::string RdpFileBytes(const RdpFileFields& fields) {
    return net::Utf8ToGbk(FillRdpTemplate(RdpPlaceholderValues(fields)));
}

RdpConnectionFile MakeRdpConnectionFile(const std::filesystem::path& program_folder,
                                        const HostPort& target, std::string_view password,
                                        const RdpLaunchSettings& settings,
                                        const os::DataProtection& protection) {
    RdpFileFields fields = RdpFieldsFor(settings, target, ProtectRdpPassword(password, protection),
                                        FreeRdpDriveList(settings.drives));
    return {RdpFilePath(program_folder, target.host), RdpFileBytes(fields)};
}

bool WriteRdpFile(const std::filesystem::path& file, std::string_view bytes) {
    // A replacement keeps the old file's rights; this one holds a password, so an earlier
    // file that others could read loses those rights first.
    struct stat info {};
    if (stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0)
        chmod(file.c_str(), info.st_mode & 0700);
    return os::WriteFileAtomically(file, bytes, 0600);
}

std::string LoginSwitchMemory::Choose(std::string_view stored) {
    if (std::optional<std::string> chosen = rdpsettings::ForcedLoginSwitch(stored)) {
        previous_ = chosen;
        return *chosen;
    }
    return previous_.value_or(" ");
}

}  // namespace vpsdesk::servers
