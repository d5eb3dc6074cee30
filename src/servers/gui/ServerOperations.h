#pragma once
// The server operations' entries of the context menu: copying, the remark, restart,
// reinstall, renewal, refund and the new password. Each acts on the row the menu hands
// it, behind the list's real-name gate.
#include <memory>

#include "servers/ServerRow.h"
#include "servers/gui/ServerOperationContext.h"

class QWidget;

namespace vpsdesk::servers {

class ServerListPage;

// Registers every entry; the page and the context outlive the menu.
void AttachServerOperations(ServerListPage& page, ServerOperationContext context);

// The renew window for `row`, modal over `parent`; the expiry reminder opens it too.
void OpenRenewWindow(ServerListPage& page, const ServerOperationContext& context,
                     const ServerRow& row, QWidget* parent);

// Restart on a worker: the request, the answer's box, then the refresh. False when no
// worker could be started.
bool StartRestart(ServerListPage& page, const ServerOperationContext& context,
                  std::string server_id);

// The refund, with the window responsive; a second refund while one is out is ignored.
void RequestRefund(ServerListPage& page, const ServerOperationContext& context,
                   const ServerRow& row);

}  // namespace vpsdesk::servers
