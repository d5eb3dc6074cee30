#pragma once
// What the settings window's controls show, as plain data, and the rules that move it
// between the file, the record and the controls. The window only copies this to and from
// its widgets.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/MountedDrives.h"
#include "rdpsettings/RemoteDesktopSettings.h"

namespace vpsdesk::rdpsettings {

inline constexpr int kSliderStep = 10;
inline constexpr int kColourSliderMax = 40;
inline constexpr int kSizeSliderMax = 60;  // full screen
inline constexpr std::string_view kFullScreenLabel = "全屏模式";
inline constexpr std::string_view kEmptyDriveListTip = "磁盘列表为空!";

// One row of the drive list: the entry stored in "本地驱动器" (a mount point here), the
// volume label and the file-system type.
struct DriveRow {
    std::string root;
    std::string label;
    std::string type;
    bool ticked = false;
    bool operator==(const DriveRow&) const = default;
};

// Members start at the window's defaults.
struct SettingsForm {
    bool full_screen = false;  // "全屏模式" selected, else "窗口模式"
    int size_position = 0;
    int colour_position = 40;
    bool connection_bar = true;
    bool map_drives = false;
    bool drive_list_enabled = false;
    std::vector<DriveRow> drives;
    // Stored entries whose drive is not mounted now: not shown, but kept in the saved
    // value, so a drive that comes back is still chosen.
    std::vector<std::string> unlisted_drives;
    bool clipboard = true;
    bool printers = false;
    bool serial_ports = false;
    bool smart_cards = false;
    bool pnp_devices = false;
    bool auto_reconnect = true;
    bool compression = true;
    bool desktop_background = true;
    bool desktop_theme = false;
    bool audio_capture = false;
    int forced_login = 2;      // "WinXP2以上", "WinXP2以下", "不使用"
    int audio_mode = 2;        // client, host, none
    int key_combinations = 2;  // local, remote, full screen only
    bool operator==(const SettingsForm&) const = default;
};

using DriveLister = std::function<std::vector<os::MountedDrive>()>;

// The rows for `drives`, unticked. A mount point that "本地驱动器" could not hold (one with
// ";" in it, or a character GBK lacks) is left out: ticking it could never be saved.
std::vector<DriveRow> DriveRowsFor(const std::vector<os::MountedDrive>& drives);

// Refills the rows from `list_drives` and ticks each row whose mount point "本地驱动器"
// names, wherever it stands in either list; the entries no row matches become
// `unlisted_drives`. The record's `drives` becomes the stored text. Returns the empty-list
// tip when there is no drive.
std::optional<std::string> FillDriveRows(SettingsForm& form, RemoteDesktopSettings& record,
                                         const DriveLister& list_drives);

// Reads the file's keys into `form` and `record`. A value that is none of the listed texts
// leaves its control as it is. The stored window size is read in full-screen mode too (see
// SizeToReturnTo), so a save never erases it. Returns the tips to show.
std::vector<std::string> LoadSettingsForm(SettingsForm& form, RemoteDesktopSettings& record,
                                          const DriveLister& list_drives);

// The window size that "窗口模式" returns to: the stored text when it is one of the
// choices, else the size the record holds when that is, else the first choice.
const ResolutionChoice& SizeToReturnTo(std::string_view stored, std::string_view held);

// The record as the closing window leaves it, before the save. `resolution` and
// `color_depth` are not touched: the sliders keep them up to date. The drives are the
// ticked rows in row order, then the unlisted entries.
void StoreSettingsForm(const SettingsForm& form, RemoteDesktopSettings& record);

// A colour slider stop sets the record's depth and gives the label; other positions change
// nothing.
std::optional<std::string> SyncColourPosition(int position, RemoteDesktopSettings& record);

// A size slider stop sets the record's resolution and gives the label; the full-screen end
// gives its label and leaves the resolution alone.
std::optional<std::string> SyncSizePosition(int position, RemoteDesktopSettings& record);

}  // namespace vpsdesk::rdpsettings
