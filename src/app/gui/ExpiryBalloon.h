#pragma once
// The reminder of servers about to expire: after every list load, the tray icon's tooltip
// counts them and one balloon names the next server not yet reminded of today. A click on
// the balloon opens that server's renew window.
#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "servers/ExpiryReminder.h"
#include "servers/ServerRow.h"

namespace vpsdesk::app {

class TrayIcon;

class ExpiryBalloon : public QObject {
    Q_OBJECT
  public:
    using OpenRenew = std::function<void(const servers::ServerRow&)>;
    ExpiryBalloon(TrayIcon& tray, servers::ExpiryReminder::Today today, OpenRenew open_renew,
                  QObject* parent = nullptr);

    // UI thread, with the rows the list now shows.
    void RowsShown(const std::vector<servers::ServerRow>& rows);
    // The notice of the balloon shown last, until it is clicked.
    const std::optional<servers::ExpiryNotice>& Shown() const { return shown_; }
    // What a click on the balloon does.
    void BalloonClicked();

  private:
    TrayIcon& tray_;
    servers::ExpiryReminder reminder_;
    OpenRenew open_renew_;
    std::optional<servers::ExpiryNotice> shown_;
};

}  // namespace vpsdesk::app
