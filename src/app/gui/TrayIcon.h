#pragma once
// The client's icon in the notification area while a user is signed in: a click brings
// the main window back, a double-click brings it back or puts it away, the right button
// opens the menu with "退出程序" and "注销登录".
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <chrono>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace vpsdesk::app {

class TrayIcon : public QObject {
    Q_OBJECT
  public:
    // `window` is the main window the icon stands for.
    explicit TrayIcon(QWidget* window, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon in the notification area with its tooltip.
    void Show();
    // Builds the menu afresh (after every sign-in).
    void BuildMenu();
    // Takes the icon out of the notification area.
    void Remove();

    bool IsShown() const;
    QSystemTrayIcon* Icon() const { return icon_; }
    QMenu* Menu() const { return menu_; }

    // What the icon does when the user clicks it: a click shows and raises the window,
    // a double-click shows it or puts it away.
    void Activate(QSystemTrayIcon::ActivationReason reason);

    // Hiding the main window is safe only while the icon can bring it back.
    bool CanBringWindowBack() const;

    // Whether the desktop has a notification area; tests may pretend either way.
    static bool SystemTrayAvailable();
    static void OverrideSystemTrayAvailable(std::optional<bool> available);

    // The client's icon, drawn: a rounded blue tile with a white server rack.
    static QIcon ClientIcon();

  signals:
    void exitRequested();
    void logoutRequested();

  private:
    using Clock = std::chrono::steady_clock;

    bool WindowShown() const;
    void BringWindowBack();
    void PutWindowAway();

    QWidget* window_;
    QSystemTrayIcon* icon_;
    QMenu* menu_ = nullptr;
    // Some desktops report a double-click as a click followed by the double-click. The
    // click already brought the window back, so the double-click toggles from what was
    // shown before that click, or the pair would put the window away again.
    std::optional<Clock::time_point> click_at_;
    bool shown_before_click_ = false;
};

}  // namespace vpsdesk::app
