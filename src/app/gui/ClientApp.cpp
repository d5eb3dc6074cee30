#include "app/gui/ClientApp.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "account/gui/LoginWindow.h"
#include "app/UpdateCheck.h"
#include "app/gui/ExitClient.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowPages.h"
#include "app/gui/MainWindowSetUp.h"
#include "app/gui/MainWindowWatcher.h"
#include "app/gui/StartupFetch.h"
#include "app/gui/TerminationSignals.h"
#include "app/gui/Toolkit.h"
#include "net/WebRequest.h"
#include "os/DocumentsFolder.h"
#include "os/MachineCode.h"
#include "os/ProfileFile.h"
#include "os/ProgramFolder.h"
#include "platform/SessionState.h"
#include "platform/SettingsFiles.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "ui/EventLog.h"
#include "ui/QtText.h"

namespace vpsdesk::app {
namespace fs = std::filesystem;

namespace {

// The updater trusts what the client trusts: a CA named on the command line goes into its
// settings file, and an old entry is cleared when there is none.
constexpr std::string_view kUpdaterCaKey = "CA文件";
constexpr std::string_view kUpdateSection = "更新";

// A test hook beside the event log: VPSDESK_KEEPALIVE_STEP_MS shortens the keep-alive's
// one-second waits so that a test sees several passes in a few seconds. Ignored unless the
// event log is on, so an ordinary run never picks it up.
std::optional<std::chrono::milliseconds> TestMilliseconds(const char* name, long low, long high) {
    if (!ui::EventLogEnabled()) return std::nullopt;
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    char* end = nullptr;
    const long ms = std::strtol(value, &end, 10);
    if (*end != '\0' || ms < low || ms > high) return std::nullopt;
    return std::chrono::milliseconds(ms);
}

std::optional<std::chrono::milliseconds> TestKeepAliveStep() {
    return TestMilliseconds("VPSDESK_KEEPALIVE_STEP_MS", 1, 1000);
}

// The same kind of hook for the requests' stall limit, so that a test of a platform that
// never answers ends in seconds rather than half a minute.
void ApplyTestStallLimit() {
    if (std::optional<std::chrono::milliseconds> stall =
            TestMilliseconds("VPSDESK_STALL_LIMIT_MS", 1000, 30000)) {
        net::RequestLimits limits = net::CurrentRequestLimits();
        limits.stall = *stall;
        net::SetRequestLimits(limits);
    }
}

}  // namespace

int StartClient(int& argc, char** argv, std::span<const std::uint8_t> updater_image) {
    platform::StartupOptions options = platform::ParseStartupOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "vpsdesk: %s\n", options.error.c_str());
        return 2;
    }
    // Both answer before the toolkit opens, so they work without a display.
    if (options.help) {
        std::fputs(platform::UsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vpsdesk %s (%s)\n", VPSDESK_VERSION, platform::BuiltInLocalVersion().c_str());
        return 0;
    }
    // Settings kept beside a client whose folder has since become read-only.
    constexpr std::string_view kKeptBeside[] = {rdpsettings::kRdpConfigFileName,
                                                platform::kUpdateSettingsFileName};
    os::AdoptFilesLeftBeside(os::ExecutableFolder(), os::ProgramFolder(), kKeptBeside);
    std::unique_ptr<QApplication> application = OpenToolkit(argc, argv);
    if (!application) return 1;
    EndOnTerminationSignals(application.get());

    auto* client = new ClientApp(std::move(options), updater_image);  // lives until the process ends
    if (std::optional<int> code = client->Start()) return *code;
    if (ClientExiting()) return ClientExitCode();
    const int code = QApplication::exec();
    // Neither the application nor the windows are destroyed: workers may still be using
    // them, and the process ends right after this.
    (void)application.release();
    return ClientExiting() ? ClientExitCode() : code;
}

ClientApp::ClientApp(platform::StartupOptions options, std::span<const std::uint8_t> updater_image)
    : options_(std::move(options)), updater_image_(updater_image) {}

std::optional<int> ClientApp::Start() {
    ApplyTestStallLimit();
    site_ = platform::InstallSiteConstants(options_);
    // The fetches and the file writes that follow them run on a worker while the window
    // is built and the machine code computed; the files keep their order.
    StartupFetch fetch(site_, [this] {
        WriteUpdaterSettings();
        // A failure to write is not reported: the check still runs.
        WriteUpdater(net::ByteArray(updater_image_.begin(), updater_image_.end()), os::ProgramFolder());
    });
    login_window_ = new account::LoginWindow(site_, platform::Session());
    ui::LogFirstPaint(login_window_, "login-window-shown");
    QObject::connect(login_window_, &account::LoginWindow::closeRequested, [] { ExitClient(0); });
    AtClientExit([this] { login_window_->StopAnimations(); });
    machine_code_ = os::ComputeMachineCode(*os::SystemMachineIdentity());
    login_window_->SetMachineCode(machine_code_);

    std::optional<platform::SiteResources> resources = fetch.Wait();
    if (!resources) return ClientExitCode();
    platform::SetSiteResources(*resources);
    if (!resources->client_title.empty()) login_window_->setWindowTitle(ui::Qs(resources->client_title));
    login_window_->SetAccountSettingsFile(
        platform::AccountSettingsFile(os::DocumentsFolder(), resources->client_title));

    if (std::optional<int> code = CheckForUpdate(*resources)) return code;

    PrepareLoginWindow(*resources);
    CreateMainWindow();
    login_window_->StartAutoLogin();
    return std::nullopt;
}

std::optional<int> ClientApp::CheckForUpdate(const platform::SiteResources& resources) {
    const VersionDecision decision = CheckVersion(resources.version_status, resources.version_reply,
                                                 site_.local_version);
    if (decision == VersionDecision::kContinue) return std::nullopt;
    if (decision == VersionDecision::kUpdateDue && os::IsSystemInstall(os::ExecutableFolder())) {
        ui::ShowClientMessage(std::string(kUpdateDueMessage) + "\n" +
                              std::string(kPackageUpdateHint));
        return std::nullopt;
    }
    ui::ShowClientMessage(VersionDecisionMessage(decision));
    // Without the platform there is nothing to do; that is a failed start, not a success.
    if (decision == VersionDecision::kNetworkFailure) return 1;
    // The updater replaces this program and starts the new one; it is not waited for.
    StartUpdater(os::ProgramFolder());
    return 0;
}

void ClientApp::WriteUpdaterSettings() const {
    const platform::UpdateSettingsFile settings(os::ProgramFolder());
    settings.WriteUpdateAddress(site_.CommandUrl());
    std::string ca_file;
    if (options_.ca_file) {
        std::error_code error;
        const fs::path absolute = fs::absolute(*options_.ca_file, error);
        ca_file = error ? *options_.ca_file : absolute.string();
    }
    os::WriteProfileString(settings.Path(), kUpdateSection, kUpdaterCaKey, ca_file);
}

void ClientApp::PrepareLoginWindow(const platform::SiteResources& resources) {
    login_window_->ShowLogo(resources.logo_image);
    // Home of the remote-desktop connection files.
    std::error_code error;
    fs::create_directories(os::ProgramFolder() / "History", error);
    login_window_->FillRememberedLogin(
        platform::AccountSettingsFile(os::DocumentsFolder(), resources.client_title));
    login_window_->show();
    login_window_->StartIntroAnimations();
    login_window_->FetchCaptcha();
    login_window_->FocusAccountBox();
}

void ClientApp::CreateMainWindow() {
    main_window_ = new app::MainWindow;
    main_window_->setWindowTitle(login_window_->windowTitle());
    ui::LogFirstPaint(main_window_, "main-window-shown");
    main_window_pages_ = new MainWindowPages(*main_window_, site_, platform::Session());
    main_window_setup_ = new MainWindowSetUp(*main_window_, *main_window_pages_, *login_window_,
                                             platform::Session(), site_, machine_code_);
    if (std::optional<std::chrono::milliseconds> step = TestKeepAliveStep())
        main_window_setup_->SetKeepAliveStep(*step);
    MainWindowWatcher::StartDetached(platform::Session(),
                                     [setup = main_window_setup_] { setup->Run(); });
}

}  // namespace vpsdesk::app
