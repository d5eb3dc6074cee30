#include "servers/gui/MainWindow.h"

namespace vpsdesk::servers {
namespace {
constexpr int kWidth = 900;
constexpr int kHeight = 600;
}  // namespace

MainWindow::MainWindow(QWidget* parent) : ui::SkinnedWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    resize(kWidth, kHeight);
    hide();
}

void MainWindow::onCloseClicked() { emit closeRequested(); }

}  // namespace vpsdesk::servers
