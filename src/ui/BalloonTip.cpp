#include "ui/BalloonTip.h"

#include <QCursor>
#include <QToolTip>

#include "ui/QtText.h"
#include "ui/UiThread.h"

namespace vpsdesk::ui {

void ShowTip(std::string_view text) {
    onUiThread([&] { QToolTip::showText(QCursor::pos(), qs(text)); });
}

void HideTip() {
    onUiThread([] { QToolTip::hideText(); });
}

}  // namespace vpsdesk::ui
