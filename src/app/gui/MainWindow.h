#pragma once
// The client's home after sign-in: the title area (logo, user, settings, help, minimise,
// close), the side navigation with a page per entry, the notice line and the icon in the
// notification area. It is created hidden at start-up and shown after each login. The
// features make the pages; the window only shows the one whose entry is chosen.
#include <QUrl>
#include <array>
#include <functional>
#include <string>

#include "app/gui/SideNavigation.h"
#include "platform/SiteConstants.h"
#include "ui/SkinnedWindow.h"

class QLabel;
class QStackedWidget;

namespace vpsdesk::ui {
class CaptionLabel;
}

namespace vpsdesk::app {

class TrayIcon;

class MainWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Shows `page` whenever `entry` of the side navigation is chosen; the window takes it
    // over. Pages stand in the order of their entries, whatever order they come in; a
    // second page for an entry replaces the first.
    void AddPage(SideNavigation::Entry entry, QWidget* page);
    // The page of `entry`, or null while it has none.
    QWidget* Page(int entry) const;

    SideNavigation& Navigation() { return *navigation_; }
    TrayIcon& Tray() { return *tray_; }
    QStackedWidget* Pages() const { return pages_; }

    // The pictures and the help caption that start-up fetched from the platform.
    void ShowSiteResources(const platform::SiteResources& resources);
    // UI thread.
    void SetUserName(const std::string& name);
    // Any thread: the notice line shows `line` once this returns, unless the connection
    // is lost; then it shows `line` again once the connection is back.
    void SetNoticeLine(const std::string& line);
    // UI thread. While the platform does not answer, the notice line says so quietly
    // and the window keeps what it shows.
    void SetConnectionLost(bool lost);
    // UI thread: sign-out. Nothing of the customer stays: name, notice, and through
    // customerCleared whatever the pages hold.
    void ClearCustomer();
    // The operator's web site that "帮助" opens.
    void SetHelpAddress(const QUrl& address) { help_address_ = address; }
    QUrl HelpAddress() const { return help_address_; }
    // How the user name and picture open the personal window; nothing opens until it is set.
    void SetPersonalWindowOpener(std::function<void()> open) { open_personal_ = std::move(open); }

    static constexpr const char* kConnectionLostText = "与平台的连接已中断，正在重试…";

  signals:
    // The close label was clicked; the tray icon is already gone and the process is to end.
    void closeRequested();
    // "设置": the remote-desktop settings window is to open.
    void settingsRequested();
    // Sign-out: pages that hold the customer's rows, selection or page forget them now.
    void customerCleared();

  protected:
    void OnCloseClicked() override;
    // Hides to the notification area, or only minimises when there is none to come back
    // from.
    void OnMinimizeClicked() override;
    // Without a notification area the tray menu ("退出程序", "注销登录") opens on a right
    // click on the window instead; otherwise there would be no way to sign out.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void BuildTitleArea();
    void BuildSidebar();
    void OpenPersonalWindow();
    void ShowPage(int entry);

    QLabel* logo_ = nullptr;
    ui::CaptionLabel* user_picture_ = nullptr;
    ui::CaptionLabel* user_name_ = nullptr;
    ui::CaptionLabel* settings_ = nullptr;
    ui::CaptionLabel* help_ = nullptr;
    SideNavigation* navigation_ = nullptr;
    QLabel* banner1_ = nullptr;
    QLabel* banner2_ = nullptr;
    QLabel* help_caption_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QWidget*, SideNavigation::kEntryCount> page_of_entry_{};
    QLabel* notice_ = nullptr;
    QString notice_text_;  // the latest notice, shown again when the connection is back
    bool connection_lost_ = false;
    TrayIcon* tray_ = nullptr;
    QUrl help_address_;
    std::function<void()> open_personal_;
    bool personal_open_ = false;  // one personal window at a time
};

}  // namespace vpsdesk::app
