#include "servers/gui/SetRemarkWindow.h"

#include <QLineEdit>
#include <QPushButton>

#include "servers/gui/ServerListPage.h"
#include "ui/QtText.h"

namespace vpsdesk::servers {

SetRemarkWindow::SetRemarkWindow(ServerListPage& page, ServerOperationContext context,
                                 QWidget* parent)
    : OperationWindow(page, std::move(context), QStringLiteral("设置"),
                      QStringLiteral("setRemarkWindow"), 420, 200, parent) {
    AddCaption(QStringLiteral("备注："), 70);
    remark_ = AddEdit(QStringLiteral("remarkEdit"), 70);
    set_ = AddButton(QStringLiteral("设置"), QStringLiteral("setRemarkButton"), 130);
    connect(set_, &QPushButton::clicked, this, [this] { Submit(); });
}

void SetRemarkWindow::Submit() {
    const std::optional<ServerRow> row = page_.SelectedRow();
    if (!row) return;
    const auto [account, password] = context_.credentials();
    const OperationRequest request =
        RemarkRequest(account, password, (*row)[column::kId], ui::U8(remark_->text()));
    const std::optional<OperationReply> reply = Send(set_, request);
    if (!reply) return;
    Conclude(WithNetworkFailure(RemarkOutcome(reply->text), reply->network_failed));
}

}  // namespace vpsdesk::servers
