#pragma once
// The order's run on its worker, as the steps the buy button and its progress picture go
// through. No widgets here: the purchase page plays each step as it comes (on the UI
// thread for the widget steps, on the worker for the waits).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shop/CatalogueRequest.h"
#include "shop/PurchaseOrder.h"

namespace vpsdesk::shop {

inline constexpr std::string_view kBuyCaption = "购买";
inline constexpr std::string_view kOpeningOrderCaption = "  开通中";
inline constexpr std::string_view kOrderOpenedCaption = "   开通成功";
inline constexpr std::string_view kOrderErrorTitle = "错误";

// The shared progress state's values while and after an order runs.
inline constexpr int kOrderWorking = 1;
inline constexpr int kOrderSucceeded = 2;
inline constexpr int kOrderFailed = 3;

inline constexpr int kProgressIntervalMs = 40;
inline constexpr int kSuccessHoldMs = 3000;
inline constexpr int kFramePollMs = 20;

struct PurchaseStep {
    enum class Kind {
        EnableButton,  // `number`: 1 enabled, 0 disabled
        Caption,       // the buy button's caption is `text`
        ShowPicture,   // `number`: 1 shown, 0 hidden
        // Picture on frame `number`, the shared progress state `state`, the picture's
        // timer (re)started at kProgressIntervalMs.
        Animate,
        Wait,          // `number` milliseconds, the window kept responsive
        WaitForFrame,  // until the picture shows frame `number`, polled every kFramePollMs
        ErrorBox,      // the toolkit box titled `title` with `text`, until it is closed
    };

    Kind kind = Kind::Wait;
    std::string text;
    int number = 0;
    int state = 0;
    std::string title;

    bool operator==(const PurchaseStep&) const = default;
};

// Drawn at the start of every order: how long a result waits before it shows, however
// fast the platform answers.
struct PurchaseDelays {
    int failure_ms = 0;  // 500 to 3000
    int success_ms = 0;  // 300 to 1300

    static PurchaseDelays Draw();
};

// Everything before the order goes out: the button disabled and reading "  开通中", the
// working loop playing.
std::vector<PurchaseStep> OrderStartSteps();
// Everything after the reply: the success or failure sequence, then the button back to
// "购买", enabled, and the picture hidden.
std::vector<PurchaseStep> OrderEndSteps(const CatalogueReply& reply, const PurchaseDelays& delays);

// The whole run on the calling worker: plays the start, sends `order`, plays the end.
void RunPurchase(const CatalogueSender& send, const PurchaseOrder& order,
                 const std::function<void(const PurchaseStep&)>& play);

}  // namespace vpsdesk::shop
