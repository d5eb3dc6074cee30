#pragma once
// What the purchase page and window are given by the shell: how a request reaches the
// platform, the balance, the recharge window and the shared progress state. Nothing here
// reaches for the process's own state.
#include <atomic>
#include <functional>
#include <string>

#include "net/DateTimeFormat.h"
#include "shop/CatalogueRequest.h"

class QWidget;

namespace vpsdesk::shop {

struct PurchaseContext {
    // Sends the request to the signed-in platform. Blocks the calling thread, which may
    // be any.
    CatalogueSender send;
    // The balance as the profile keeps it ("12.50元").
    std::function<std::string()> balance;
    // Opens the recharge window over `owner`, modally; without it the window has no link.
    std::function<void(QWidget* owner)> recharge;
    // The progress state shared with the card recharge; the page keeps its own without it.
    std::atomic<int>* progress_state = nullptr;
    // Today, for the opening and expiry dates.
    std::function<net::DateTime()> today = [] { return net::DateTime::Now(); };
};

}  // namespace vpsdesk::shop
