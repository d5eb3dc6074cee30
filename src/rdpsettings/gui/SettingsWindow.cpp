#include "rdpsettings/gui/SettingsWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <array>
#include <filesystem>
#include <utility>

#include "rdpsettings/gui/DriveListBox.h"
#include "rdpsettings/gui/SettingsControls.h"
#include "ui/BalloonTip.h"
#include "ui/MessageBoxes.h"
#include "ui/QtText.h"

namespace vpsdesk::rdpsettings {
namespace {

DriveLister& InstalledLister() {
    static DriveLister lister;
    return lister;
}

DriveLister CurrentLister() {
    if (InstalledLister()) return InstalledLister();
    return [] { return os::MountedDrives(); };
}

// The dark skin leaves unticked indicators invisible; these draw every state.
const char* const kIndicatorStyle =
    "QCheckBox::indicator, QRadioButton::indicator, QTableView::indicator {"
    " width: 12px; height: 12px; border: 1px solid #8A93AD; background: #272C3D; }"
    "QRadioButton::indicator { border-radius: 7px; }"
    "QCheckBox::indicator:checked, QTableView::indicator:checked {"
    " background: #2F6BFF; border-color: #2F6BFF; }"
    "QRadioButton::indicator:checked { border-color: #2F6BFF; background: qradialgradient("
    "cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0 #2F6BFF, stop:0.55 #2F6BFF,"
    " stop:0.65 #272C3D); }"
    "QCheckBox::indicator:disabled, QRadioButton::indicator:disabled,"
    " QTableView::indicator:disabled { border-color: #4A5066; }"
    "QTableView:disabled { color: #8A93AD; }";

// A dragged slider may stop between marks; it settles on the nearest one.
int NearestStop(int position) {
    return (position + kSliderStep / 2) / kSliderStep * kSliderStep;
}

}  // namespace

void SettingsWindow::SetDriveLister(DriveLister lister) {
    InstalledLister() = std::move(lister);
}

SettingsWindow::SettingsWindow(QWidget* centre_on, QWidget* parent)
    : ui::SkinnedWindow(parent), controls_(std::make_unique<SettingsControls>(this)) {
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(QStringLiteral("功能设置"));
    setStyleSheet(styleSheet() + QString::fromLatin1(kIndicatorStyle));
    setFixedSize(sizeHint().expandedTo(QSize(760, 0)));
    ConnectDisplay();
    ConnectDriveMapping();
    ConnectPlainBoxes();
    ConnectOptions();

    if (centre_on != nullptr) {
        const QRect login = centre_on->geometry();
        move(login.left() + login.width() / 2 - width() / 2,
             login.top() + login.height() / 2 - height() / 2);
    }
    ShowTip("系统设置");
    std::error_code ec;
    const std::filesystem::path file = RdpConfigFile();
    if (!file.empty() && std::filesystem::exists(file, ec)) LoadSettingsWindow();
    SyncColourSlider();
    SyncSizeSlider();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::done(int result) {
    // A save that failed keeps the window open with the customer's choices, unless he
    // gives them up.
    if (isVisible() && !StoreSettingsWindow()) return;
    ui::SkinnedWindow::done(result);
}

void SettingsWindow::LoadSettingsWindow() {
    SettingsForm form = controls_->Read();
    const std::vector<std::string> tips =
        LoadSettingsForm(form, CurrentRdpSettings(), CurrentLister());
    controls_->Show(form);
    for (const std::string& tip : tips) ShowTip(tip);
}

bool SettingsWindow::StoreSettingsWindow() {
    RemoteDesktopSettings& record = CurrentRdpSettings();
    StoreSettingsForm(controls_->Read(), record);
    if (SaveRemoteDesktopSettings(record)) {
        ShowTip("系统配置修改成功!");
        return true;
    }
    const std::filesystem::path file = RdpConfigFile();
    const std::string name = file.empty() ? std::string("config.ini") : file.string();
    const std::string text =
        "系统配置没有保存：无法写入 " + name + "\n关闭窗口将放弃这些修改，要关闭吗？";
    // Not shown (the client is ending): nothing is gained by staying open.
    return ui::ShowMessage(text, "错误", ui::MessageIcon::Warning, ui::MessageButtons::YesNo,
                           this) != ui::MessageResult::No;
}

void SettingsWindow::FillDriveList() {
    SettingsForm form;
    const std::optional<std::string> tip =
        FillDriveRows(form, CurrentRdpSettings(), CurrentLister());
    controls_->drive_list->SetRows(form.drives);
    controls_->drive_list->SetUnlisted(form.unlisted_drives);
    if (tip) ShowTip(*tip);
}

void SettingsWindow::SyncColourSlider() {
    if (auto label = SyncColourPosition(controls_->colour_slider->value(), CurrentRdpSettings()))
        controls_->colour_label->setText(ui::Qs(*label));
}

void SettingsWindow::SyncSizeSlider() {
    const int position = controls_->size_slider->value();
    if (auto label = SyncSizePosition(position, CurrentRdpSettings()))
        controls_->size_label->setText(ui::Qs(*label));
    const bool full_screen = position == controls_->size_slider->maximum();
    (full_screen ? controls_->full_screen : controls_->window_mode)->setChecked(true);
}

void SettingsWindow::ShowTip(std::string_view text) {
    tips_.push_back(ui::Qs(text));
    ui::ShowTip(text);
}

void SettingsWindow::ConnectDisplay() {
    SettingsControls& c = *controls_;
    for (QSlider* slider : {c.colour_slider, c.size_slider}) {
        auto sync = [this, slider] {
            if (slider == controls_->colour_slider) return SyncColourSlider();
            SyncSizeSlider();
        };
        connect(slider, &QSlider::valueChanged, this, sync);
        connect(slider, &QSlider::sliderReleased, this, [slider, sync] {
            const int stop = NearestStop(slider->value());
            if (stop != slider->value()) return slider->setValue(stop);  // syncs on the change
            sync();
        });
    }
    connect(c.window_mode, &QRadioButton::clicked, this, [this] {
        RemoteDesktopSettings& record = CurrentRdpSettings();
        // Always a size, so the window mode this click asks for is the one selected.
        const ResolutionChoice& choice =
            SizeToReturnTo(ReadRdpSetting(&RemoteDesktopSettings::resolution), record.resolution);
        record.resolution = choice.stored;
        controls_->size_slider->setValue(choice.position);
        SyncSizeSlider();
        ShowTip("远程窗口模式被开启");
    });
    connect(c.full_screen, &QRadioButton::clicked, this, [this] {
        controls_->size_slider->setValue(kSizeSliderMax);
        controls_->size_label->setText(ui::Qs(kFullScreenLabel));
        ShowTip("远程全屏模式被开启");
    });
}

void SettingsWindow::SetDriveMapping(bool on) {
    controls_->map_drives->setChecked(on);
    controls_->smart_cards->setChecked(on);
    controls_->drive_list->setEnabled(on);
}

void SettingsWindow::ConnectDriveMapping() {
    connect(controls_->map_drives, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked) {
            ShowTip("磁盘映射被开启,请在安全环境使用!");
            SetDriveMapping(true);
            FillDriveList();
        } else {
            SetDriveMapping(false);
            ShowTip("磁盘映射被关闭!");
        }
    });
    connect(controls_->smart_cards, &QCheckBox::clicked, this, [this](bool ticked) {
        SetDriveMapping(ticked);
        if (ticked) FillDriveList();
        ShowTip(ticked ? "远程智能卡被开启!" : "远程智能卡被关闭!");
    });
}

void SettingsWindow::ConnectPlainBoxes() {
    struct BoxTips {
        QCheckBox* box;
        const char* ticked;
        const char* unticked;
    };
    const SettingsControls& c = *controls_;
    const std::array<BoxTips, 10> boxes = {{
        {c.clipboard, "远程剪贴板开启!", "远程剪贴板被关闭!"},
        {c.auto_reconnect, "远程断开重连被开启!", "远程断开重连被关闭!"},
        {c.compression, "远程屏幕压缩被开启!", "远程屏幕压缩被关闭!"},
        {c.desktop_background, "远程桌面背景开启!", "远程桌面背景被关闭!"},
        {c.desktop_theme, "远程桌面主题被开启!", "远程磁桌面主题关闭!"},
        {c.connection_bar, "远程全屏连接栏被开启!", "远程全屏连接栏被关闭!"},
        {c.printers, "远程打印机被开启!", "远程打印机被关闭!"},
        {c.serial_ports, "远程串行口被开启!", "远程串行口被关闭!"},
        {c.pnp_devices, "远程PnP设备被开启!", "远程PnP设备被关闭!"},
        {c.audio_capture, "远程录音被开启!", "远程录音被关闭!"},
    }};
    for (const BoxTips& tips : boxes)
        connect(tips.box, &QCheckBox::clicked, this,
                [this, tips](bool ticked) { ShowTip(ticked ? tips.ticked : tips.unticked); });
}

void SettingsWindow::ConnectOptions() {
    using Tips = std::array<const char*, 3>;
    auto wire = [this](const std::array<QRadioButton*, 3>& buttons, const Tips& tips) {
        for (size_t i = 0; i < buttons.size(); ++i)
            connect(buttons[i], &QRadioButton::clicked, this,
                    [this, button = buttons[i], tip = tips[i]] {
                        if (button->isChecked()) ShowTip(tip);
                    });
    };
    const SettingsControls& c = *controls_;
    wire(c.forced_login,
         {"远程强制连接admin被开启!", "远程强制连接console被开启!", "远程强制连接被开启!"});
    wire(c.audio_mode, {"在客户机播放声音被开启!", "在本机播放声音被开启!", "远程播放声音被关闭!"});
    wire(c.key_combinations, {"本地组合键被开启!", "远程组合键被开启!", "全屏组合键被开启!"});
}

}  // namespace vpsdesk::rdpsettings
