#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "ProgramFolderTest.h"
#include "net/Gbk.h"
#include "os/ProgramFolder.h"
#include "rdpsettings/RdpSettingValues.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "rdpsettings/SettingsForm.h"

using namespace vpsdesk::rdpsettings;
using vpsdesk::net::Utf8ToGbk;
using vpsdesk::os::MountedDrive;
namespace fs = std::filesystem;

namespace {

// The file the first close of the window writes, as UTF-8 (it is stored in GBK).
constexpr std::string_view kDefaultsFile =
    "[RDP]\r\n窗口模式=1\r\n窗口数据=800×600\r\n监视器颜色=32\r\n磁盘映射=0\r\n本地驱动器=\r\n"
    "剪贴板=1\r\n打印机=0\r\n串行口=0\r\n智能卡=0\r\n重连=1\r\n强制模式=2\r\n压缩=1\r\n"
    "全屏栏=1\r\n桌面背景=1\r\n桌面主题=0\r\nPnP设备=0\r\n录音=0\r\n音频播放=2\r\n组合键=2\r\n";

class RdpSettingsFile : public vpsdesk::test::ProgramFolderTest {
  protected:
    std::string Bytes() const { return TempFolderTest::Bytes(dir_ / "config.ini"); }
    void Put(std::string_view utf8) const { PutConfig(utf8); }
};

std::vector<MountedDrive> Drives(std::initializer_list<const char*> roots) {
    std::vector<MountedDrive> drives;
    for (const char* root : roots) drives.push_back({root, "", "ext4", "/dev/sda1"});
    return drives;
}

}  // namespace

TEST_F(RdpSettingsFile, SavesDefaultsInKeyOrderWithGbkTimesSign) {
    EXPECT_EQ(RdpConfigFile(), dir_ / "config.ini");
    EXPECT_TRUE(SaveRemoteDesktopSettings(RdpWindowDefaults()));
    EXPECT_EQ(Bytes(), Utf8ToGbk(kDefaultsFile));
    EXPECT_NE(Bytes().find("=800\xA1\xC1"
                           "600\r\n"),
              std::string::npos);
    EXPECT_EQ(ReadRdpSetting("窗口数据"), "800×600");
    EXPECT_EQ(ReadRemoteDesktopSettings(), RdpWindowDefaults());
}

TEST_F(RdpSettingsFile, NeverSetFieldsAreWrittenEmptyAndOtherContentSurvives) {
    Put("[Other]\r\nx=1\r\n[RDP]\r\n音频播放=0\r\nmine=kept\r\n");
    RemoteDesktopSettings record;
    record.audio_mode = "1";
    EXPECT_TRUE(SaveRemoteDesktopSettings(record));
    std::string expected = "[Other]\r\nx=1\r\n[RDP]\r\n音频播放=1\r\nmine=kept\r\n";
    for (const auto& [key, field] : RdpSettingKeys())
        if (key != "音频播放") expected += std::string(key) + "=\r\n";
    EXPECT_EQ(Bytes(), Utf8ToGbk(expected));
}

TEST_F(RdpSettingsFile, ReadsEachKeyFromTheFileAsItIsNow) {
    EXPECT_EQ(ReadRdpSetting("剪贴板"), "");  // no file
    Put("[RDP]\r\n剪贴板=0\r\n");
    EXPECT_EQ(ReadRdpSetting("剪贴板"), "0");
    Put("[RDP]\r\n剪贴板=1\r\n");  // nothing cached
    EXPECT_EQ(ReadRdpSetting("剪贴板"), "1");
    EXPECT_EQ(ReadRdpSetting("打印机"), "");
    Put("[RDP]\r\n本地驱动器=" + std::string(10300, 'a') + "\r\n");
    EXPECT_EQ(ReadRdpSetting("本地驱动器").size(), 10239u);
}

TEST_F(RdpSettingsFile, AValueTheFileCannotHoldCostsOnlyItsOwnKey) {
    RemoteDesktopSettings record = RdpWindowDefaults();
    record.drives = "/media/\xF0\x9F\x98\x80;";  // no GBK form
    EXPECT_FALSE(SaveRemoteDesktopSettings(record));
    EXPECT_EQ(ReadRdpSetting("组合键"), "2");
    EXPECT_EQ(ReadRdpSetting("窗口模式"), "1");
    EXPECT_EQ(ReadRdpSetting("本地驱动器"), "");
}

TEST_F(RdpSettingsFile, EachKeyIsReadIntoItsOwnField) {
    Put("[RDP]\r\n窗口模式=a\r\n窗口数据=b\r\n监视器颜色=c\r\n磁盘映射=d\r\n本地驱动器=e\r\n"
        "剪贴板=f\r\n打印机=g\r\n串行口=h\r\n智能卡=i\r\n重连=j\r\n强制模式=k\r\n压缩=l\r\n"
        "全屏栏=m\r\n桌面背景=n\r\n桌面主题=o\r\nPnP设备=p\r\n录音=q\r\n音频播放=r\r\n"
        "组合键=s\r\n");
    const RemoteDesktopSettings expected{
        .window_mode = "a",
        .resolution = "b",
        .color_depth = "c",
        .map_drives = "d",
        .drives = "e",
        .clipboard = "f",
        .printers = "g",
        .serial_ports = "h",
        .smart_cards = "i",
        .auto_reconnect = "j",
        .forced_login = "k",
        .compression = "l",
        .connection_bar = "m",
        .desktop_background = "n",
        .desktop_theme = "o",
        .pnp_devices = "p",
        .audio_capture = "q",
        .audio_mode = "r",
        .key_combinations = "s",
    };
    EXPECT_EQ(ReadRemoteDesktopSettings(), expected);
    for (const auto& [key, field] : RdpSettingKeys()) {
        EXPECT_EQ(RdpKeyOf(field), key);
        EXPECT_EQ(ReadRdpSetting(field), expected.*field) << key;
    }
}

TEST(RdpSettings, ConnectionFileValues) {
    using R = RemoteDesktopSettings;
    auto file_value = [](RdpSettingField field, const char* stored) {
        RemoteDesktopSettings record;
        record.*field = stored;
        return RdpFileValue(record, field);
    };
    const std::vector<RdpSettingField> empty_is_on = {&R::clipboard, &R::connection_bar,
                                                      &R::auto_reconnect};
    const std::vector<RdpSettingField> inverted = {&R::desktop_background, &R::desktop_theme};
    for (const auto& [key, field] : RdpSettingKeys()) {
        const bool on =
            std::find(empty_is_on.begin(), empty_is_on.end(), field) != empty_is_on.end();
        const bool flip = std::find(inverted.begin(), inverted.end(), field) != inverted.end();
        EXPECT_EQ(file_value(field, ""), on ? "1" : "") << key;
        EXPECT_EQ(file_value(field, "1"), flip ? "0" : "1") << key;
        EXPECT_EQ(file_value(field, "0"), flip ? "1" : "0") << key;
        EXPECT_EQ(file_value(field, "7"), "7") << key;
    }
    EXPECT_EQ(file_value(&R::drives, "/;/home;"), "/;/home;");
}

TEST(RdpSettings, WindowSizeFromTheStoredText) {
    EXPECT_EQ(RdpWindowDimensions("1280×1024"), (RdpWindowSize{"1280", "1024"}));
    EXPECT_EQ(RdpWindowDimensions(""), (RdpWindowSize{"800", "600"}));
    EXPECT_EQ(RdpWindowDimensions("1280x1024"), (RdpWindowSize{"800", "600"}));  // ASCII x
    EXPECT_EQ(RdpWindowDimensions("1280×"), (RdpWindowSize{"800", "600"}));
    EXPECT_EQ(RdpWindowDimensions("×600"), (RdpWindowSize{"", "600"}));
    EXPECT_EQ(RdpWindowDimensions("1×2×3"), (RdpWindowSize{"1", "2"}));
}

TEST(RdpSettings, ForcedLoginSwitches) {
    EXPECT_EQ(ForcedLoginSwitch("0"), " /admin ");
    EXPECT_EQ(ForcedLoginSwitch("1"), " /console ");
    EXPECT_EQ(ForcedLoginSwitch("2"), " ");
    EXPECT_EQ(ForcedLoginSwitch(""), std::nullopt);
    EXPECT_EQ(ForcedLoginSwitch("3"), std::nullopt);
    EXPECT_EQ(ForcedLoginSwitch(" 0"), std::nullopt);
}

// Values set by hand are held to what the window writes: the launcher copies most texts
// straight into the connection file.
TEST(RdpSettings, HandSetValuesAreTheWindowsOwnTexts) {
    using R = RemoteDesktopSettings;
    const struct {
        RdpSettingField field;
        std::string value;
        std::optional<std::string> stored;
    } cases[] = {
        {&R::clipboard, "1", "1"},
        {&R::clipboard, "0", "0"},
        {&R::clipboard, "2", std::nullopt},
        {&R::clipboard, "yes", std::nullopt},
        {&R::clipboard, "1\r\nfull address:s:elsewhere", std::nullopt},
        {&R::window_mode, "0", "0"},
        {&R::forced_login, "2", "2"},
        {&R::audio_mode, "3", std::nullopt},
        {&R::key_combinations, " 1", std::nullopt},
        {&R::resolution, "1024×768", "1024×768"},
        {&R::resolution, "1024x768", "1024×768"},
        {&R::resolution, "1680X1050", "1680×1050"},
        {&R::resolution, "1920×1080", std::nullopt},
        {&R::resolution, "abc", std::nullopt},
        {&R::color_depth, "16", "16"},
        {&R::color_depth, "12", std::nullopt},
        {&R::drives, "/mnt/数据;/media/u;", "/mnt/数据;/media/u;"},
        {&R::drives, "/mnt/a\tb;", std::nullopt},
        {&R::drives, "/mnt/\xF0\x9F\x98\x80;", std::nullopt},  // an emoji: GBK has none
    };
    for (const auto& c : cases)
        EXPECT_EQ(RdpValueToStore(c.field, c.value), c.stored)
            << RdpKeyOf(c.field) << " " << c.value;
    for (const auto& [key, field] : RdpSettingKeys()) {
        EXPECT_EQ(RdpValueToStore(field, ""), "") << key << ": empty forgets the setting";
        EXPECT_EQ(RdpValueToStore(field, RdpWindowDefaults().*field), RdpWindowDefaults().*field)
            << key << ": the window's own default";
    }
    EXPECT_EQ(RdpValuesAccepted(&R::forced_login),
              "0 (admin), 1 (console) or 2 (none), or nothing to forget the setting");
    EXPECT_EQ(RdpValuesAccepted(&R::color_depth),
              "4, 8, 16, 24 or 32, or nothing to forget the setting");
}

TEST(RdpSettings, SliderChoicesAndTheirStops) {
    ASSERT_EQ(ResolutionChoices().size(), 6u);
    for (size_t i = 0; i < ResolutionChoices().size(); ++i) {
        const ResolutionChoice& c = ResolutionChoices()[i];
        EXPECT_EQ(c.position, static_cast<int>(i) * 10);
        EXPECT_EQ(c.stored, std::to_string(c.width) + "×" + std::to_string(c.height));
        EXPECT_EQ(c.label, "窗口模式" + c.stored);
    }
    EXPECT_EQ(Utf8ToGbk(ResolutionChoices()[3].stored),
              "1280\xA1\xC1"
              "1024");
    ASSERT_EQ(ColorDepthChoices().size(), 5u);
    EXPECT_EQ(ColorDepthChoices()[3].label, "监视器24位真彩色");
    EXPECT_EQ(ColorDepthChoices()[2].label, "监视器16位颜色");

    RemoteDesktopSettings record;
    EXPECT_EQ(SyncSizePosition(40, record), "窗口模式1440×900");
    EXPECT_EQ(record.resolution, "1440×900");
    EXPECT_EQ(SyncSizePosition(60, record), "全屏模式");
    EXPECT_EQ(record.resolution, "1440×900");
    EXPECT_EQ(SyncSizePosition(35, record), std::nullopt);
    EXPECT_EQ(SyncColourPosition(0, record), "监视器4位颜色");
    EXPECT_EQ(record.color_depth, "4");
    EXPECT_EQ(SyncColourPosition(50, record), std::nullopt);
    EXPECT_EQ(record.color_depth, "4");
}

TEST_F(RdpSettingsFile, LoadReadsEveryKeyIntoTheForm) {
    Put("[RDP]\r\n窗口模式=1\r\n窗口数据=1440×900\r\n监视器颜色=16\r\n全屏栏=0\r\n强制模式=0\r\n"
        "磁盘映射=1\r\n本地驱动器=/;/home;\r\n剪贴板=0\r\n打印机=1\r\n串行口=1\r\n智能卡=1\r\n"
        "PnP设备=1\r\n重连=0\r\n压缩=0\r\n桌面背景=0\r\n桌面主题=1\r\n录音=1\r\n音频播放=1\r\n"
        "组合键=0\r\n");
    SettingsForm form;
    RemoteDesktopSettings record;
    auto tips = LoadSettingsForm(form, record, [] { return Drives({"/", "/home", "/srv"}); });
    EXPECT_TRUE(tips.empty());

    const SettingsForm expected{
        .full_screen = false,
        .size_position = 40,
        .colour_position = 20,
        .connection_bar = false,
        .map_drives = true,
        .drive_list_enabled = true,
        .drives = {{"/", "", "ext4", true},
                   {"/home", "", "ext4", true},
                   {"/srv", "", "ext4", false}},
        .unlisted_drives = {},
        .clipboard = false,
        .printers = true,
        .serial_ports = true,
        .smart_cards = true,
        .pnp_devices = true,
        .auto_reconnect = false,
        .compression = false,
        .desktop_background = false,
        .desktop_theme = true,
        .audio_capture = true,
        .forced_login = 0,
        .audio_mode = 1,
        .key_combinations = 0,
    };
    EXPECT_EQ(form, expected);
    EXPECT_EQ(record.resolution, "1440×900");
    EXPECT_EQ(record.color_depth, "16");
    EXPECT_EQ(record.drives, "/;/home;");

    StoreSettingsForm(form, record);
    ASSERT_TRUE(SaveRemoteDesktopSettings(record));
    SettingsForm again;
    RemoteDesktopSettings reread;
    LoadSettingsForm(again, reread, [] { return Drives({"/", "/home", "/srv"}); });
    EXPECT_EQ(again, form);
    // Loading sets only the record's fields that follow the sliders or the drive list.
    EXPECT_EQ(reread.window_mode, "1");
    EXPECT_EQ(reread.resolution, "1440×900");
    EXPECT_EQ(reread.color_depth, "16");
    EXPECT_EQ(reread.drives, "/;/home;");
}

TEST_F(RdpSettingsFile, UnlistedValuesLeaveControls) {
    Put("[RDP]\r\n窗口模式=0\r\n监视器颜色=15\r\n强制模式=5\r\n剪贴板=yes\r\n");
    SettingsForm form;
    RemoteDesktopSettings record;
    auto tips = LoadSettingsForm(form, record, [] { return Drives({}); });
    EXPECT_EQ(tips, std::vector<std::string>{"磁盘列表为空!"});
    EXPECT_TRUE(form.full_screen);
    EXPECT_EQ(form.size_position, 60);
    EXPECT_EQ(form.colour_position, 40);
    EXPECT_EQ(record.color_depth, "15");
    EXPECT_EQ(form.forced_login, 2);
    EXPECT_TRUE(form.clipboard);
}

// Full screen still needs a window size: the save writes it back, and "窗口模式" returns
// to it.
TEST_F(RdpSettingsFile, FullScreenReadsAndKeepsTheWindowSize) {
    struct Case {
        const char* stored;
        const char* held;  // by the record, from earlier in the run
        const char* kept;
    };
    for (const Case& c : {Case{"1024×768", "1680×1050", "1024×768"},
                          Case{"1024×768", "", "1024×768"}, Case{"", "1680×1050", "1680×1050"},
                          Case{"1920×1080", "", "800×600"}, Case{"", "", "800×600"}}) {
        Put("[RDP]\r\n窗口模式=0\r\n窗口数据=" + std::string(c.stored) + "\r\n");
        SettingsForm form;
        RemoteDesktopSettings record;
        record.resolution = c.held;
        LoadSettingsForm(form, record, [] { return Drives({"/"}); });
        EXPECT_TRUE(form.full_screen) << c.stored << " / " << c.held;
        EXPECT_EQ(form.size_position, 60) << c.stored << " / " << c.held;
        EXPECT_EQ(record.resolution, c.kept) << c.stored << " / " << c.held;
        EXPECT_EQ(SizeToReturnTo(c.stored, c.held).stored, c.kept);

        StoreSettingsForm(form, record);
        ASSERT_TRUE(SaveRemoteDesktopSettings(record));
        EXPECT_EQ(ReadRdpSetting("窗口模式"), "0");
        EXPECT_EQ(ReadRdpSetting("窗口数据"), c.kept) << c.stored << " / " << c.held;
    }
}

// The entries are mount points, matched by name whatever the order of the mounts; an
// entry whose drive is not mounted now is kept, unseen, and saved again.
TEST_F(RdpSettingsFile, StoredDrivesAreMatchedByMountPoint) {
    struct Case {
        const char* stored;
        std::vector<const char*> mounted;
        std::vector<bool> ticked;
        std::vector<std::string> unlisted;
        const char* saved;  // with nothing changed
    };
    const Case cases[] = {
        {"/home;", {"/", "/home"}, {false, true}, {}, "/home;"},
        {"/home;/;", {"/", "/home", "/srv"}, {true, true, false}, {}, "/;/home;"},
        {"/;/home;", {"/home", "/srv", "/"}, {true, false, true}, {}, "/home;/;"},
        {"/gone;/srv;", {"/", "/srv"}, {false, true}, {"/gone"}, "/srv;/gone;"},
        {"/a;/gone;/a;;", {"/a"}, {true}, {"/gone"}, "/a;/gone;"},
        {"/usb;/gone;", {}, {}, {"/usb", "/gone"}, "/usb;/gone;"},
        {"", {"/"}, {false}, {}, ""},
    };
    for (const Case& c : cases) {
        Put("[RDP]\r\n本地驱动器=" + std::string(c.stored) + "\r\n");
        SettingsForm form;
        RemoteDesktopSettings record;
        std::vector<MountedDrive> mounted;
        for (const char* root : c.mounted) mounted.push_back({root, "", "ext4", "/dev/sda1"});
        const auto tip = FillDriveRows(form, record, [&] { return mounted; });
        EXPECT_EQ(tip.has_value(), mounted.empty()) << c.stored;
        std::vector<bool> ticked;
        for (const DriveRow& row : form.drives) ticked.push_back(row.ticked);
        EXPECT_EQ(ticked, c.ticked) << c.stored;
        EXPECT_EQ(form.unlisted_drives, c.unlisted) << c.stored;
        EXPECT_EQ(record.drives, c.stored);

        form.map_drives = true;
        StoreSettingsForm(form, record);
        EXPECT_EQ(record.drives, c.saved) << c.stored;
    }
}

TEST_F(RdpSettingsFile, ASaveThatCannotBeWrittenSaysSo) {
    EXPECT_TRUE(SaveRemoteDesktopSettings(RdpWindowDefaults()));
    // A folder in the file's place cannot be written, whoever runs the test.
    fs::remove(dir_ / "config.ini");
    fs::create_directory(dir_ / "config.ini");
    EXPECT_FALSE(SaveRemoteDesktopSettings(RdpWindowDefaults()));
    vpsdesk::os::OverrideProgramFolder(dir_ / "gone");  // a folder that is not there
    EXPECT_FALSE(SaveRemoteDesktopSettings(RdpWindowDefaults()));
}

TEST(RdpSettingsForm, StoreTiesSmartCardsToDriveMapping) {
    SettingsForm form;
    form.drives = {{"/", "", "ext4", true}, {"/data", "", "xfs", false}, {"/srv", "", "", true}};
    form.smart_cards = false;
    form.map_drives = true;
    RemoteDesktopSettings record;
    StoreSettingsForm(form, record);
    EXPECT_EQ(record.drives, "/;/srv;");
    EXPECT_EQ(record.map_drives, "1");
    EXPECT_EQ(record.smart_cards, "1");

    form.map_drives = false;
    form.smart_cards = true;
    StoreSettingsForm(form, record);
    EXPECT_EQ(record.drives, "");
    EXPECT_EQ(record.map_drives, "0");
    EXPECT_EQ(record.smart_cards, "0");
}

TEST(RdpSettingsForm, MountPointsTheListCannotHoldAreNotOffered) {
    auto rows = DriveRowsFor({{"/", "root", "ext4", "/dev/sda1"},
                              {"/mnt/a;b", "", "ext4", "/dev/sdb1"},
                              {"/media/\xF0\x9F\x98\x80", "", "vfat", "/dev/sdc1"},
                              {"/数据", "数据盘", "ext4", "/dev/sdd1"}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (DriveRow{"/", "root", "ext4", false}));
    EXPECT_EQ(rows[1], (DriveRow{"/数据", "数据盘", "ext4", false}));
}
