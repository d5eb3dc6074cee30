#pragma once
// "重置系统": the operating systems the platform offers for the server, the first chosen
// at once. "安装" hands the install to a worker and closes the window; the worker shows
// the platform's answer and refreshes the list after the window is gone.
#include <string>

#include "servers/OsChoice.h"
#include "servers/ServerRow.h"
#include "servers/gui/OperationWindow.h"
#include "servers/gui/ServerOperationContext.h"

class QComboBox;

namespace vpsdesk::servers {

inline constexpr std::string_view kReinstallNotice =
    "预装操作系统功能会将云服务器恢复到最初始的状态，需要5分钟的时间才能完成操作。";

class InstallOsWindow : public OperationWindow {
    Q_OBJECT
  public:
    // The row is the install target, read when the window opens; the OS list is fetched
    // once the window runs.
    InstallOsWindow(ServerListPage& page, ServerOperationContext context, const ServerRow& row,
                    QWidget* parent);

    QComboBox* OsBox() const { return os_box_; }
    QPushButton* InstallButton() const { return install_; }
    bool Loading() const { return loading_; }
    const OsChoice& Choice() const { return choice_; }

    // The install on a worker: "安装失败" without an OS, else the request, the answer and
    // the refresh. False when no worker could be started.
    static bool StartInstall(ServerListPage& page, const ServerOperationContext& context,
                             std::string os_id, std::string server_id);

  private:
    void LoadOsList();
    void Install();

    std::string target_;
    OsChoice choice_;
    QComboBox* os_box_;
    QPushButton* install_;
    bool loading_ = true;
};

}  // namespace vpsdesk::servers
