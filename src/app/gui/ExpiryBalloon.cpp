#include "app/gui/ExpiryBalloon.h"

#include <QSystemTrayIcon>

#include "app/gui/TrayIcon.h"
#include "ui/QtText.h"

namespace vpsdesk::app {

ExpiryBalloon::ExpiryBalloon(TrayIcon& tray, servers::ExpiryReminder::Today today,
                             OpenRenew open_renew, QObject* parent)
    : QObject(parent),
      tray_(tray),
      reminder_(std::move(today)),
      open_renew_(std::move(open_renew)) {
    connect(tray_.Icon(), &QSystemTrayIcon::messageClicked, this, [this] { BalloonClicked(); });
}

void ExpiryBalloon::RowsShown(const std::vector<servers::ServerRow>& rows) {
    tray_.Icon()->setToolTip(ui::Qs(servers::TrayToolTip(reminder_.NearExpiryCount(rows))));
    std::optional<servers::ExpiryNotice> next = reminder_.Next(rows);
    if (!next) return;
    shown_ = std::move(next);
    tray_.Icon()->showMessage(QStringLiteral("续费提醒"), ui::Qs(shown_->Text()),
                              QSystemTrayIcon::Warning);
}

void ExpiryBalloon::BalloonClicked() {
    if (!shown_) return;
    servers::ServerRow row;
    row[servers::column::kId] = shown_->id;
    row[servers::column::kName] = shown_->name;
    shown_.reset();
    if (open_renew_) open_renew_(row);
}

}  // namespace vpsdesk::app
