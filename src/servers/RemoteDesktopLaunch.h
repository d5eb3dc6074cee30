#pragma once
// Connecting to a server by remote desktop, the widget-free half: which rows can be
// connected to, the connection file (its settings, text, bytes and place), and the
// forced-login switch. The window half (gui/ConnectToServer) adds the boxes, the wait
// and the start of the remote-desktop client.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "os/DataProtection.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "servers/RdpFileTemplate.h"
#include "servers/ServerRow.h"

namespace vpsdesk::servers {

inline constexpr std::string_view kGraphicsCardMark = "显卡";
inline constexpr std::string_view kDefaultRdpPort = "3389";

struct HostPort {
    std::string host;
    std::string port;
    bool operator==(const HostPort&) const = default;
};

// "host" alone (port 3389) or "host:port"; nullopt for an empty address or more than two
// pieces between colons.
std::optional<HostPort> SplitServerAddress(std::string_view address);

struct ConnectionPlan {
    bool graphics_card_warning = false;  // the product type contains "显卡"; shown first
    std::optional<HostPort> target;      // nothing is started when the address won't split
    std::string password;
};

// What a connection to `row` does: nothing at all (nullopt) unless the status is exactly
// "运行中".
std::optional<ConnectionPlan> PlanConnection(const ServerRow& row);

// The connection file's name: the host with path separators, control characters and
// leading dots replaced by "_", so that no host can name a file outside History/, plus
// ".rdp". An empty host gives "_.rdp".
std::string RdpFileName(std::string_view host);
std::filesystem::path RdpFilePath(const std::filesystem::path& program_folder,
                                  std::string_view host);

// The settings as the launch reads them: every key anew at every connection.
using rdpsettings::RemoteDesktopSettings;

// The fields a launch's read replaces in the process's settings record (see
// rdpsettings::CurrentRdpSettings), as the settings window expects when it opens next; the
// rest of the record stays as the window left it.
void RefreshSettingsRecord(const RemoteDesktopSettings& read, RemoteDesktopSettings& record);

// The lines' values; `drives` is the drivestoredirect value already made fit for the
// remote-desktop client (see FreeRdpDriveList).
RdpFileFields RdpFieldsFor(const RemoteDesktopSettings& settings, const HostPort& target,
                           std::string protected_password, std::string drives);

// The file's bytes: the text in GBK, no byte-order mark.
std::string RdpFileBytes(const RdpFileFields& fields);

struct RdpConnectionFile {
    std::filesystem::path path;  // History/<host>.rdp in the program folder
    std::string bytes;
};

// Everything of one connection file: fields from `settings`, the password protected with
// `protection`, the drives as xfreerdp accepts them, its place under `program_folder`.
RdpConnectionFile MakeRdpConnectionFile(const std::filesystem::path& program_folder,
                                        const HostPort& target, std::string_view password,
                                        const RemoteDesktopSettings& settings,
                                        const os::DataProtection& protection);

// Replaces the file (mode 0600, also when an earlier file had wider rights: it holds the
// protected password). False when it cannot be written.
bool WriteRdpFile(const std::filesystem::path& file, std::string_view bytes);

// The switch after the file on the command line. "0", "1" and "2" give ForcedLoginSwitch's
// text; any other stored value reuses the switch of the previous launch of this run, and
// no switch (" ") before the first. One object per run; not thread-safe (UI thread).
class LoginSwitchMemory {
  public:
    std::string Choose(std::string_view stored);

  private:
    std::optional<std::string> previous_;
};

}  // namespace vpsdesk::servers
