#pragma once
// The customer's remote-desktop preferences: nineteen texts kept in section "RDP" of
// config.ini in the program folder. The settings window edits them; the launcher reads the
// file again before every connection and turns the texts into connection-file lines. Both
// name a key by its field: RdpSettingKeys is the one place that spells the keys.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::rdpsettings {

// Switches are "1" (on) or "0" (off); the three-way options are "0", "1", "2". An empty
// text means "never set" and is saved as an empty value.
struct RemoteDesktopSettings {
    std::string window_mode;         // "窗口模式": "1" window, "0" full screen
    std::string resolution;          // "窗口数据": for example "1024×768"
    std::string color_depth;         // "监视器颜色": bits per pixel
    std::string map_drives;          // "磁盘映射"
    std::string drives;              // "本地驱动器": "entry;entry;" (mount points here)
    std::string clipboard;           // "剪贴板"
    std::string printers;            // "打印机"
    std::string serial_ports;        // "串行口"
    std::string smart_cards;         // "智能卡"
    std::string auto_reconnect;      // "重连"
    std::string forced_login;        // "强制模式": "0" admin, "1" console, "2" none
    std::string compression;         // "压缩"
    std::string connection_bar;      // "全屏栏"
    std::string desktop_background;  // "桌面背景"
    std::string desktop_theme;       // "桌面主题"
    std::string pnp_devices;         // "PnP设备"
    std::string audio_capture;       // "录音"
    std::string audio_mode;          // "音频播放": "0" here, "1" remote, "2" none
    std::string key_combinations;    // "组合键": "0" here, "1" remote, "2" full screen only

    bool operator==(const RemoteDesktopSettings&) const = default;
};

using RdpSettingField = std::string RemoteDesktopSettings::*;

// One key of the section and the field it is stored from.
struct RdpSettingKey {
    std::string_view key;
    RdpSettingField field;
};

inline constexpr std::string_view kRdpSection = "RDP";
inline constexpr std::string_view kRdpConfigFileName = "config.ini";

// The nineteen keys in the order every save writes them.
const std::array<RdpSettingKey, 19>& RdpSettingKeys();

// The key `field` is stored under.
std::string_view RdpKeyOf(RdpSettingField field);

// What the settings window shows when the file has no usable value, and so what its first
// save writes.
const RemoteDesktopSettings& RdpWindowDefaults();

// The one record of the process. UI thread only; it lives until the process ends.
RemoteDesktopSettings& CurrentRdpSettings();

// config.ini in the program folder; empty when there is no program folder (nothing is then
// read or written, rather than a file in whatever the current directory is).
std::filesystem::path RdpConfigFile();

// The value of `key` in section "RDP", read from the file anew on every call; empty when
// the file, the section or the key is missing. At most 10,239 GBK bytes of it arrive.
std::string ReadRdpSetting(std::string_view key);
// The value of the key `field` is stored under, read the same way.
std::string ReadRdpSetting(RdpSettingField field);

// Every key read anew, each into its field.
RemoteDesktopSettings ReadRemoteDesktopSettings();

// Writes the nineteen keys in the order of RdpSettingKeys, as one replacement of the file.
// Each key's line is replaced or added, and file and section are created as needed; the
// rest of the file is left alone. When the batch is refused the keys are written one at a
// time, so a key that cannot be written costs only itself. True when every key was
// written; false when any was not, or there is no program folder.
[[nodiscard]] bool SaveRemoteDesktopSettings(const RemoteDesktopSettings& record);

// What a stored field contributes to its connection-file line: "1" for an empty
// "剪贴板", "全屏栏" or "重连"; "桌面背景" and "桌面主题" inverted ("1" -> "0", "0" -> "1",
// anything else verbatim); every other field verbatim. The window size comes from
// RdpWindowDimensions and the login switch from ForcedLoginSwitch.
std::string RdpFileValue(const RemoteDesktopSettings& stored, RdpSettingField field);

struct RdpWindowSize {
    std::string width;
    std::string height;
    bool operator==(const RdpWindowSize&) const = default;
};

// "W×H" split at the "×": the first piece is the width, the second the height. An empty
// text, and a text that does not give two pieces (no "×", or nothing after it; only a
// hand edit makes one), gives "800" and "600".
RdpWindowSize RdpWindowDimensions(const std::string& stored_resolution);

// The text after the connection file's path on the client's command line: " /admin " for
// "0", " /console " for "1", " " for "2"; nullopt for any other text.
std::optional<std::string> ForcedLoginSwitch(std::string_view stored);

struct ResolutionChoice {
    std::string stored;  // "800×600"
    int width;
    int height;
    int position;  // of the size slider
    std::string label;
};

struct ColorDepthChoice {
    std::string stored;  // "32"
    int position;        // of the colour slider
    std::string label;
};

// Slider order. The size slider's position 60 (full screen) has no entry.
const std::vector<ResolutionChoice>& ResolutionChoices();
const std::vector<ColorDepthChoice>& ColorDepthChoices();

// The entry whose stored text equals `stored` exactly, or nullptr.
const ResolutionChoice* FindResolution(std::string_view stored);
const ColorDepthChoice* FindColorDepth(std::string_view stored);
// The entry at a slider position, or nullptr.
const ResolutionChoice* ResolutionAt(int position);
const ColorDepthChoice* ColorDepthAt(int position);

}  // namespace vpsdesk::rdpsettings
