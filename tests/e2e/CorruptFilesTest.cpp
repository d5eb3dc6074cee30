// Files the client finds damaged at start: ten megabytes of random bytes as config.ini,
// invalid GBK and 100 KB values in the account file. The client starts as if they held
// nothing it knows, and a save afterwards changes only its own keys: every byte it could
// not read is still there.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "os/ProgramFolder.h"
#include "platform/SettingsFiles.h"
#include "rdpsettings/RemoteDesktopSettings.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Seeded, so a failure can be reproduced; the last byte is no line break, so a writer
// adding a section has to complete the last line rather than reuse it.
std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    bytes.back() = 'x';
    return bytes;
}

// The account file with broken GBK around and inside our keys, and 100 KB values. `zh`
// and `mm` are spliced in, so a test can spell the file after a save by hand.
std::string AccountFile(const std::string& zh, const std::string& mm) {
    const std::string big(100 * 1024, 'z');
    std::string invalid_gbk;
    for (int i = 0; i < 25 * 1024; ++i) invalid_gbk += "\x81\x20\xFF\x80";
    return "\xFF\xFE[Junk\x81\r\n"
           "garbage\x80\x80=\xFE\xFE\r\n"
           "[Config]\r\n"
           "Rememberaccount=1\r\n"
           "zh=" +
           zh +
           "\r\n"
           "mm=" +
           mm +
           "\r\n"
           "zdlogin=0\r\n"
           "odd=" +
           invalid_gbk +
           "\r\n"
           "[Tail]\r\n"
           "k=" +
           big + "\r\n";
}

std::string BigAccount() {
    return std::string(100 * 1024, 'a');
}
std::string BrokenPassword() {
    return std::string("\x81\x20\xFF\x80", 4) + std::string(100 * 1024, '\xA1');
}

// Seconds from the start to the login window, or a negative number when it never came.
double StartToLoginWindow(ClientProcess& client, Platform& platform) {
    const Clock::time_point start = Clock::now();
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    PollFor([&] { return client.Logged("login-window-shown") || !client.Process().Running(); });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return client.Logged("login-window-shown") ? seconds : -1;
}

TEST(CorruptFiles, TheClientStartsAndItsStartUpSaveKeepsWhatItCouldNotRead) {
    TempFolder clean_root;
    Platform platform(clean_root / "platform", {"--demo"});
    ClientProcess clean(clean_root.Path());
    const double clean_seconds = StartToLoginWindow(clean, platform);
    clean.Process().Signal(SIGTERM);
    clean.Process().WaitExitCode();

    TempFolder root;
    ClientProcess client(root.Path());
    const std::string config = RandomBytes(10 * 1024 * 1024, 1);
    const std::string update_settings = RandomBytes(1024 * 1024, 2);
    const std::string account = AccountFile(BigAccount(), BrokenPassword());
    WriteAll(client.Install() / "config.ini", config);
    WriteAll(client.Install() / "更新配置.ini", update_settings);
    const vpsdesk::platform::AccountSettingsFile account_file(client.Documents(),
                                                              platform.Command("biaoti"));
    WriteAll(account_file.Path(), account, fs::perms(0600));

    const double seconds = StartToLoginWindow(client, platform);
    ASSERT_GT(seconds, 0) << client.Err();
    std::printf("to the login window: %.2f s with the damaged files, %.2f s without\n", seconds,
                clean_seconds);
    EXPECT_TRUE(client.Process().Running());
    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();

    EXPECT_EQ(ReadAll(client.Install() / "config.ini"), config);
    EXPECT_EQ(ReadAll(account_file.Path()), account);
    // The start writes the updater's address into its file: appended, the rest untouched.
    const std::string after = ReadAll(client.Install() / "更新配置.ini");
    ASSERT_GT(after.size(), update_settings.size());
    EXPECT_EQ(after.substr(0, update_settings.size()), update_settings);
    const vpsdesk::platform::UpdateSettingsFile settings(client.Install());
    EXPECT_EQ(settings.ReadUpdateAddress(), "https://" + platform.Site() + "/khd?act=");
}

TEST(CorruptFiles, ASettingsSaveOverRandomBytesAddsItsSectionAndKeepsEveryOtherByte) {
    TempFolder root;
    const fs::path folder = root / "program";
    fs::create_directories(folder);
    const std::string config = RandomBytes(10 * 1024 * 1024, 3);
    WriteAll(folder / "config.ini", config);

    const Clock::time_point start = Clock::now();
    Child helper({{FILE_HELPER_BIN, "save-settings", folder.string()},
                  {"QT_QPA_PLATFORM=offscreen"},
                  root.Path(),
                  root / "helper.out",
                  root / "helper.err"});
    ASSERT_EQ(helper.WaitExitCode(), 0) << ReadAll(root / "helper.err");
    std::printf("settings window opened and saved over 10 MB: %.2f s\n",
                std::chrono::duration<double>(Clock::now() - start).count());
    EXPECT_EQ(ReadAll(root / "helper.out"), "") << "the save was refused";

    const std::string after = ReadAll(folder / "config.ini");
    ASSERT_GT(after.size(), config.size());
    EXPECT_EQ(after.substr(0, config.size()), config);
    vpsdesk::os::OverrideProgramFolder(folder);
    EXPECT_EQ(vpsdesk::rdpsettings::ReadRemoteDesktopSettings(),
              vpsdesk::rdpsettings::RdpWindowDefaults());
    vpsdesk::os::OverrideProgramFolder({});
}

TEST(CorruptFiles, RememberingALoginOverBrokenGbkChangesOnlyTheTwoValues) {
    TempFolder root;
    const fs::path documents = root / "Documents";
    fs::create_directories(documents);
    const vpsdesk::platform::AccountSettingsFile file(documents, "云桌面");
    WriteAll(file.Path(), AccountFile(BigAccount(), BrokenPassword()), fs::perms(0600));

    Child helper({{FILE_HELPER_BIN, "save-login", documents.string(), "云桌面", "new-account",
                   "new-password"},
                  {"QT_QPA_PLATFORM=offscreen"},
                  root.Path(),
                  root / "helper.out",
                  root / "helper.err"});
    ASSERT_EQ(helper.WaitExitCode(), 0) << ReadAll(root / "helper.err");
    EXPECT_EQ(ReadAll(root / "helper.out"), "");
    EXPECT_TRUE(ReadAll(file.Path()) == AccountFile("new-account", "new-password"))
        << "bytes outside \"zh\" and \"mm\" changed";
}

}  // namespace
}  // namespace e2e
