#pragma once
// The settings window's controls, laid out in their groups, and the copy of a
// SettingsForm into them and back. No behaviour: the window wires the events.
#include <array>

#include "rdpsettings/SettingsForm.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QWidget;

namespace vpsdesk::rdpsettings {

class DriveListBox;

// The "PnP设备" box's tip: a session from this computer does not carry the choice.
inline constexpr const char* kPnpDevicesNotCarried =
    "在本机连接远程桌面时不会转发 PnP 设备（此选项仍会保存）";

class SettingsControls {
  public:
    // Builds every control inside `window`, which owns them.
    explicit SettingsControls(QWidget* window);

    // Every control shows `form`. The sliders move with their signals blocked: the
    // caller synchronises labels and record afterwards.
    void Show(const SettingsForm& form);
    SettingsForm Read() const;

    QRadioButton* window_mode = nullptr;
    QRadioButton* full_screen = nullptr;
    QSlider* colour_slider = nullptr;
    QLabel* colour_label = nullptr;
    QSlider* size_slider = nullptr;
    QLabel* size_label = nullptr;
    QCheckBox* connection_bar = nullptr;

    DriveListBox* drive_list = nullptr;
    QCheckBox* map_drives = nullptr;
    QCheckBox* clipboard = nullptr;
    QCheckBox* auto_reconnect = nullptr;
    QCheckBox* compression = nullptr;
    QCheckBox* desktop_background = nullptr;
    QCheckBox* desktop_theme = nullptr;
    QCheckBox* printers = nullptr;
    QCheckBox* serial_ports = nullptr;
    QCheckBox* smart_cards = nullptr;
    QCheckBox* pnp_devices = nullptr;

    QCheckBox* audio_capture = nullptr;
    // Each group's buttons in the order of their stored values "0", "1", "2".
    std::array<QRadioButton*, 3> forced_login{};
    std::array<QRadioButton*, 3> audio_mode{};
    std::array<QRadioButton*, 3> key_combinations{};

    QButtonGroup* display_group = nullptr;
    QButtonGroup* forced_login_group = nullptr;
    QButtonGroup* audio_mode_group = nullptr;
    QButtonGroup* key_combinations_group = nullptr;

  private:
    QWidget* BuildDisplay(QWidget* window);
    QWidget* BuildResources(QWidget* window);
    QWidget* BuildOptions(QWidget* window, const char* title, std::array<QRadioButton*, 3>& buttons,
                          QButtonGroup*& group, const std::array<const char*, 3>& captions,
                          QCheckBox** extra_box = nullptr, const char* extra_caption = nullptr);
};

}  // namespace vpsdesk::rdpsettings
