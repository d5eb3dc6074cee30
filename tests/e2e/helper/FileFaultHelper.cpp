// e2e_file_helper: drives the client's own file writers and windows for the end-to-end
// tests of failing and interrupted saves.
//   write-account DOCUMENTS TITLE SIZE   saves the remembered login, variants 0 and 1 in
//                                        turn, until killed
//   write-rdp FOLDER SIZE                saves the remote-desktop settings the same way
//   save-settings FOLDER                 opens the settings window on FOLDER/config.ini and
//                                        closes it, which saves
//   save-history FOLDER KEY              connects to 192.0.2.10 by remote desktop, which
//                                        writes FOLDER/History/192.0.2.10.rdp first (KEY:
//                                        the password protection's key file)
//   save-login DOCUMENTS TITLE ACCOUNT PASSWORD
//                                        ticks "记住密码" with these values, unticks and
//                                        ticks it again: three saves
//   run PROGRAM ARGS...                  runs PROGRAM in the namespace and ends with it
// Before the command, in a mount namespace of its own (exit 77 when none can be made):
//   --read-only DIR                      DIR becomes read-only
//   --full DIR SIZE OUT                  DIR becomes a SIZE tmpfs holding DIR's files and a
//                                        filler that uses up the rest; afterwards its files
//                                        (not the filler) are copied to OUT
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "WriteVariants.h"
#include "account/gui/LoginPage.h"
#include "os/FileBytes.h"
#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "platform/SessionState.h"
#include "platform/SettingsFiles.h"
#include "rdpsettings/gui/SettingsWindow.h"
#include "servers/gui/ConnectToServer.h"
#include "ui/HintEdit.h"

namespace fs = std::filesystem;
using vpsdesk::os::ReadFileBytes;
using vpsdesk::os::WriteFileAtomically;

namespace {

constexpr int kNoNamespace = 77;
constexpr const char* kFiller = ".filler";

int Fail(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", what.c_str(), std::strerror(errno));
    return 1;
}

// What a full folder holds, to copy out when the command is done.
struct FullFolder {
    fs::path folder;
    fs::path out;
};

int MakeReadOnly(const fs::path& dir) {
    if (mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return Fail("bind " + dir.string());
    if (mount(nullptr, dir.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return Fail("read-only " + dir.string());
    return 0;
}

int MakeFull(const fs::path& dir, const std::string& size) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = ReadFileBytes(entry.path()).bytes;
    const std::string options = "size=" + size;
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return Fail("tmpfs " + dir.string());
    for (const auto& [name, bytes] : files)
        if (!WriteFileAtomically(dir / name, bytes, 0600)) return Fail("restore " + name);
    std::FILE* filler = std::fopen((dir / kFiller).c_str(), "wb");
    if (filler == nullptr) return Fail("filler");
    const std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
    return 0;
}

void CopyOut(const FullFolder& full) {
    fs::create_directories(full.out);
    for (const auto& entry : fs::directory_iterator(full.folder))
        if (entry.path().filename() != kFiller)
            fs::copy(entry.path(), full.out / entry.path().filename(),
                     fs::copy_options::overwrite_existing);
}

// One line per finished save, so the test can time its kills from the moment saves run.
void AnnounceSave() {
    std::printf("saved\n");
    std::fflush(stdout);
}

[[noreturn]] void WriteAccountForever(const fs::path& documents, const std::string& title,
                                      size_t size) {
    const vpsdesk::platform::AccountSettingsFile file(documents, title);
    for (int i = 1;; ++i) {  // content 1 first: the file starts with content 0
        file.SaveRememberedLogin(true, e2e::VariantValue(i % 2, 0, size),
                                 e2e::VariantValue(i % 2, 1, size));
        AnnounceSave();
    }
}

[[noreturn]] void WriteRdpForever(const fs::path& folder, size_t size) {
    vpsdesk::os::OverrideProgramFolder(folder);
    const vpsdesk::rdpsettings::RemoteDesktopSettings records[] = {e2e::VariantRecord(0, size),
                                                                   e2e::VariantRecord(1, size)};
    for (int i = 1;; ++i) {  // content 1 first: the file starts with content 0
        (void)vpsdesk::rdpsettings::SaveRemoteDesktopSettings(records[i % 2]);
        AnnounceSave();
    }
}

// Every message box is written to standard output as "message <text>" and closed with its
// first button, as if the customer had read it.
void AnswerMessages(QApplication& app) {
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->buttons().isEmpty()) return;
        std::printf("message %s\n", box->text().toStdString().c_str());
        std::fflush(stdout);
        box->buttons().front()->click();
    });
    timer->start(2);
}

int SaveSettings(int argc, char** argv, const fs::path& folder) {
    QApplication app(argc, argv);
    AnswerMessages(app);
    vpsdesk::os::OverrideProgramFolder(folder);
    vpsdesk::rdpsettings::SettingsWindow window(nullptr);
    window.show();
    window.accept();
    return 0;
}

int SaveHistory(int argc, char** argv, const fs::path& folder, const fs::path& key) {
    QApplication app(argc, argv);
    AnswerMessages(app);
    vpsdesk::os::OverrideProgramFolder(folder);
    vpsdesk::servers::RemoteDesktopSeams seams;
    seams.protection = std::make_shared<vpsdesk::os::KeyFileDataProtection>(key);
    seams.devices = [] { return vpsdesk::servers::RdpLocalDevices{}; };
    seams.wait = std::chrono::milliseconds(0);
    vpsdesk::servers::SetRemoteDesktopSeamsForTests(seams);
    // Only a failed write is expected here; a started session would be a test fault.
    vpsdesk::servers::LaunchRemoteDesktop(
        nullptr, "192.0.2.10", "3389", "Pass@1", [](std::string_view line) {
            std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
        });
    return 0;
}

int SaveLogin(int argc, char** argv, const std::vector<std::string>& args) {
    QApplication app(argc, argv);
    AnswerMessages(app);
    vpsdesk::account::LoginPage page({"127.0.0.1:1", "Ver 4.92"}, vpsdesk::platform::Session());
    page.FillRememberedLogin(vpsdesk::platform::AccountSettingsFile(args[0], args[1]));
    page.findChild<vpsdesk::ui::HintEdit*>("accountEdit")->setText(QString::fromStdString(args[2]));
    page.findChild<vpsdesk::ui::HintEdit*>("passwordEdit")
        ->setText(QString::fromStdString(args[3]));
    auto* remember = page.findChild<QCheckBox*>("rememberBox");
    // Ticked, unticked, ticked again: three saves, the last one with these values.
    remember->setChecked(false);
    for (int i = 0; i < 3; ++i) remember->click();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<FullFolder> full;
    bool isolated = false;
    while (!args.empty() && (args[0] == "--read-only" || args[0] == "--full")) {
        if (!isolated) {
            // Nothing mounted here may be seen outside this process.
            if (unshare(CLONE_NEWNS) != 0 ||
                mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
                std::perror("mount namespace");
                return kNoNamespace;
            }
            isolated = true;
        }
        int failed = 0;
        if (args[0] == "--read-only" && args.size() > 1) {
            failed = MakeReadOnly(args[1]);
            args.erase(args.begin(), args.begin() + 2);
        } else if (args[0] == "--full" && args.size() > 3) {
            failed = MakeFull(args[1], args[2]);
            full.push_back({args[1], args[3]});
            args.erase(args.begin(), args.begin() + 4);
        } else {
            return 2;
        }
        if (failed != 0) return kNoNamespace;
    }
    if (args.empty()) return 2;
    const std::string command = args[0];
    args.erase(args.begin());

    if (command == "run" && !args.empty()) {
        std::vector<char*> run_argv;
        for (std::string& arg : args) run_argv.push_back(arg.data());
        run_argv.push_back(nullptr);
        execv(run_argv[0], run_argv.data());
        std::perror("run");
        return 2;
    }
    int code = 2;
    if (command == "write-account" && args.size() == 3)
        WriteAccountForever(args[0], args[1], std::stoul(args[2]));
    if (command == "write-rdp" && args.size() == 2) WriteRdpForever(args[0], std::stoul(args[1]));
    if (command == "save-settings" && args.size() == 1) code = SaveSettings(argc, argv, args[0]);
    if (command == "save-history" && args.size() == 2)
        code = SaveHistory(argc, argv, args[0], args[1]);
    if (command == "save-login" && args.size() == 4) code = SaveLogin(argc, argv, args);
    for (const FullFolder& folder : full) CopyOut(folder);
    return code;
}
