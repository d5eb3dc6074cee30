#include "servers/gui/ServerOperations.h"

#include <QClipboard>
#include <QGuiApplication>

#include "servers/gui/ChangePasswordWindow.h"
#include "servers/gui/InstallOsWindow.h"
#include "servers/gui/RenewWindow.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/SetRemarkWindow.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/Waiting.h"

namespace vpsdesk::servers {
namespace {

using Level = MenuLevel;

void AddCopyEntry(ServerListPage& page, const QString& caption, std::size_t column,
                  const ServerOperationContext& context) {
    page.AddMenuEntry(Level::Top, caption, [&page, column, context](const ServerRow& row) {
        QGuiApplication::clipboard()->setText(ui::Qs(row[column]));
        context.show({BoxKind::Plain, "", "复制成功"}, page.window());
    });
}

template <typename Window>
void AddWindowEntry(ServerListPage& page, Level level, const QString& caption,
                    const ServerOperationContext& context) {
    page.AddMenuEntry(level, caption, [&page, context](const ServerRow& row) {
        if constexpr (std::is_constructible_v<Window, ServerListPage&, ServerOperationContext,
                                              const ServerRow&, QWidget*>) {
            Window window(page, context, row, page.window());
            window.exec();
        } else {
            Window window(page, context, page.window());
            window.exec();
        }
    });
}

}  // namespace

void AttachServerOperations(ServerListPage& page, ServerOperationContext context) {
    AddCopyEntry(page, QStringLiteral("复制主机IP"), column::kAddress, context);
    AddCopyEntry(page, QStringLiteral("复制主机密码"), column::kPassword, context);
    AddCopyEntry(page, QStringLiteral("复制售后名称"), column::kName, context);
    AddWindowEntry<SetRemarkWindow>(page, Level::Top, QStringLiteral("设置备注"), context);
    page.AddMenuEntry(
        Level::Sub, QStringLiteral("重启主机"),
        [&page, context](const ServerRow& row) { StartRestart(page, context, row[column::kId]); });
    AddWindowEntry<InstallOsWindow>(page, Level::Sub, QStringLiteral("重置系统"), context);
    AddWindowEntry<RenewWindow>(page, Level::Sub, QStringLiteral("续费主机"), context);
    page.AddMenuEntry(
        Level::Sub, QStringLiteral("申请退款"),
        [&page, context](const ServerRow& row) { RequestRefund(page, context, row); });
    AddWindowEntry<ChangePasswordWindow>(page, Level::Sub, QStringLiteral("修改密码"), context);
}

void OpenRenewWindow(ServerListPage& page, const ServerOperationContext& context,
                     const ServerRow& row, QWidget* parent) {
    RenewWindow window(page, context, row, parent);
    window.exec();
}

bool StartRestart(ServerListPage& page, const ServerOperationContext& context,
                  std::string server_id) {
    return ui::RunInBackground([&page, context, id = std::move(server_id)] {
        const OperationReply reply = context.send(RestartRequest(id));
        context.show(WithNetworkFailure(RestartOutcome(reply.text), reply.network_failed), nullptr);
        page.RefreshServerList();
    });
}

void RequestRefund(ServerListPage& page, const ServerOperationContext& context,
                   const ServerRow& row) {
    // The menu stays usable while the platform answers; one refund request at a time.
    static bool in_flight = false;
    if (in_flight) return;
    in_flight = true;
    const OperationRequest request = RefundRequest(row[column::kId], context.host());
    const OperationReply reply =
        ui::CallKeepingWindowResponsive([send = context.send, request] { return send(request); });
    in_flight = false;
    context.show(WithNetworkFailure(RefundOutcome(reply.text), reply.network_failed), nullptr);
    if (context.account_changed) context.account_changed();
    ui::CallKeepingWindowResponsive([&page] {
        page.RefreshServerList();
        return true;
    });
}

}  // namespace vpsdesk::servers
