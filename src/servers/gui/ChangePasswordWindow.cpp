#include "servers/gui/ChangePasswordWindow.h"

#include <QLineEdit>
#include <QPushButton>

#include "servers/gui/ServerListPage.h"
#include "ui/QtText.h"

namespace vpsdesk::servers {

ChangePasswordWindow::ChangePasswordWindow(ServerListPage& page, ServerOperationContext context,
                                           QWidget* parent)
    : OperationWindow(page, std::move(context), QStringLiteral("修改密码"),
                      QStringLiteral("changePasswordWindow"), 420, 250, parent) {
    AddCaption(QStringLiteral("新密码："), 70);
    password_ = AddEdit(QStringLiteral("newPasswordEdit"), 70);
    AddCaption(QStringLiteral("重复新密码："), 120);
    repeat_ = AddEdit(QStringLiteral("repeatPasswordEdit"), 120);
    for (QLineEdit* edit : {password_, repeat_}) edit->setEchoMode(QLineEdit::Password);
    change_ = AddButton(QStringLiteral("修改"), QStringLiteral("changePasswordButton"), 180);
    connect(change_, &QPushButton::clicked, this, [this] { Submit(); });
}

bool ChangePasswordWindow::focusNextPrevChild(bool next) {
    // Tab in the confirmation box goes back to the new password, the box it repeats.
    if (next && repeat_->hasFocus()) {
        password_->setFocus(Qt::TabFocusReason);
        return true;
    }
    return OperationWindow::focusNextPrevChild(next);
}

void ChangePasswordWindow::Submit() {
    const std::optional<ServerRow> row = page_.SelectedRow();
    if (!row) return;
    const std::string password = ui::U8(password_->text());
    if (!PasswordsMatch(password, ui::U8(repeat_->text()))) {
        Conclude(PasswordMismatchOutcome());
        return;
    }
    const OperationRequest request = PasswordRequest(password, (*row)[column::kId]);
    const std::optional<OperationReply> reply = Send(change_, request);
    if (!reply) return;
    Conclude(WithNetworkFailure(PasswordOutcome(reply->text), reply->network_failed));
}

}  // namespace vpsdesk::servers
