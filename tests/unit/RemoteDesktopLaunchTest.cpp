// The connection file byte for byte against golden files, the protected password, the
// address and file-name rules, the login switch and the xfreerdp command line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <set>

#include "ProgramFolderTest.h"
#include "net/Gbk.h"
#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "servers/RdpClientCommand.h"
#include "servers/RdpPassword.h"
#include "servers/RemoteDesktopLaunch.h"

using namespace vpsdesk::servers;
using vpsdesk::net::ByteArray;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPasswordKey = "password 51:b:";
// Version byte, nonce, the 512-byte buffer, tag.
constexpr size_t kBlobSize = 1 + 12 + kRdpPasswordBuffer + 16;

ByteArray FromHex(std::string_view hex) {
    ByteArray bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

class FixedProtection : public vpsdesk::os::DataProtection {
  public:
    explicit FixedProtection(std::optional<ByteArray> blob) : blob_(std::move(blob)) {}
    std::optional<ByteArray> Protect(const ByteArray&) const override { return blob_; }
    std::optional<ByteArray> Unprotect(const ByteArray&) const override { return {}; }

  private:
    std::optional<ByteArray> blob_;
};

class ConnectionFile : public vpsdesk::test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        fs::create_directories(dir_ / "History");
        protection_ = std::make_unique<vpsdesk::os::KeyFileDataProtection>(dir_ / "protection.key");
    }

    // config.ini section "RDP" from UTF-8 lines.
    void WriteConfig(std::string_view lines) { PutConfig("[RDP]\r\n" + std::string(lines)); }

    // The launch's steps up to the written file, with the settings read from config.ini.
    fs::path Write(const ServerRow& row) {
        std::optional<ConnectionPlan> plan = PlanConnection(row);
        EXPECT_TRUE(plan && plan->target);
        RdpConnectionFile file =
            MakeRdpConnectionFile(vpsdesk::os::ProgramFolder(), *plan->target, plan->password,
                                  vpsdesk::rdpsettings::ReadRemoteDesktopSettings(), *protection_);
        EXPECT_TRUE(WriteRdpFile(file.path, file.bytes));
        return file.path;
    }

    // The file with the password line's value cut out, after checking that value: odd
    // length 2 x blob + 1, uppercase hex, a final "0", and the buffer it protects.
    std::string WithoutPassword(const fs::path& file, std::string_view password) {
        std::string bytes = Bytes(file);
        size_t start = bytes.find(kPasswordKey);
        EXPECT_NE(start, std::string::npos);
        start += kPasswordKey.size();
        const size_t end = bytes.find("\r\n", start);
        const std::string value = bytes.substr(start, end - start);
        EXPECT_EQ(value.size(), 2 * kBlobSize + 1);
        EXPECT_EQ(value.back(), '0');
        EXPECT_EQ(value.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        std::optional<ByteArray> buffer =
            protection_->Unprotect(FromHex(std::string_view(value).substr(0, value.size() - 1)));
        EXPECT_TRUE(buffer.has_value());
        if (buffer) {
            EXPECT_EQ(*buffer, RdpPasswordBuffer(password));
        }
        return bytes.erase(start, end - start);
    }

    static std::string Golden(std::string_view name) {
        return Bytes(fs::path(VPSDESK_TEST_DATA) / "rdp" / name);
    }

    static ServerRow Row(std::string address, std::string status = "运行中",
                         std::string type = "云服务器", std::string password = "Demo@Pass1") {
        ServerRow row;
        row[column::kProductType] = std::move(type);
        row[column::kAddress] = std::move(address);
        row[column::kStatus] = std::move(status);
        row[column::kPassword] = std::move(password);
        return row;
    }

    // Made once the folder exists: a key path made earlier would be relative.
    std::unique_ptr<vpsdesk::os::KeyFileDataProtection> protection_;
};

TEST_F(ConnectionFile, WithoutConfigFileEveryLineFollowsTheEmptyTextRules) {
    fs::path file = Write(Row("192.0.2.10"));
    EXPECT_EQ(file, dir_ / "History" / "192.0.2.10.rdp");
    EXPECT_EQ(WithoutPassword(file, "Demo@Pass1"), Golden("no_config.rdp"));
    EXPECT_EQ(Mode(file), 0600u);
}

TEST_F(ConnectionFile, FullScreenWithAStoredSizeAndThePortInTheAddress) {
    WriteConfig(
        "窗口模式=0\r\n窗口数据=1280×1024\r\n监视器颜色=32\r\n磁盘映射=0\r\n本地驱动器=\r\n"
        "剪贴板=1\r\n打印机=0\r\n串行口=0\r\n智能卡=0\r\n重连=1\r\n强制模式=2\r\n压缩=1\r\n"
        "全屏栏=1\r\n桌面背景=1\r\n桌面主题=0\r\nPnP设备=0\r\n录音=0\r\n音频播放=2\r\n组合键="
        "2\r\n");
    fs::path file = Write(Row("192.0.2.10:40001"));
    EXPECT_EQ(file, dir_ / "History" / "192.0.2.10.rdp");
    EXPECT_EQ(WithoutPassword(file, "Demo@Pass1"), Golden("full_screen_1280x1024.rdp"));
}

TEST_F(ConnectionFile, MissingClipboardReconnectAndBarKeysGiveOne) {
    WriteConfig(
        "窗口模式=1\r\n窗口数据=1024×768\r\n监视器颜色=16\r\n压缩=0\r\n组合键=1\r\n音频播放=0\r\n"
        "串行口=1\r\n智能卡=0\r\n桌面背景=0\r\n桌面主题=1\r\n录音=1\r\nPnP设备=1\r\n");
    EXPECT_EQ(WithoutPassword(Write(Row("192.0.2.10")), "Demo@Pass1"),
              Golden("missing_switches.rdp"));
}

TEST_F(ConnectionFile, AValueHoldingALaterPlaceholderIsReplacedAgainAnEarlierOneStays) {
    WriteConfig(
        "窗口模式=%桌面主题%\r\n桌面主题=0\r\n监视器颜色=真彩色\r\nPnP设备=%剪贴板%\r\n"
        "录音=%窗口模式%\r\n压缩=%服务器地址%x\r\n组合键=%账号%\r\n");
    EXPECT_EQ(WithoutPassword(Write(Row("192.0.2.10")), "Demo@Pass1"), Golden("placeholders.rdp"));
}

TEST_F(ConnectionFile, AnEmptyPasswordStillProtectsAFullZeroBuffer) {
    fs::path file = Write(Row("192.0.2.10", "运行中", "云服务器", ""));
    EXPECT_EQ(WithoutPassword(file, ""), Golden("no_config.rdp"));
    EXPECT_EQ(RdpPasswordBuffer(""), ByteArray(512, 0));
}

TEST_F(ConnectionFile, HostsThatTryToLeaveHistoryStayInside) {
    for (const char* host : {"../x", "a/b", "..", "a\\b", "x\n"}) {
        fs::path file = RdpFilePath(dir_, host);
        EXPECT_EQ(file.parent_path(), dir_ / "History") << host;
        EXPECT_TRUE(WriteRdpFile(file, "x")) << host;
    }
    EXPECT_EQ(RdpFileName("../x"), "___x.rdp");
    EXPECT_EQ(RdpFileName("a/b"), "a_b.rdp");
    EXPECT_EQ(RdpFileName("x\n"), "x_.rdp");
    EXPECT_EQ(RdpFileName("a..b"), "a__b.rdp");
    EXPECT_EQ(RdpFileName("192.0.2.10"), "192.0.2.10.rdp");
    EXPECT_EQ(RdpFileName("云.example"), "云.example.rdp");
    // Nothing landed beside History/.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "History"), {}),
              4);  // "a/b" and "a\\b" share one
}

TEST_F(ConnectionFile, AnEarlierFileLosesTheRightsOfOthersAndAMissingFolderFails) {
    fs::path file = dir_ / "History" / "h.rdp";
    std::ofstream(file) << "old";
    chmod(file.c_str(), 0644);
    EXPECT_TRUE(WriteRdpFile(file, "new"));
    EXPECT_EQ(Bytes(file), "new");
    EXPECT_EQ(Mode(file), 0600u);
    EXPECT_FALSE(WriteRdpFile(dir_ / "missing" / "h.rdp", "x"));
}

// The settings window takes these from the last launch when it opens next; the rest of the
// record stays as the window left it.
TEST(LaunchSettings, RefreshOnlyTheFieldsTheSettingsWindowTakesFromTheLaunch) {
    const std::set<std::string_view> refreshed = {
        "窗口模式", "窗口数据", "监视器颜色", "本地驱动器", "音频播放", "组合键", "强制模式"};
    RemoteDesktopSettings read;
    RemoteDesktopSettings record;
    for (const auto& [key, field] : vpsdesk::rdpsettings::RdpSettingKeys()) {
        read.*field = "read";
        record.*field = "held";
    }
    RefreshSettingsRecord(read, record);
    for (const auto& [key, field] : vpsdesk::rdpsettings::RdpSettingKeys())
        EXPECT_EQ(record.*field, refreshed.contains(key) ? "read" : "held") << key;
}

TEST(RdpPassword, BufferIsUtf16WithTerminatorPaddedOrCutAt512) {
    ByteArray buffer = RdpPasswordBuffer("a密");
    ASSERT_EQ(buffer.size(), 512u);
    EXPECT_EQ(ByteArray(buffer.begin(), buffer.begin() + 7),
              (ByteArray{'a', 0, 0xC6, 0x5B, 0, 0, 0}));
    // 300 characters are 600 bytes: cut at 512, no terminator left.
    ByteArray long_buffer = RdpPasswordBuffer(std::string(300, 'x'));
    ASSERT_EQ(long_buffer.size(), 512u);
    EXPECT_EQ(long_buffer[510], 'x');
    EXPECT_EQ(long_buffer[511], 0);
}

TEST(RdpPassword, UppercaseHexPlusZeroAndZeroAloneWhenProtectionFails) {
    EXPECT_EQ(ProtectRdpPassword("pw", FixedProtection(ByteArray{0xAB, 0x01, 0xF0})), "AB01F00");
    EXPECT_EQ(ProtectRdpPassword("pw", FixedProtection(std::nullopt)), "0");
}

TEST(ConnectionPlanRules, AddressSplitsIntoHostAndPortOrNothing) {
    EXPECT_EQ(SplitServerAddress("192.0.2.10"), (HostPort{"192.0.2.10", "3389"}));
    EXPECT_EQ(SplitServerAddress("192.0.2.10:40001"), (HostPort{"192.0.2.10", "40001"}));
    EXPECT_EQ(SplitServerAddress("192.0.2.10:1:2"), std::nullopt);
    EXPECT_EQ(SplitServerAddress("a::"), (HostPort{"a", ""}));
    EXPECT_EQ(SplitServerAddress(""), std::nullopt);
}

TEST(ConnectionPlanRules, OnlyRunningServersAndTheGraphicsCardNoticeComesFirst) {
    ServerRow row;
    row[column::kAddress] = "192.0.2.10:1:2";
    row[column::kProductType] = "显卡云服务器";
    for (const char* status : {"已到期", "已停止", "运行中 ", ""}) {
        row[column::kStatus] = status;
        EXPECT_EQ(PlanConnection(row), std::nullopt) << status;
    }
    row[column::kStatus] = "运行中";
    std::optional<ConnectionPlan> plan = PlanConnection(row);
    ASSERT_TRUE(plan.has_value());
    EXPECT_TRUE(plan->graphics_card_warning);
    EXPECT_FALSE(plan->target.has_value());  // the notice shows, then nothing starts
}

TEST(LoginSwitch, OddValuesReuseThePreviousLaunchAndNothingBeforeTheFirst) {
    LoginSwitchMemory memory;
    EXPECT_EQ(memory.Choose(""), " ");
    EXPECT_EQ(memory.Choose("0"), " /admin ");
    EXPECT_EQ(memory.Choose("9"), " /admin ");
    EXPECT_EQ(memory.Choose("1"), " /console ");
    EXPECT_EQ(memory.Choose(""), " /console ");
    EXPECT_EQ(memory.Choose("2"), " ");
    EXPECT_EQ(memory.Choose("x"), " ");
}

TEST(RdpClient, CommandLineCarriesTheFileAndSwitchesThePasswordOnlyOnStandardInput) {
    const fs::path file = "/opt/my apps/History/192.0.2.10.rdp";
    vpsdesk::os::LaunchRequest plain = RdpClientCommand(file, " ", "1", "S3cret pw");
    EXPECT_EQ(plain.program, "xfreerdp");
    EXPECT_EQ(plain.arguments, (std::vector<std::string>{file.string(), "/from-stdin"}));
    EXPECT_EQ(plain.standard_input, "S3cret pw\n");
    for (const char* login_switch : {" /admin ", " /console "}) {
        EXPECT_EQ(RdpClientCommand(file, login_switch, "1", "p").arguments,
                  (std::vector<std::string>{file.string(), "/from-stdin", "/admin"}));
    }
    EXPECT_EQ(RdpClientCommand(file, " ", "0", "p").arguments,
              (std::vector<std::string>{file.string(), "/from-stdin", "/f"}));
    EXPECT_NE(RdpClientMissingMessage().find("freerdp2-x11"), std::string::npos);
}

TEST_F(ConnectionFile, DriveLineKeepsOnlyEntriesXfreerdpAccepts) {
    fs::create_directories(dir_ / "data");
    const std::string data = (dir_ / "data").string();
    const std::string history = (dir_ / "History").string();
    EXPECT_EQ(FreeRdpDriveList("C:;D:;"), "");
    EXPECT_EQ(FreeRdpDriveList(data + ";" + history + ";"), data + ";" + history + ";");
    EXPECT_EQ(FreeRdpDriveList(data + ";/no/such/mount;C:;"), data + ";");
    EXPECT_EQ(FreeRdpDriveList("*;DynamicDrives;"), "*;DynamicDrives;");
    fs::create_directories(dir_ / "a(b)");
    EXPECT_EQ(FreeRdpDriveList((dir_ / "a(b)").string() + ";"), "");
    EXPECT_EQ(FreeRdpDriveList(""), "");

    WriteConfig("本地驱动器=C:;" + data + ";\r\n");
    const std::string bytes = Bytes(Write(Row("192.0.2.10")));
    EXPECT_NE(bytes.find("\r\ndrivestoredirect:s:" + data + ";\r\n"), std::string::npos);
}

}  // namespace
