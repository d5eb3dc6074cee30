// A worker ending the UI thread's wait: the wake is never lost, whether it comes before,
// during or just as the wait begins or ends, and it ends only the wait it meets. The 60 s
// bound only tells a wake from a full wait.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <chrono>
#include <thread>

#include "ui/PumpedCall.h"
#include "ui/WaitWaker.h"

using namespace std::chrono_literals;
using vpsdesk::ui::WaitWaker;

namespace {

constexpr auto kLong = 60s;

bool EndedByWake(WaitWaker& waker) {
    const auto start = std::chrono::steady_clock::now();
    waker.WaitPumping(kLong);
    return std::chrono::steady_clock::now() - start < kLong / 2;
}

}  // namespace

TEST(WaitWaker, AWakeEndsTheWaitWheneverItComes) {
    WaitWaker early;
    early.Wake();
    EXPECT_TRUE(EndedByWake(early));

    // Wakes racing the start and the end of each wait.
    for (int round = 0; round < 100; ++round) {
        WaitWaker waker;
        std::thread worker([&waker, round] {
            std::this_thread::sleep_for(std::chrono::microseconds(round * 20));
            waker.Wake();
        });
        EXPECT_TRUE(EndedByWake(waker)) << "round " << round;
        worker.join();
    }
}

TEST(WaitWaker, AWakeEndsOnlyOneWait) {
    WaitWaker waker;
    waker.Wake();
    waker.WaitPumping(kLong);
    bool posted_ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { posted_ran = true; }, Qt::QueuedConnection);
    std::thread worker([&waker] {
        std::this_thread::sleep_for(20ms);
        waker.Wake();
    });
    waker.WaitPumping(kLong);
    worker.join();
    EXPECT_TRUE(posted_ran);
}

// Pumped calls back to back: each worker's result and wake meet a wait of its own.
TEST(WaitWaker, BackToBackPumpedCallsEachReturnTheirOwnResult) {
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(vpsdesk::ui::CallKeepingWindowResponsive([i] { return i * 3; }), i * 3);
}
