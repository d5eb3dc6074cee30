#pragma once
// What the server operations' windows are given by the shell: how a request reaches the
// platform, the signed-in account, and where outcomes are shown. Nothing here reaches
// for the process's own state.
#include <functional>
#include <string>

#include "servers/OperationOutcome.h"
#include "servers/OperationRequests.h"

class QWidget;

namespace vpsdesk::servers {

struct ServerOperationContext {
    // Sends the request to the signed-in platform. Blocks the calling thread, which may
    // be any.
    std::function<OperationReply(const OperationRequest&)> send;
    // The signed-in account's name and password, sent with a remark.
    std::function<std::pair<std::string, std::string>()> credentials;
    // The balance as the profile keeps it ("12.50元").
    std::function<std::string()> balance;
    // The platform's host name, for the refund's "Host" line.
    std::function<std::string()> host;
    // Shows an outcome's box over `owner` and returns once it is closed. Any thread.
    std::function<void(const OperationOutcome&, QWidget* owner)> show;
    // Opens the recharge window over `owner`; without it the renew window has no link.
    std::function<void(QWidget* owner)> recharge;
    // After an operation the platform carried out: a renewal or a refund moves the
    // balance the windows show. Optional.
    std::function<void()> account_changed;
};

// The toolkit's boxes for an outcome: plain, titled or self-closing. Any thread.
void ShowOperationOutcome(const OperationOutcome& outcome, QWidget* owner);

}  // namespace vpsdesk::servers
