#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "GuiTestSupport.h"
#include "ui/Waiting.h"

using namespace vpsdesk::ui;
using namespace std::chrono_literals;
using vpsdesk::ui::guitest::PumpUntil;

TEST(Waiting, DurationFollowsTheFourUnitsAndNeverWraps) {
    EXPECT_EQ(WaitDuration(250, WaitUnit::Milliseconds), 250ms);
    EXPECT_EQ(WaitDuration(2, WaitUnit::Seconds), 2000ms);
    EXPECT_EQ(WaitDuration(3, WaitUnit::Minutes), 180000ms);
    EXPECT_EQ(WaitDuration(1, WaitUnit::Hours), 3600000ms);
    EXPECT_EQ(WaitDuration(0, WaitUnit::Hours), 0ms);
    EXPECT_EQ(WaitDuration(-5, WaitUnit::Seconds), 0ms);
    EXPECT_EQ(WaitDuration(std::numeric_limits<std::int64_t>::max() / 1000, WaitUnit::Hours),
              std::chrono::milliseconds(std::numeric_limits<std::int64_t>::max()));
    EXPECT_EQ(WaitDuration(7, static_cast<WaitUnit>(9)), 7ms);
}

TEST(Waiting, OnTheUiThreadTimersAndPostedWorkGoOnDuringTheWait) {
    int ticks = 0;
    QTimer repeating;
    QObject::connect(&repeating, &QTimer::timeout, [&] { ++ticks; });
    repeating.start(1);
    bool posted_ran = false;
    QMetaObject::invokeMethod(qApp, [&] { posted_ran = true; }, Qt::QueuedConnection);

    const auto start = std::chrono::steady_clock::now();
    WaitPumping(30, WaitUnit::Milliseconds);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(posted_ran);
}

TEST(Waiting, AZeroWaitStillHandlesWhatIsPending) {
    bool posted_ran = false;
    QMetaObject::invokeMethod(qApp, [&] { posted_ran = true; }, Qt::QueuedConnection);
    WaitPumping(0, WaitUnit::Seconds);
    EXPECT_TRUE(posted_ran);
}

TEST(Waiting, OnAWorkerItSleepsAndRunInBackgroundUsesAnotherThread) {
    const auto ui_thread = std::this_thread::get_id();
    std::atomic<bool> done{false};
    std::thread::id worker_thread;
    std::chrono::steady_clock::duration waited{};
    ASSERT_TRUE(RunInBackground([&] {
        worker_thread = std::this_thread::get_id();
        const auto start = std::chrono::steady_clock::now();
        WaitPumping(20, WaitUnit::Milliseconds);
        waited = std::chrono::steady_clock::now() - start;
        done = true;
    }));
    PumpUntil([&] { return done.load(); });
    EXPECT_NE(worker_thread, ui_thread);
    EXPECT_GE(waited, 20ms);
    EXPECT_FALSE(RunInBackground({}));
}
