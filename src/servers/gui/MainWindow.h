#pragma once
// The client's home after sign-in. It is created hidden at start-up and shown by the
// watcher once a login succeeds; its pages arrive with the server list.
#include "ui/SkinnedWindow.h"

namespace vpsdesk::servers {

class MainWindow : public ui::SkinnedWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

signals:
    // The close label was clicked: the process is to end.
    void closeRequested();

protected:
    void onCloseClicked() override;
    // Minimising minimises: without an icon in the notification area a hidden window
    // could not be reached again.
};

}  // namespace vpsdesk::servers
