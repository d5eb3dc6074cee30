#include "servers/RemoteDesktopLaunch.h"

#include <sys/stat.h>

#include <utility>
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
    using L = RdpFileFields;
    // The lines that carry one stored field each.
    constexpr std::pair<std::string L::*, rdpsettings::RdpSettingField> kCarried[] = {
        {&L::window_mode, &R::window_mode},       {&L::color_depth, &R::color_depth},
        {&L::compression, &R::compression},       {&L::key_combinations, &R::key_combinations},
        {&L::audio_mode, &R::audio_mode},         {&L::printers, &R::printers},
        {&L::serial_ports, &R::serial_ports},     {&L::smart_cards, &R::smart_cards},
        {&L::pnp_devices, &R::pnp_devices},       {&L::clipboard, &R::clipboard},
        {&L::audio_capture, &R::audio_capture},   {&L::connection_bar, &R::connection_bar},
        {&L::auto_reconnect, &R::auto_reconnect}, {&L::desktop_background, &R::desktop_background},
        {&L::desktop_theme, &R::desktop_theme},
    };
    RdpFileFields f;
    f.full_address = target.host + ":" + target.port;
    f.protected_password = std::move(protected_password);
    for (const auto& [line, field] : kCarried) f.*line = RdpFileValue(s, field);
    rdpsettings::RdpWindowSize size = rdpsettings::RdpWindowDimensions(s.resolution);
    f.width = size.width;
    f.height = size.height;
    f.drives = std::move(drives);
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
