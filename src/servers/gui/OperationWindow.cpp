#include "servers/gui/OperationWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "servers/gui/ServerListPage.h"
#include "ui/DialogChrome.h"
#include "ui/PumpedCall.h"

namespace vpsdesk::servers {

OperationWindow::OperationWindow(ServerListPage& page, ServerOperationContext context,
                                 const QString& title, const QString& object_name, int width,
                                 int height, QWidget* parent)
    : ui::SkinnedWindow(parent), page_(page), context_(std::move(context)) {
    setObjectName(object_name);
    setWindowTitle(title);
    setFixedSize(width, height);
    ui::AddDialogChrome(this, title, object_name + QStringLiteral("Title"));
}

QLabel* OperationWindow::AddCaption(const QString& text, int y) {
    auto* label = new QLabel(text, this);
    label->setGeometry(kLeft, y, kCaptionWidth, kRowHeight);
    return label;
}

QLineEdit* OperationWindow::AddEdit(const QString& object_name, int y) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(object_name);
    // The skin leaves plain edit boxes' text to the palette, which writes dark on dark.
    edit->setStyleSheet(QStringLiteral("QLineEdit { color: #FFFFFF; }"));
    edit->setGeometry(kLeft + kCaptionWidth, y, width() - 2 * kLeft - kCaptionWidth, kRowHeight);
    return edit;
}

QPushButton* OperationWindow::AddButton(const QString& text, const QString& object_name, int y) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(object_name);
    button->setGeometry(kLeft, y, width() - 2 * kLeft, 38);
    button->setAutoDefault(false);
    button->setDefault(true);
    return button;
}

std::optional<OperationReply> OperationWindow::Send(QPushButton* button,
                                                    const OperationRequest& request) {
    const QPointer<OperationWindow> self(this);
    const QPointer<QPushButton> guarded(button);
    if (guarded) guarded->setEnabled(false);
    setCursor(Qt::BusyCursor);
    OperationReply reply =
        ui::CallKeepingWindowResponsive([send = context_.send, request] { return send(request); });
    if (self.isNull()) return std::nullopt;
    unsetCursor();
    if (guarded) guarded->setEnabled(true);
    return reply;
}

void OperationWindow::Conclude(const OperationOutcome& outcome) {
    const QPointer<OperationWindow> self(this);
    context_.show(outcome, this);
    if (self.isNull()) return;
    if (outcome.refresh) {
        if (context_.account_changed) context_.account_changed();
        ui::CallKeepingWindowResponsive([&page = page_] {
            page.RefreshServerList();
            return true;
        });
    }
    if (outcome.close && !self.isNull()) close();
}

}  // namespace vpsdesk::servers
