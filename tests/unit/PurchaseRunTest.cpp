// The order's run as the buy button and its progress picture show it: captions, frames,
// the shared progress state, the waits and the error box, in order.
#include <gtest/gtest.h>

#include "ScriptedCatalogue.h"
#include "shop/PurchaseRun.h"

using namespace vpsdesk::shop;
using vpsdesk::test::ScriptedCatalogue;
using Kind = PurchaseStep::Kind;

namespace {

// One line per step, so a whole sequence compares at once.
std::string Describe(const PurchaseStep& s) {
    switch (s.kind) {
        case Kind::EnableButton:
            return s.number ? "enable" : "disable";
        case Kind::Caption:
            return "caption [" + s.text + "]";
        case Kind::ShowPicture:
            return s.number ? "show picture" : "hide picture";
        case Kind::Animate:
            return "frame " + std::to_string(s.number) + " state " + std::to_string(s.state);
        case Kind::Wait:
            return "wait " + std::to_string(s.number);
        case Kind::WaitForFrame:
            return "until frame " + std::to_string(s.number);
        case Kind::ErrorBox:
            return "box " + s.title + " [" + s.text + "]";
    }
    return {};
}

std::vector<std::string> PlayOrder(const char* reply, std::vector<std::string>* sent = nullptr) {
    ScriptedCatalogue platform;
    platform.Reply("/user/data/buy", reply);
    std::vector<std::string> steps;
    RunPurchase(platform.Sender(), PurchaseOrder{"12", "9", PurchasePeriod::Month},
                [&](const PurchaseStep& s) { steps.push_back(Describe(s)); });
    // The delay right after the request is drawn per order; its range is checked below.
    if (steps.size() > 4 && steps[4].starts_with("wait ")) steps[4] = "wait drawn";
    if (sent) *sent = platform.SentLines();
    return steps;
}

const std::vector<std::string> kStart = {"disable", "show picture", "caption [  开通中]",
                                         "frame 0 state 1"};
const std::vector<std::string> kEnd = {"caption [购买]", "hide picture", "enable"};

std::vector<std::string> Joined(std::vector<std::string> middle) {
    std::vector<std::string> all = kStart;
    all.insert(all.end(), middle.begin(), middle.end());
    all.insert(all.end(), kEnd.begin(), kEnd.end());
    return all;
}

}  // namespace

TEST(RunPurchase, SuccessHoldsTheSuccessCaptionThenReturnsToBuy) {
    std::vector<std::string> sent;
    EXPECT_EQ(PlayOrder(R"({"status":200,"data":"ok"})", &sent),
              Joined({"wait drawn", "frame 26 state 2", "caption [   开通成功]", "wait 3000",
                      "until frame 39"}));
    EXPECT_EQ(sent,
              std::vector<std::string>{"POST /user/data/buy year=month&id=12&osid=9&duration=1"});
}

TEST(RunPurchase, FailureShowsTheReplysDataInTheErrorBox) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"status":"200","data":"x"})", "x"},
        {R"({"status":500,"data":"余额不足"})", "余额不足"},
        {"", ""},
    };
    for (const auto& [reply, text] : cases)
        EXPECT_EQ(PlayOrder(reply),
                  Joined({"wait drawn", "frame 41 state 3", std::string("box 错误 [") + text + "]",
                          "until frame 49"}))
            << reply;
}

TEST(RunPurchase, TheDrawnDelayPrecedesTheResult) {
    const PurchaseDelays delays{2222, 555};
    const auto ok = OrderEndSteps({R"({"status":200})", false}, delays);
    const auto failed = OrderEndSteps({R"({"status":500})", false}, delays);
    EXPECT_EQ(Describe(ok.front()), "wait 555");
    EXPECT_EQ(Describe(failed.front()), "wait 2222");
}

TEST(RunPurchase, DelaysAreDrawnWithinTheirRanges) {
    for (int i = 0; i < 200; ++i) {
        const PurchaseDelays d = PurchaseDelays::Draw();
        EXPECT_GE(d.failure_ms, 500);
        EXPECT_LE(d.failure_ms, 3000);
        EXPECT_GE(d.success_ms, 300);
        EXPECT_LE(d.success_ms, 1300);
    }
}
