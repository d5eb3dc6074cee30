#include "shop/PurchaseRun.h"

#include <chrono>
#include <random>

#include "shop/PurchaseResult.h"

namespace vpsdesk::shop {

namespace {

using Kind = PurchaseStep::Kind;

PurchaseStep Step(Kind kind, int number = 0, int state = 0) {
    PurchaseStep step;
    step.kind = kind;
    step.number = number;
    step.state = state;
    return step;
}

PurchaseStep Caption(std::string_view caption) {
    PurchaseStep step = Step(Kind::Caption);
    step.text = caption;
    return step;
}

}  // namespace

PurchaseDelays PurchaseDelays::Draw() {
    // Seeded afresh for every order from the clock, as each use of the delays is.
    std::mt19937 generator{static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count())};
    PurchaseDelays delays;
    delays.failure_ms = std::uniform_int_distribution<int>(500, 3000)(generator);
    delays.success_ms = std::uniform_int_distribution<int>(300, 1300)(generator);
    return delays;
}

std::vector<PurchaseStep> OrderStartSteps() {
    return {Step(Kind::EnableButton, 0), Step(Kind::ShowPicture, 1), Caption(kOpeningOrderCaption),
            Step(Kind::Animate, 0, kOrderWorking)};
}

std::vector<PurchaseStep> OrderEndSteps(const CatalogueReply& reply, const PurchaseDelays& delays) {
    const PurchaseResult result = PurchaseResult::FromReply(reply.text, reply.network_failed);
    std::vector<PurchaseStep> steps;
    if (result.success) {
        steps = {Step(Kind::Wait, delays.success_ms), Step(Kind::Animate, 26, kOrderSucceeded),
                 Caption(kOrderOpenedCaption), Step(Kind::Wait, kSuccessHoldMs),
                 Step(Kind::WaitForFrame, 39)};
    } else {
        PurchaseStep box = Step(Kind::ErrorBox);
        box.title = kOrderErrorTitle;
        box.text = result.data;
        steps = {Step(Kind::Wait, delays.failure_ms), Step(Kind::Animate, 41, kOrderFailed),
                 std::move(box), Step(Kind::WaitForFrame, 49)};
    }
    steps.push_back(Caption(kBuyCaption));
    steps.push_back(Step(Kind::ShowPicture, 0));
    steps.push_back(Step(Kind::EnableButton, 1));
    return steps;
}

void RunPurchase(const CatalogueSender& send, const PurchaseOrder& order,
                 const std::function<void(const PurchaseStep&)>& play) {
    const PurchaseDelays delays = PurchaseDelays::Draw();
    for (const PurchaseStep& step : OrderStartSteps()) play(step);
    const CatalogueReply reply = send(order.Request());
    for (const PurchaseStep& step : OrderEndSteps(reply, delays)) play(step);
}

}  // namespace vpsdesk::shop
