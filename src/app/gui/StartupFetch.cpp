#include "app/gui/StartupFetch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <chrono>

#include "app/gui/ExitClient.h"
#include "ui/Skin.h"

namespace vpsdesk::app {
namespace {

// On loopback the fetches end long before this, and no notice flickers up.
constexpr auto kNoticeDelay = std::chrono::milliseconds(400);

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

StartupFetch::StartupFetch(const platform::SiteConstants& site, std::function<void()> afterwards)
    : call_([site, afterwards = std::move(afterwards)] {
          platform::SiteResources fetched = platform::FetchSiteResources(site);
          if (afterwards) afterwards();
          return fetched;
      }) {}

std::optional<platform::SiteResources> StartupFetch::Wait() {
    QLabel* notice = nullptr;
    std::optional<platform::SiteResources> resources = call_.Wait([this, &notice] {
        if (ClientExiting()) return false;
        if (notice == nullptr && std::chrono::steady_clock::now() - start_ >= kNoticeDelay)
            notice = ShowNotice();
        return true;
    });
    if (notice != nullptr) {
        QApplication::restoreOverrideCursor();
        delete notice;
    }
    return resources;
}

}  // namespace vpsdesk::app
