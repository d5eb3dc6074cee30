#include "app/gui/StartupFetch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

#include "app/gui/ExitClient.h"
#include "ui/Skin.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

// On loopback the fetches end long before this, and no notice flickers up.
constexpr auto kNoticeDelay = std::chrono::milliseconds(400);
constexpr int kPollMs = 5;

// Shared with the worker, which may outlive the wait when the client ends.
struct Fetch {
    std::mutex mutex;
    SiteResources resources;
    std::atomic<bool> done{false};
};

QLabel* ShowNotice() {
    auto* notice = new QLabel(QStringLiteral("正在连接服务器，请稍候…"));
    notice->setObjectName(QStringLiteral("startupNotice"));
    notice->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    notice->setFont(ui::skin::Font(11));
    notice->setAlignment(Qt::AlignCenter);
    notice->setStyleSheet(QStringLiteral("QLabel { color: white; background: #1E2230; padding: 18px; }"));
    notice->resize(280, 70);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        notice->move(screen->availableGeometry().center() - notice->rect().center());
    notice->show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    return notice;
}

}  // namespace

std::optional<SiteResources> FetchSiteResourcesShowingProgress(const SiteConstants& site) {
    auto fetch = std::make_shared<Fetch>();
    const bool started = ui::RunInBackground([fetch, site] {
        SiteResources resources = FetchSiteResources(site);
        std::lock_guard lock(fetch->mutex);
        fetch->resources = std::move(resources);
        fetch->done = true;
    });
    if (!started) return FetchSiteResources(site);

    const auto start = std::chrono::steady_clock::now();
    QLabel* notice = nullptr;
    while (!fetch->done.load() && !ClientExiting()) {
        ui::WaitPumping(kPollMs, ui::WaitUnit::Milliseconds);
        if (notice == nullptr && std::chrono::steady_clock::now() - start >= kNoticeDelay)
            notice = ShowNotice();
    }
    if (notice != nullptr) {
        QApplication::restoreOverrideCursor();
        delete notice;
    }
    if (!fetch->done.load()) return std::nullopt;
    std::lock_guard lock(fetch->mutex);
    return std::move(fetch->resources);
}

}  // namespace vpsdesk::app
