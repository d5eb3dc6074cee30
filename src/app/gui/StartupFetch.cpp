#include "app/gui/StartupFetch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <atomic>
#include <chrono>
#include <mutex>

#include "app/gui/ExitClient.h"
#include "ui/Skin.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

// On loopback the fetches end long before this, and no notice flickers up.
constexpr auto kNoticeDelay = std::chrono::milliseconds(400);
constexpr int kPollMs = 5;

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

struct StartupFetch::Shared {
    platform::SiteConstants site;
    std::function<void()> afterwards;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::mutex mutex;
    platform::SiteResources resources;
    std::atomic<bool> done{false};

    void Run() {
        platform::SiteResources fetched = platform::FetchSiteResources(site);
        if (afterwards) afterwards();
        std::lock_guard lock(mutex);
        resources = std::move(fetched);
        done = true;
    }
};

StartupFetch::StartupFetch(const platform::SiteConstants& site, std::function<void()> afterwards)
    : shared_(std::make_shared<Shared>()) {
    shared_->site = site;
    shared_->afterwards = std::move(afterwards);
    if (!ui::RunInBackground([shared = shared_] { shared->Run(); })) shared_->Run();
}

std::optional<platform::SiteResources> StartupFetch::Wait() {
    QLabel* notice = nullptr;
    while (!shared_->done.load() && !ClientExiting()) {
        ui::WaitPumping(kPollMs, ui::WaitUnit::Milliseconds);
        if (notice == nullptr && std::chrono::steady_clock::now() - shared_->start >= kNoticeDelay)
            notice = ShowNotice();
    }
    if (notice != nullptr) {
        QApplication::restoreOverrideCursor();
        delete notice;
    }
    if (!shared_->done.load()) return std::nullopt;
    std::lock_guard lock(shared_->mutex);
    return std::move(shared_->resources);
}

}  // namespace vpsdesk::app
