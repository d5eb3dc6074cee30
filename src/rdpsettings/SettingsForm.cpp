#include "rdpsettings/SettingsForm.h"

#include <algorithm>
#include <utility>

#include "net/Gbk.h"
#include "net/Text.h"

namespace vpsdesk::rdpsettings {
namespace {

using R = RemoteDesktopSettings;
using F = SettingsForm;

// The check boxes and option groups that each show one stored field as it stands.
constexpr std::pair<RdpSettingField, bool F::*> kSwitches[] = {
    {&R::connection_bar, &F::connection_bar},
    {&R::clipboard, &F::clipboard},
    {&R::printers, &F::printers},
    {&R::serial_ports, &F::serial_ports},
    {&R::pnp_devices, &F::pnp_devices},
    {&R::auto_reconnect, &F::auto_reconnect},
    {&R::compression, &F::compression},
    {&R::desktop_background, &F::desktop_background},
    {&R::desktop_theme, &F::desktop_theme},
    {&R::audio_capture, &F::audio_capture},
};
constexpr std::pair<RdpSettingField, int F::*> kOptions[] = {
    {&R::forced_login, &F::forced_login},
    {&R::audio_mode, &F::audio_mode},
    {&R::key_combinations, &F::key_combinations},
};

// "0" / "1" set a check box; anything else leaves it.
void ApplySwitch(const std::string& value, bool& box) {
    if (value == "0") box = false;
    if (value == "1") box = true;
}

// "0", "1", "2" select one option button of a group; anything else leaves the group.
void ApplyOption(const std::string& value, int& selected) {
    if (value == "0" || value == "1" || value == "2") selected = value[0] - '0';
}

std::string Switch(bool on) {
    return on ? "1" : "0";
}

std::string Option(int selected) {
    return std::to_string(selected);
}

bool Storable(const std::string& entry) {
    if (entry.empty() || entry.find_first_of(std::string_view(";\r\n\0", 4)) != std::string::npos)
        return false;
    return net::GbkToUtf8(net::Utf8ToGbk(entry)) == entry;
}

}  // namespace

std::vector<DriveRow> DriveRowsFor(const std::vector<os::MountedDrive>& drives) {
    std::vector<DriveRow> rows;
    for (const auto& drive : drives)
        if (Storable(drive.mount_point))
            rows.push_back({drive.mount_point, drive.label, drive.type});
    return rows;
}

std::optional<std::string> FillDriveRows(SettingsForm& form, RemoteDesktopSettings& record,
                                         const DriveLister& list_drives) {
    form.drives = DriveRowsFor(list_drives ? list_drives() : std::vector<os::MountedDrive>{});
    form.unlisted_drives.clear();
    record.drives = ReadRdpSetting(&R::drives);
    // The entries are mount points, so they are matched by name: the order of the mounts
    // may change between runs, and a drive not mounted now must not lose its tick.
    for (const std::string& entry : net::SplitText(record.drives, ";")) {
        if (entry.empty()) continue;
        auto row = std::find_if(form.drives.begin(), form.drives.end(),
                                [&](const DriveRow& r) { return r.root == entry; });
        if (row != form.drives.end())
            row->ticked = true;
        else if (std::find(form.unlisted_drives.begin(), form.unlisted_drives.end(), entry) ==
                 form.unlisted_drives.end())
            form.unlisted_drives.push_back(entry);
    }
    if (form.drives.empty()) return std::string(kEmptyDriveListTip);
    return std::nullopt;
}

const ResolutionChoice& SizeToReturnTo(std::string_view stored, std::string_view held) {
    if (const ResolutionChoice* choice = FindResolution(stored)) return *choice;
    if (const ResolutionChoice* choice = FindResolution(held)) return *choice;
    return ResolutionChoices().front();
}

std::vector<std::string> LoadSettingsForm(SettingsForm& form, RemoteDesktopSettings& record,
                                          const DriveLister& list_drives) {
    std::vector<std::string> tips;
    // Every key from one reading of the file.
    const RemoteDesktopSettings stored = ReadRemoteDesktopSettings();
    record.window_mode = stored.window_mode;
    if (record.window_mode == "1") {
        form.full_screen = false;
        record.resolution = stored.resolution;
        if (const ResolutionChoice* choice = FindResolution(record.resolution))
            form.size_position = choice->position;
    } else if (record.window_mode == "0") {
        // The size is still read and kept: the save writes it back, and "窗口模式" needs
        // a size to return to.
        form.full_screen = true;
        form.size_position = kSizeSliderMax;
        record.resolution = SizeToReturnTo(stored.resolution, record.resolution).stored;
    }

    record.color_depth = stored.color_depth;
    if (const ColorDepthChoice* choice = FindColorDepth(record.color_depth))
        form.colour_position = choice->position;

    ApplySwitch(stored.map_drives, form.map_drives);
    ApplySwitch(stored.map_drives, form.drive_list_enabled);

    if (auto tip = FillDriveRows(form, record, list_drives)) tips.push_back(*tip);

    for (const auto& [field, box] : kSwitches) ApplySwitch(stored.*field, form.*box);
    // Shown as stored; the save makes it follow the drive mapping.
    ApplySwitch(stored.smart_cards, form.smart_cards);
    for (const auto& [field, group] : kOptions) ApplyOption(stored.*field, form.*group);
    return tips;
}

void StoreSettingsForm(const SettingsForm& form, RemoteDesktopSettings& record) {
    record.window_mode = form.full_screen ? "0" : "1";
    if (form.map_drives) {
        record.drives.clear();
        for (const DriveRow& row : form.drives)
            if (row.ticked) record.drives += row.root + ";";
        for (const std::string& entry : form.unlisted_drives) record.drives += entry + ";";
        // The smart-card box follows the drive mapping; its own state is not consulted.
        record.smart_cards = "1";
        record.map_drives = "1";
    } else {
        record.drives.clear();
        record.map_drives = "0";
        record.smart_cards = "0";
    }
    for (const auto& [field, box] : kSwitches) record.*field = Switch(form.*box);
    for (const auto& [field, group] : kOptions) record.*field = Option(form.*group);
}

std::optional<std::string> SyncColourPosition(int position, RemoteDesktopSettings& record) {
    const ColorDepthChoice* choice = ColorDepthAt(position);
    if (choice == nullptr) return std::nullopt;
    record.color_depth = choice->stored;
    return choice->label;
}

std::optional<std::string> SyncSizePosition(int position, RemoteDesktopSettings& record) {
    if (position == kSizeSliderMax) return std::string(kFullScreenLabel);
    const ResolutionChoice* choice = ResolutionAt(position);
    if (choice == nullptr) return std::nullopt;
    record.resolution = choice->stored;
    return choice->label;
}

}  // namespace vpsdesk::rdpsettings
