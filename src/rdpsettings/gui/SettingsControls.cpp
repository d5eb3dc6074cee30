#include "rdpsettings/gui/SettingsControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "rdpsettings/gui/DriveListBox.h"

namespace vpsdesk::rdpsettings {
namespace {

QSlider* MakeSlider(QWidget* parent, const char* name, int maximum) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(0, maximum);
    slider->setSingleStep(kSliderStep);
    slider->setPageStep(kSliderStep);
    slider->setTickInterval(kSliderStep);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QCheckBox* MakeBox(QWidget* parent, const char* caption) {
    return new QCheckBox(QString::fromUtf8(caption), parent);
}

void Check(QRadioButton* button) {
    button->setChecked(true);
}

// An exclusive group always has a selection once a form has been shown; the last option
// ("no switch", "no sound", "full screen only") is the harmless answer otherwise.
int Selected(const QButtonGroup* group) {
    return group->checkedId() < 0 ? 2 : group->checkedId();
}

}  // namespace

SettingsControls::SettingsControls(QWidget* window) {
    auto* columns = new QHBoxLayout();
    auto* left = new QVBoxLayout();
    left->addWidget(BuildDisplay(window));
    left->addWidget(BuildOptions(window, "远程桌面强制登录选项", forced_login, forced_login_group,
                                 {"WinXP2以上", "WinXP2以下", "不使用"}));
    left->addWidget(BuildOptions(window, "远程音频播放选项", audio_mode, audio_mode_group,
                                 {"在客户端计算机上播放声音", "在主计算机上播放声音", "不播放声音"},
                                 &audio_capture, "录制远程声音"));
    auto* right = new QVBoxLayout();
    right->addWidget(BuildResources(window));
    right->addWidget(
        BuildOptions(window, "远程Windows 组合键", key_combinations, key_combinations_group,
                     {"在本地计算机上应用", "在远程计算机上应用", "只在全屏模式下应用"}));
    right->addStretch();
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(16, 8, 16, 16);
    auto* title = new QLabel(QStringLiteral("功能设置"), window);
    title->setObjectName(QStringLiteral("titleLabel"));
    title->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: bold;"));
    outer->addWidget(title);
    outer->addLayout(columns);
    Show(SettingsForm{});
}

QWidget* SettingsControls::BuildDisplay(QWidget* window) {
    auto* group = new QGroupBox(QStringLiteral("显示设置"), window);
    group->setObjectName(QStringLiteral("displayGroup"));
    window_mode = new QRadioButton(QStringLiteral("窗口模式"), group);
    full_screen = new QRadioButton(QStringLiteral("全屏模式"), group);
    display_group = new QButtonGroup(group);
    display_group->addButton(window_mode, 1);
    display_group->addButton(full_screen, 0);
    colour_slider = MakeSlider(group, "colourSlider", kColourSliderMax);
    colour_label = new QLabel(group);
    colour_label->setObjectName(QStringLiteral("colourLabel"));
    size_slider = MakeSlider(group, "sizeSlider", kSizeSliderMax);
    size_label = new QLabel(group);
    size_label->setObjectName(QStringLiteral("sizeLabel"));
    connection_bar = MakeBox(group, "显示全屏连接栏");

    auto* layout = new QGridLayout(group);
    layout->addWidget(window_mode, 0, 0);
    layout->addWidget(full_screen, 0, 1);
    layout->addWidget(colour_slider, 1, 0, 1, 2);
    layout->addWidget(colour_label, 2, 0, 1, 2);
    layout->addWidget(size_slider, 3, 0, 1, 2);
    layout->addWidget(size_label, 4, 0, 1, 2);
    layout->addWidget(connection_bar, 5, 0, 1, 2);
    return group;
}

QWidget* SettingsControls::BuildResources(QWidget* window) {
    auto* group = new QGroupBox(QStringLiteral("本地资源"), window);
    group->setObjectName(QStringLiteral("resourcesGroup"));
    drive_list = new DriveListBox(group);
    drive_list->setMinimumHeight(110);
    map_drives = MakeBox(group, "磁盘映射");
    clipboard = MakeBox(group, "剪贴板");
    auto_reconnect = MakeBox(group, "断开重连");
    compression = MakeBox(group, "屏幕压缩");
    desktop_background = MakeBox(group, "显示桌面背景");
    desktop_theme = MakeBox(group, "显示桌面主题");
    printers = MakeBox(group, "打印机");
    serial_ports = MakeBox(group, "串行口");
    smart_cards = MakeBox(group, "智能卡");
    pnp_devices = MakeBox(group, "PnP设备");
    // xfreerdp has nothing that carries this choice; it is kept for other clients.
    pnp_devices->setToolTip(QString::fromUtf8(kPnpDevicesNotCarried));

    auto* layout = new QGridLayout(group);
    layout->addWidget(drive_list, 0, 0, 1, 2);
    const std::array<QCheckBox*, 10> boxes = {
        map_drives,    clipboard, auto_reconnect, compression, desktop_background,
        desktop_theme, printers,  serial_ports,   smart_cards, pnp_devices};
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i)
        layout->addWidget(boxes[static_cast<size_t>(i)], 1 + i / 2, i % 2);
    return group;
}

QWidget* SettingsControls::BuildOptions(QWidget* window, const char* title,
                                        std::array<QRadioButton*, 3>& buttons, QButtonGroup*& group,
                                        const std::array<const char*, 3>& captions,
                                        QCheckBox** extra_box, const char* extra_caption) {
    auto* box = new QGroupBox(QString::fromUtf8(title), window);
    auto* layout = new QVBoxLayout(box);
    if (extra_box != nullptr) {
        *extra_box = MakeBox(box, extra_caption);
        layout->addWidget(*extra_box);
    }
    group = new QButtonGroup(box);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(captions[static_cast<size_t>(i)]), box);
        group->addButton(button, i);
        layout->addWidget(button);
        buttons[static_cast<size_t>(i)] = button;
    }
    return box;
}

void SettingsControls::Show(const SettingsForm& form) {
    Check(form.full_screen ? full_screen : window_mode);
    {
        const QSignalBlocker colour(colour_slider), size(size_slider);
        colour_slider->setValue(form.colour_position);
        size_slider->setValue(form.size_position);
    }
    connection_bar->setChecked(form.connection_bar);
    map_drives->setChecked(form.map_drives);
    drive_list->setEnabled(form.drive_list_enabled);
    drive_list->SetRows(form.drives);
    drive_list->SetUnlisted(form.unlisted_drives);
    clipboard->setChecked(form.clipboard);
    printers->setChecked(form.printers);
    serial_ports->setChecked(form.serial_ports);
    smart_cards->setChecked(form.smart_cards);
    pnp_devices->setChecked(form.pnp_devices);
    auto_reconnect->setChecked(form.auto_reconnect);
    compression->setChecked(form.compression);
    desktop_background->setChecked(form.desktop_background);
    desktop_theme->setChecked(form.desktop_theme);
    audio_capture->setChecked(form.audio_capture);
    Check(forced_login[static_cast<size_t>(form.forced_login)]);
    Check(audio_mode[static_cast<size_t>(form.audio_mode)]);
    Check(key_combinations[static_cast<size_t>(form.key_combinations)]);
}

SettingsForm SettingsControls::Read() const {
    SettingsForm form;
    form.full_screen = full_screen->isChecked();
    form.size_position = size_slider->value();
    form.colour_position = colour_slider->value();
    form.connection_bar = connection_bar->isChecked();
    form.map_drives = map_drives->isChecked();
    form.drive_list_enabled = drive_list->isEnabled();
    form.drives = drive_list->Rows();
    form.unlisted_drives = drive_list->Unlisted();
    form.clipboard = clipboard->isChecked();
    form.printers = printers->isChecked();
    form.serial_ports = serial_ports->isChecked();
    form.smart_cards = smart_cards->isChecked();
    form.pnp_devices = pnp_devices->isChecked();
    form.auto_reconnect = auto_reconnect->isChecked();
    form.compression = compression->isChecked();
    form.desktop_background = desktop_background->isChecked();
    form.desktop_theme = desktop_theme->isChecked();
    form.audio_capture = audio_capture->isChecked();
    form.forced_login = Selected(forced_login_group);
    form.audio_mode = Selected(audio_mode_group);
    form.key_combinations = Selected(key_combinations_group);
    return form;
}

}  // namespace vpsdesk::rdpsettings
