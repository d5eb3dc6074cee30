#include "servers/RemoteDesktopLaunch.h"

#include <sys/stat.h>

#include <vector>

#include "net/Gbk.h"
#include "net/Text.h"
#include "os/FileBytes.h"
#include "servers/RdpClientCommand.h"
#include "servers/RdpPassword.h"
#include "servers/ServerPage.h"

namespace vpsdesk::servers {

using rdpsettings::RdpFileValue;
using R = RemoteDesktopSettings;

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

void RefreshSettingsRecord(const RemoteDesktopSettings& read, RemoteDesktopSettings& record) {
    for (rdpsettings::RdpSettingField field :
         {&R::window_mode, &R::resolution, &R::color_depth, &R::drives, &R::audio_mode,
          &R::key_combinations, &R::forced_login})
        record.*field = read.*field;
}

RdpFileFields RdpFieldsFor(const RemoteDesktopSettings& s, const HostPort& target,
                           std::string protected_password, std::string drives) {
    RdpFileFields f;
    f.full_address = target.host + ":" + target.port;
    f.protected_password = std::move(protected_password);
    f.window_mode = RdpFileValue(s, &R::window_mode);
    rdpsettings::RdpWindowSize size = rdpsettings::RdpWindowDimensions(s.resolution);
    f.width = size.width;
    f.height = size.height;
    f.color_depth = RdpFileValue(s, &R::color_depth);
    f.compression = RdpFileValue(s, &R::compression);
    f.key_combinations = RdpFileValue(s, &R::key_combinations);
    f.audio_mode = RdpFileValue(s, &R::audio_mode);
    f.printers = RdpFileValue(s, &R::printers);
    f.serial_ports = RdpFileValue(s, &R::serial_ports);
    f.smart_cards = RdpFileValue(s, &R::smart_cards);
    f.drives = std::move(drives);
    f.pnp_devices = RdpFileValue(s, &R::pnp_devices);
    f.clipboard = RdpFileValue(s, &R::clipboard);
    f.audio_capture = RdpFileValue(s, &R::audio_capture);
    f.connection_bar = RdpFileValue(s, &R::connection_bar);
    f.auto_reconnect = RdpFileValue(s, &R::auto_reconnect);
    f.desktop_background = RdpFileValue(s, &R::desktop_background);
    f.desktop_theme = RdpFileValue(s, &R::desktop_theme);
    return f;
}

std::string RdpFileBytes(const RdpFileFields& fields) {
    return net::Utf8ToGbk(FillRdpTemplate(RdpPlaceholderValues(fields)));
}

RdpConnectionFile MakeRdpConnectionFile(const std::filesystem::path& program_folder,
                                        const HostPort& target, std::string_view password,
                                        const RemoteDesktopSettings& settings,
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
