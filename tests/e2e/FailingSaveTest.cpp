// Saves into a folder that has become read-only, or whose file system is full (the
// settings window, the remembered login, a remote-desktop connection file): the customer
// is told, and the file he had keeps every byte. The folder is made read-only
// (a read-only bind mount) or full (a small tmpfs filled up) in a mount namespace of the
// helper's own, because permissions do not stop root.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "E2eSupport.h"
#include "account/gui/LoginPage.h"
#include "net/Gbk.h"
#include "platform/SettingsFiles.h"
#include "servers/gui/ConnectToServer.h"

namespace e2e {
namespace {

constexpr int kNoNamespace = 77;

enum class Fault { kReadOnly, kFull };
enum class Save { kSettingsWindow, kRememberedLogin, kConnectionFile };

struct FailingSave {
    const char* name;
    Save save;
    Fault fault;
};

// The file before the save: some keys of ours among lines of others, so a save has keys
// to add (a full disk cannot hold them).
std::string FileBefore(Save save) {
    if (save == Save::kConnectionFile)
        return "full address:s:192.0.2.10:3389\r\nusername:s:old\r\n";
    if (save == Save::kSettingsWindow)
        return vpsdesk::net::Utf8ToGbk(
            "; 手写的注释\r\n[其他]\r\n保留=是\r\n[RDP]\r\n窗口模式=1\r\n窗口数据=1024×768\r\n");
    return vpsdesk::net::Utf8ToGbk(
        "[Config]\r\nRememberaccount=1\r\nzh=old-account\r\nmm=旧密码\r\nzdlogin=0\r\n[其他]"
        "\r\n保留=是\r\n");
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class SaveIntoABrokenFolder : public ::testing::TestWithParam<FailingSave> {};

TEST_P(SaveIntoABrokenFolder, TellsTheCustomerAndKeepsTheFileWhole) {
    const FailingSave& c = GetParam();
    TempFolder root;
    // The folder that breaks, and the file in it.
    const fs::path program = root / "program";
    const fs::path folder = c.save == Save::kConnectionFile ? program / "History" : root / "folder";
    const fs::path copied_out = root / "after";
    fs::create_directories(folder);
    fs::path file;
    switch (c.save) {
        case Save::kSettingsWindow:
            file = folder / "config.ini";
            break;
        case Save::kRememberedLogin:
            file = vpsdesk::platform::AccountSettingsFile(folder, "云桌面").Path();
            break;
        case Save::kConnectionFile:
            file = folder / "192.0.2.10.rdp";
            break;
    }
    const std::string before = FileBefore(c.save);
    WriteAll(file, before, fs::perms(0600));

    std::vector<std::string> argv = {FILE_HELPER_BIN};
    if (c.fault == Fault::kReadOnly) {
        argv.insert(argv.end(), {"--read-only", folder.string()});
    } else {
        argv.insert(argv.end(), {"--full", folder.string(), "256k", copied_out.string()});
    }
    switch (c.save) {
        case Save::kSettingsWindow:
            argv.insert(argv.end(), {"save-settings", folder.string()});
            break;
        case Save::kRememberedLogin:
            argv.insert(argv.end(),
                        {"save-login", folder.string(), "云桌面", "new-account", "new-password"});
            break;
        case Save::kConnectionFile:
            argv.insert(argv.end(), {"save-history", program.string(), (root / "key").string()});
            break;
    }
    Child helper({argv,
                  {"QT_QPA_PLATFORM=offscreen"},
                  root.Path(),
                  root / "helper.out",
                  root / "helper.err"});
    const std::optional<int> code = helper.WaitExitCode();
    if (code == kNoNamespace)
        GTEST_SKIP() << "no private mount namespace here (it needs root or CAP_SYS_ADMIN): "
                     << ReadAll(root / "helper.err");
    ASSERT_EQ(code, 0) << ReadAll(root / "helper.err");

    std::string told = "message ";
    switch (c.save) {
        case Save::kSettingsWindow:
            told += "系统配置没有保存：无法写入 " + file.string();
            break;
        case Save::kRememberedLogin:
            told += std::string(vpsdesk::account::kLoginNotSavedMessage) + file.string();
            break;
        case Save::kConnectionFile:
            told += vpsdesk::servers::kRdpWriteFailed;
            break;
    }
    // Told once, not at every one of the saves that failed after it.
    const std::string out = ReadAll(root / "helper.out");
    EXPECT_NE(out.find(told), std::string::npos) << out;
    EXPECT_EQ(out.find("message ", out.find(told) + 1), std::string::npos) << out;

    // What the folder held when the helper was done: a read-only folder is the same folder;
    // a tmpfs was copied out before it went away.
    const fs::path seen = c.fault == Fault::kReadOnly ? folder : copied_out;
    EXPECT_EQ(ReadAll(seen / file.filename()), before);
    EXPECT_EQ(Listing(seen), std::vector<std::string>{file.filename().string()});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveIntoABrokenFolder,
    ::testing::Values(
        FailingSave{"SettingsWindowReadOnly", Save::kSettingsWindow, Fault::kReadOnly},
        FailingSave{"SettingsWindowFull", Save::kSettingsWindow, Fault::kFull},
        FailingSave{"RememberedLoginReadOnly", Save::kRememberedLogin, Fault::kReadOnly},
        FailingSave{"RememberedLoginFull", Save::kRememberedLogin, Fault::kFull},
        FailingSave{"ConnectionFileReadOnly", Save::kConnectionFile, Fault::kReadOnly},
        FailingSave{"ConnectionFileFull", Save::kConnectionFile, Fault::kFull}),
    [](const auto& test) { return std::string(test.param.name); });

// A folder that has become read-only sends the program's files to the per-user folder; the
// settings kept beside the program go with them rather than being left behind for the
// defaults. vpsctl and the window client share the rule; vpsctl needs no display.
TEST(ReadOnlyProgramFolder, TheSettingsKeptBesideTheProgramAreStillTheCustomers) {
    TempFolder root;
    const fs::path program = root / "program";
    fs::create_directories(program);
    fs::copy_file(VPSCTL_BIN, program / "vpsctl");
    const std::string config =
        vpsdesk::net::Utf8ToGbk("[RDP]\r\n剪贴板=0\r\n窗口数据=1280×800\r\n");
    WriteAll(program / "config.ini", config);

    Child vpsctl({{FILE_HELPER_BIN, "--read-only", program.string(), "run",
                   (program / "vpsctl").string(), "rdp-settings", "--json"},
                  {"XDG_DATA_HOME=" + (root / "data").string()},
                  root.Path(),
                  root / "vpsctl.out",
                  root / "vpsctl.err"});
    const std::optional<int> code = vpsctl.WaitExitCode();
    if (code == kNoNamespace)
        GTEST_SKIP() << "no private mount namespace here: " << ReadAll(root / "vpsctl.err");
    ASSERT_EQ(code, 0) << ReadAll(root / "vpsctl.err");
    const nlohmann::json shown = nlohmann::json::parse(ReadAll(root / "vpsctl.out"));
    EXPECT_EQ(shown["剪贴板"], "0");
    EXPECT_EQ(shown["窗口数据"], "1280×800");
    EXPECT_EQ(ReadAll(root / "data" / "vpsdesk" / "config.ini"), config);
    EXPECT_EQ(ReadAll(program / "config.ini"), config);
}

}  // namespace
}  // namespace e2e
