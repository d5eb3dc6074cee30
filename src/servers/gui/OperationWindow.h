#pragma once
// The frame of the small operation windows over the main window: a title, captions, edit
// boxes and one button, and a request that runs with the window responsive and its
// button disabled, so that a second click cannot send twice.
#include <QString>
#include <optional>
#include <string>

#include "servers/OperationRequests.h"
#include "servers/gui/ServerOperationContext.h"
#include "ui/SkinnedWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vpsdesk::servers {

class ServerListPage;

class OperationWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    OperationWindow(ServerListPage& page, ServerOperationContext context, const QString& title,
                    const QString& object_name, int width, int height, QWidget* parent);

  protected:
    static constexpr int kLeft = 40;
    static constexpr int kCaptionWidth = 110;
    static constexpr int kRowHeight = 32;

    QLabel* AddCaption(const QString& text, int y);
    // The edit box to the right of a caption at `y`.
    QLineEdit* AddEdit(const QString& object_name, int y);
    QPushButton* AddButton(const QString& text, const QString& object_name, int y);

    // Sends `request` on a worker while this window goes on drawing; `button` is disabled
    // meanwhile. Nothing when the window was destroyed in the meantime; a window merely
    // closed still gets the reply, since the platform has acted on the request.
    std::optional<OperationReply> Send(QPushButton* button, const OperationRequest& request);
    // Shows the outcome's box, then refreshes the list (with the window responsive) and
    // closes the window where the outcome says so.
    void Conclude(const OperationOutcome& outcome);

    ServerListPage& page_;
    ServerOperationContext context_;
};

}  // namespace vpsdesk::servers
