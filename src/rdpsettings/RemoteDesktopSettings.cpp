#include "rdpsettings/RemoteDesktopSettings.h"

#include "net/Text.h"
#include "os/ProfileFile.h"
#include "os/ProgramFolder.h"

namespace vpsdesk::rdpsettings {
namespace {

using R = RemoteDesktopSettings;

constexpr std::string_view kSizeSeparator = "×";

}  // namespace

const std::array<RdpSettingKey, 19>& RdpSettingKeys() {
    static const std::array<RdpSettingKey, 19> keys = {{
        {"窗口模式", &R::window_mode},    {"窗口数据", &R::resolution},
        {"监视器颜色", &R::color_depth},  {"磁盘映射", &R::map_drives},
        {"本地驱动器", &R::drives},       {"剪贴板", &R::clipboard},
        {"打印机", &R::printers},         {"串行口", &R::serial_ports},
        {"智能卡", &R::smart_cards},      {"重连", &R::auto_reconnect},
        {"强制模式", &R::forced_login},   {"压缩", &R::compression},
        {"全屏栏", &R::connection_bar},   {"桌面背景", &R::desktop_background},
        {"桌面主题", &R::desktop_theme},  {"PnP设备", &R::pnp_devices},
        {"录音", &R::audio_capture},      {"音频播放", &R::audio_mode},
        {"组合键", &R::key_combinations},
    }};
    return keys;
}

std::string_view RdpKeyOf(RdpSettingField field) {
    for (const auto& key : RdpSettingKeys())
        if (key.field == field) return key.key;
    return {};  // unreachable: every field has its key
}

const RemoteDesktopSettings& RdpWindowDefaults() {
    static const RemoteDesktopSettings defaults = [] {
        RemoteDesktopSettings d;
        d.window_mode = "1";
        d.resolution = "800×600";
        d.color_depth = "32";
        d.map_drives = "0";
        d.clipboard = "1";
        d.printers = "0";
        d.serial_ports = "0";
        d.smart_cards = "0";
        d.auto_reconnect = "1";
        d.forced_login = "2";
        d.compression = "1";
        d.connection_bar = "1";
        d.desktop_background = "1";
        d.desktop_theme = "0";
        d.pnp_devices = "0";
        d.audio_capture = "0";
        d.audio_mode = "2";
        d.key_combinations = "2";
        return d;
    }();
    return defaults;
}

RemoteDesktopSettings& CurrentRdpSettings() {
    // Never destroyed: a window or launch still running at exit may touch it.
    static auto* record = new RemoteDesktopSettings();
    return *record;
}

std::filesystem::path RdpConfigFile() {
    std::filesystem::path folder = os::ProgramFolder();
    if (folder.empty()) return {};
    return folder / kRdpConfigFileName;
}

std::string ReadRdpSetting(std::string_view key) {
    const std::filesystem::path file = RdpConfigFile();
    if (file.empty()) return {};
    return os::ReadProfileString(file, kRdpSection, key);
}

std::string ReadRdpSetting(RdpSettingField field) {
    return ReadRdpSetting(RdpKeyOf(field));
}

RemoteDesktopSettings ReadRemoteDesktopSettings() {
    RemoteDesktopSettings record;
    const std::filesystem::path file = RdpConfigFile();
    if (file.empty()) return record;
    std::vector<std::string_view> keys;
    for (const auto& [key, field] : RdpSettingKeys()) keys.push_back(key);
    // One reading of the file for all nineteen: the same moment's values, and a large file
    // read once.
    std::vector<std::string> values = os::ReadProfileStrings(file, kRdpSection, keys);
    for (size_t i = 0; i < keys.size(); ++i)
        record.*RdpSettingKeys()[i].field = std::move(values[i]);
    return record;
}

bool SaveRemoteDesktopSettings(const RemoteDesktopSettings& record) {
    const std::filesystem::path file = RdpConfigFile();
    if (file.empty()) return false;
    // One replacement of the file for all nineteen, so a save cut short (a crash, a kill)
    // leaves the old settings or the new ones, never a mixture, and a large file is
    // rewritten once rather than nineteen times.
    os::ProfileValues values;
    for (const auto& [key, field] : RdpSettingKeys()) values.emplace_back(key, record.*field);
    if (os::WriteProfileStrings(file, kRdpSection, values)) return true;
    // Refused as a whole: one key at a time, so a value that cannot be stored costs only
    // its own key.
    bool all_written = true;
    for (const auto& [key, field] : RdpSettingKeys())
        if (!os::WriteProfileString(file, kRdpSection, key, record.*field)) all_written = false;
    return all_written;
}

std::string RdpFileValue(const RemoteDesktopSettings& stored, RdpSettingField field) {
    const std::string& value = stored.*field;
    if (field == &R::clipboard || field == &R::connection_bar || field == &R::auto_reconnect)
        return value.empty() ? "1" : value;
    if (field == &R::desktop_background || field == &R::desktop_theme) {
        // The file says what is shown; the connection file says what is disabled.
        if (value == "1") return "0";
        if (value == "0") return "1";
    }
    return value;
}

RdpWindowSize RdpWindowDimensions(const std::string& stored_resolution) {
    const std::vector<std::string> pieces = net::SplitText(stored_resolution, kSizeSeparator);
    if (pieces.size() < 2) return {"800", "600"};
    return {pieces[0], pieces[1]};
}

std::optional<std::string> ForcedLoginSwitch(std::string_view stored) {
    if (stored == "0") return " /admin ";
    if (stored == "1") return " /console ";
    if (stored == "2") return " ";
    return std::nullopt;
}

const std::vector<ResolutionChoice>& ResolutionChoices() {
    static const std::vector<ResolutionChoice> choices = {
        {"800×600", 800, 600, 0, "窗口模式800×600"},
        {"1024×768", 1024, 768, 10, "窗口模式1024×768"},
        {"1280×800", 1280, 800, 20, "窗口模式1280×800"},
        {"1280×1024", 1280, 1024, 30, "窗口模式1280×1024"},
        {"1440×900", 1440, 900, 40, "窗口模式1440×900"},
        {"1680×1050", 1680, 1050, 50, "窗口模式1680×1050"},
    };
    return choices;
}

const std::vector<ColorDepthChoice>& ColorDepthChoices() {
    static const std::vector<ColorDepthChoice> choices = {
        {"4", 0, "监视器4位颜色"},      {"8", 10, "监视器8位颜色"},
        {"16", 20, "监视器16位颜色"},   {"24", 30, "监视器24位真彩色"},
        {"32", 40, "监视器32位真彩色"},
    };
    return choices;
}

const ResolutionChoice* FindResolution(std::string_view stored) {
    for (const auto& choice : ResolutionChoices())
        if (choice.stored == stored) return &choice;
    return nullptr;
}

const ColorDepthChoice* FindColorDepth(std::string_view stored) {
    for (const auto& choice : ColorDepthChoices())
        if (choice.stored == stored) return &choice;
    return nullptr;
}

const ResolutionChoice* ResolutionAt(int position) {
    for (const auto& choice : ResolutionChoices())
        if (choice.position == position) return &choice;
    return nullptr;
}

const ColorDepthChoice* ColorDepthAt(int position) {
    for (const auto& choice : ColorDepthChoices())
        if (choice.position == position) return &choice;
    return nullptr;
}

}  // namespace vpsdesk::rdpsettings
