// The remote-desktop settings window: what it shows for a given config.ini, what its
// clicks change and say, and the bytes it leaves in config.ini when it closes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "net/Gbk.h"
#include "os/ProgramFolder.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "ProgramFolderTest.h"
#include "rdpsettings/gui/DriveListBox.h"
#include "rdpsettings/gui/SettingsControls.h"
#include "rdpsettings/gui/SettingsWindow.h"
#include "ui/CaptionLabel.h"
#include "GuiTestSupport.h"

using namespace vpsdesk;
using namespace vpsdesk::rdpsettings;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDefaultsFile =
    "[RDP]\r\n窗口模式=1\r\n窗口数据=800×600\r\n监视器颜色=32\r\n磁盘映射=0\r\n本地驱动器=\r\n"
    "剪贴板=1\r\n打印机=0\r\n串行口=0\r\n智能卡=0\r\n重连=1\r\n强制模式=2\r\n压缩=1\r\n"
    "全屏栏=1\r\n桌面背景=1\r\n桌面主题=0\r\nPnP设备=0\r\n录音=0\r\n音频播放=2\r\n组合键=2\r\n";

class RdpSettingsWindowTest : public test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        CurrentRdpSettings() = {};
        UseDrives({"/", "/data", "/srv"});
    }
    void TearDown() override {
        SettingsWindow::SetDriveLister({});
        ProgramFolderTest::TearDown();
    }

    static void UseDrives(std::vector<std::string> roots) {
        SettingsWindow::SetDriveLister([roots] {
            std::vector<os::MountedDrive> drives;
            for (const auto& root : roots) drives.push_back({root, "", "ext4", "/dev/vda"});
            return drives;
        });
    }
    void Put(std::string_view utf8) const { PutConfig(utf8); }
    std::string File() const { return ConfigText(); }
    static std::string Key(std::string_view key) { return ReadRdpSetting(key); }

    static void Close(SettingsWindow& window) {
        if (!window.isVisible()) window.show();
        window.close();
    }

};

QString Label(QLabel* label) {
    return label->text();
}

}  // namespace

TEST_F(RdpSettingsWindowTest, FirstCloseWithoutConfigWritesTheDefaultsInOrder) {
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("功能设置"));
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_EQ(c.size_slider->value(), 0);
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式800×600"));
    EXPECT_EQ(c.colour_slider->value(), 40);
    EXPECT_EQ(Label(c.colour_label), QStringLiteral("监视器32位真彩色"));
    EXPECT_EQ(c.drive_list->rowCount(), 0);  // no file: the list is not filled
    EXPECT_FALSE(c.drive_list->isEnabled());

    // Closed by its caption while running modally, as the user does it.
    QTimer::singleShot(0, &window, [&] { QTest::mouseClick(window.CloseLabel(), Qt::LeftButton); });
    window.exec();
    EXPECT_EQ(File(), kDefaultsFile);
    EXPECT_EQ(window.TipsShown(), (QStringList{"系统设置", "系统配置修改成功!"}));
}

TEST_F(RdpSettingsWindowTest, StoredWindowSizeMovesTheSizeSlider) {
    Put("[RDP]\r\n窗口模式=1\r\n窗口数据=1440×900\r\n");
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    EXPECT_EQ(c.size_slider->value(), 40);
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式1440×900"));
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_FALSE(c.full_screen->isChecked());
}

TEST_F(RdpSettingsWindowTest, FullScreenKeepsTheStoredWindowSize) {
    Put("[RDP]\r\n窗口模式=0\r\n窗口数据=1024×768\r\n");
    {
        SettingsWindow window;
        const SettingsControls& c = window.Controls();
        EXPECT_EQ(c.size_slider->value(), 60);
        EXPECT_EQ(Label(c.size_label), QStringLiteral("全屏模式"));
        EXPECT_TRUE(c.full_screen->isChecked());
        Close(window);
    }
    EXPECT_EQ(Key("窗口模式"), "0");
    EXPECT_EQ(Key("窗口数据"), "1024×768");

    // Reopened, the window mode returns to that size.
    CurrentRdpSettings() = {};
    SettingsWindow again;
    const SettingsControls& c = again.Controls();
    c.window_mode->click();
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_EQ(c.size_slider->value(), 10);
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式1024×768"));
    Close(again);
    EXPECT_EQ(Key("窗口模式"), "1");
    EXPECT_EQ(Key("窗口数据"), "1024×768");
}

TEST_F(RdpSettingsWindowTest, SizeSliderDrivesTheDisplayModeButtons) {
    Put("[RDP]\r\n窗口模式=0\r\n");
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    c.size_slider->setValue(30);
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式1280×1024"));
    c.size_slider->setValue(60);
    EXPECT_TRUE(c.full_screen->isChecked());
    EXPECT_EQ(Label(c.size_label), QStringLiteral("全屏模式"));
    // A drag that stops between marks settles on the nearest one.
    c.size_slider->setSliderDown(true);
    c.size_slider->setSliderPosition(33);
    c.size_slider->setSliderDown(false);
    EXPECT_EQ(c.size_slider->value(), 30);
    EXPECT_TRUE(c.window_mode->isChecked());
    Close(window);
    EXPECT_EQ(Key("窗口模式"), "1");
    EXPECT_EQ(Key("窗口数据"), "1280×1024");
}

TEST_F(RdpSettingsWindowTest, WindowModeButtonTakesTheStoredSize) {
    Put("[RDP]\r\n窗口模式=0\r\n");
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    c.window_mode->click();  // nothing stored: the first size, and window mode as asked
    EXPECT_EQ(c.size_slider->value(), 0);
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_FALSE(c.full_screen->isChecked());
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式800×600"));
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("远程窗口模式被开启"));

    Put("[RDP]\r\n窗口模式=0\r\n窗口数据=1024×768\r\n");
    c.window_mode->click();
    EXPECT_EQ(c.size_slider->value(), 10);
    EXPECT_TRUE(c.window_mode->isChecked());
    EXPECT_EQ(Label(c.size_label), QStringLiteral("窗口模式1024×768"));

    c.full_screen->click();
    EXPECT_EQ(c.size_slider->value(), 60);
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("远程全屏模式被开启"));
}

TEST_F(RdpSettingsWindowTest, UnlistedColourDepthFallsBackToThirtyTwo) {
    Put("[RDP]\r\n监视器颜色=15\r\n");
    SettingsWindow window;
    EXPECT_EQ(window.Controls().colour_slider->value(), 40);
    EXPECT_EQ(Label(window.Controls().colour_label), QStringLiteral("监视器32位真彩色"));
    window.Controls().colour_slider->setValue(30);
    EXPECT_EQ(Label(window.Controls().colour_label), QStringLiteral("监视器24位真彩色"));
    window.Controls().colour_slider->setValue(40);
    Close(window);
    EXPECT_EQ(Key("监视器颜色"), "32");
}

TEST_F(RdpSettingsWindowTest, StoredDrivesAreTickedByMountPoint) {
    // The mounts come in another order than they were saved in, and one is gone.
    UseDrives({"/srv", "/data", "/"});
    Put("[RDP]\r\n磁盘映射=1\r\n本地驱动器=/;/usb;/data;\r\n");
    {
        SettingsWindow window;
        const SettingsControls& c = window.Controls();
        auto rows = c.drive_list->Rows();
        ASSERT_EQ(rows.size(), 3u);  // the drive that is gone is not shown
        EXPECT_FALSE(rows[0].ticked);
        EXPECT_TRUE(rows[1].ticked);
        EXPECT_TRUE(rows[2].ticked);
        EXPECT_TRUE(c.drive_list->isEnabled());
        c.drive_list->SetTicked(0, true);
        c.drive_list->SetTicked(1, false);
        Close(window);
    }
    EXPECT_EQ(Key("本地驱动器"), "/srv;/;/usb;");

    // Mounted again, it is ticked again; the refill that ticking "磁盘映射" does keeps it too.
    UseDrives({"/usb", "/"});
    SettingsWindow window;
    auto rows = window.Controls().drive_list->Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].ticked);
    EXPECT_TRUE(rows[1].ticked);
    UseDrives({"/"});
    window.Controls().map_drives->click();
    window.Controls().map_drives->click();
    EXPECT_EQ(window.Controls().drive_list->rowCount(), 1);
    Close(window);
    EXPECT_EQ(Key("本地驱动器"), "/;/srv;/usb;");
}

TEST_F(RdpSettingsWindowTest, TickedRowsAreStoredInRowOrder) {
    Put("[RDP]\r\n磁盘映射=1\r\n");
    SettingsWindow window;
    ASSERT_EQ(window.Controls().drive_list->rowCount(), 3);
    window.Controls().drive_list->SetTicked(2, true);
    window.Controls().drive_list->SetTicked(0, true);
    Close(window);
    EXPECT_EQ(Key("本地驱动器"), "/;/srv;");
    EXPECT_EQ(Key("磁盘映射"), "1");
    EXPECT_EQ(Key("智能卡"), "1");
}

TEST_F(RdpSettingsWindowTest, SmartCardsAndDriveMappingGoTogether) {
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    c.smart_cards->click();
    EXPECT_TRUE(c.map_drives->isChecked());
    EXPECT_TRUE(c.drive_list->isEnabled());
    EXPECT_EQ(c.drive_list->rowCount(), 3);
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("远程智能卡被开启!"));

    c.map_drives->click();
    EXPECT_FALSE(c.smart_cards->isChecked());
    EXPECT_FALSE(c.drive_list->isEnabled());
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("磁盘映射被关闭!"));

    UseDrives({});
    c.map_drives->click();
    EXPECT_TRUE(c.smart_cards->isChecked());
    EXPECT_EQ(window.TipsShown().mid(window.TipsShown().size() - 2),
              (QStringList{"磁盘映射被开启,请在安全环境使用!", "磁盘列表为空!"}));
    c.smart_cards->click();
    EXPECT_FALSE(c.map_drives->isChecked());
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("远程智能卡被关闭!"));

    c.smart_cards->click();  // ticked again, with the drive list empty
    Close(window);
    EXPECT_EQ(Key("磁盘映射"), "1");
    EXPECT_EQ(Key("智能卡"), "1");
    EXPECT_EQ(Key("本地驱动器"), "");
}

TEST_F(RdpSettingsWindowTest, EveryClickSaysWhatItChanged) {
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    c.desktop_theme->click();
    c.desktop_theme->click();
    c.clipboard->click();
    c.forced_login[0]->click();
    c.audio_mode[1]->click();
    c.key_combinations[2]->click();
    EXPECT_EQ(
        window.TipsShown().mid(1),
        (QStringList{"远程桌面主题被开启!", "远程磁桌面主题关闭!", "远程剪贴板被关闭!",
                     "远程强制连接admin被开启!", "在本机播放声音被开启!", "全屏组合键被开启!"}));
}

TEST_F(RdpSettingsWindowTest, ThePnpBoxSaysASessionFromHereDoesNotCarryIt) {
    SettingsWindow window;
    EXPECT_EQ(window.Controls().pnp_devices->toolTip(),
              QStringLiteral("在本机连接远程桌面时不会转发 PnP 设备（此选项仍会保存）"));
}

TEST_F(RdpSettingsWindowTest, EverySettingRoundTripsThroughTheWindow) {
    Put("[RDP]\r\n磁盘映射=0\r\n");
    SettingsForm changed;
    changed.size_position = 50;
    changed.colour_position = 10;
    changed.connection_bar = false;
    changed.map_drives = changed.smart_cards = changed.drive_list_enabled = true;
    changed.drives = {
        {"/", "", "ext4", false}, {"/data", "", "ext4", true}, {"/srv", "", "ext4", true}};
    changed.clipboard = changed.auto_reconnect = changed.compression = false;
    changed.desktop_background = false;
    changed.desktop_theme = changed.printers = changed.serial_ports = true;
    changed.pnp_devices = changed.audio_capture = true;
    changed.forced_login = 1;
    changed.audio_mode = 0;
    changed.key_combinations = 1;
    {
        SettingsWindow window;
        // Shown as if clicked; the sliders' own events keep the record in step.
        window.Controls().Show(changed);
        window.Controls().size_slider->setValue(40);
        window.Controls().size_slider->setValue(50);
        window.Controls().colour_slider->setValue(0);
        window.Controls().colour_slider->setValue(10);
        Close(window);
    }
    EXPECT_EQ(
        File(),
        "[RDP]\r\n磁盘映射=1\r\n窗口模式=1\r\n窗口数据=1680×1050\r\n监视器颜色=8\r\n"
        "本地驱动器=/data;/srv;\r\n剪贴板=0\r\n打印机=1\r\n串行口=1\r\n智能卡=1\r\n重连=0\r\n"
        "强制模式=1\r\n压缩=0\r\n全屏栏=0\r\n桌面背景=0\r\n桌面主题=1\r\nPnP设备=1\r\n录音=1\r\n"
        "音频播放=0\r\n组合键=1\r\n");
    CurrentRdpSettings() = {};
    SettingsWindow reopened;
    EXPECT_EQ(reopened.Controls().Read(), changed);
}

// A folder in config.ini's place cannot be written, whoever runs the test.
TEST_F(RdpSettingsWindowTest, FailedSaveNamesTheFileAndKeepsTheWindowOpen) {
    Put("[RDP]\r\n剪贴板=1\r\n");
    const fs::path config = dir_ / "config.ini";
    SettingsWindow window;
    const SettingsControls& c = window.Controls();
    window.show();
    c.clipboard->click();
    c.size_slider->setValue(20);
    fs::remove(config);
    fs::create_directory(config);

    // "否": the window stays open with the customer's choices.
    ui::guitest::ModalClicker keep;
    keep.Arm(&window, QStringLiteral("messageBoxNo"));
    QTest::mouseClick(window.CloseLabel(), Qt::LeftButton);
    ASSERT_TRUE(keep.clicked);
    EXPECT_EQ(keep.title, QStringLiteral("错误"));
    EXPECT_TRUE(keep.text.contains(QString::fromStdString(config.string())))
        << keep.text.toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(c.clipboard->isChecked());
    EXPECT_EQ(c.size_slider->value(), 20);
    EXPECT_FALSE(window.TipsShown().contains(QStringLiteral("系统配置修改成功!")));

    // Once the file can be written, the next close saves what the window kept.
    fs::remove(config);
    QTest::mouseClick(window.CloseLabel(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Key("剪贴板"), "0");
    EXPECT_EQ(Key("窗口数据"), "1280×800");
    EXPECT_EQ(window.TipsShown().back(), QStringLiteral("系统配置修改成功!"));
}

TEST_F(RdpSettingsWindowTest, FailedSaveClosesWhenTheChangesAreGivenUp) {
    fs::create_directory(dir_ / "config.ini");
    SettingsWindow window;
    window.Controls().clipboard->click();
    ui::guitest::ModalClicker give_up;
    give_up.Arm(&window, QStringLiteral("messageBoxYes"));
    QTimer::singleShot(0, &window, [&] { QTest::mouseClick(window.CloseLabel(), Qt::LeftButton); });
    window.exec();  // returns: the window closed
    EXPECT_TRUE(give_up.clicked);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(fs::is_directory(dir_ / "config.ini"));
    EXPECT_FALSE(window.TipsShown().contains(QStringLiteral("系统配置修改成功!")));
}

TEST_F(RdpSettingsWindowTest, CentredOnTheLoginWindow) {
    QWidget login;
    login.setGeometry(100, 120, 700, 460);
    SettingsWindow window(&login);
    EXPECT_EQ(window.x(), 100 + 350 - window.width() / 2);
    EXPECT_EQ(window.y(), 120 + 230 - window.height() / 2);
}
