#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>

#include "GuiTestSupport.h"
#include "ui/PumpedCall.h"
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

// A call from the UI thread runs on a worker while events go on; its result, even one that
// cannot be copied, comes back. Off the UI thread it runs on the calling thread.
TEST(Waiting, APumpedCallRunsOnAWorkerWhileEventsGoOn) {
    const auto ui_thread = std::this_thread::get_id();
    std::atomic<bool> posted_ran{false};
    const std::unique_ptr<std::string> reply = CallKeepingWindowResponsive([&] {
        QMetaObject::invokeMethod(qApp, [&] { posted_ran = true; }, Qt::QueuedConnection);
        while (!posted_ran.load()) std::this_thread::sleep_for(1ms);
        const bool on_worker = std::this_thread::get_id() != ui_thread;
        return std::make_unique<std::string>(on_worker ? "worker" : "ui");
    });
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(*reply, "worker");

    std::atomic<bool> done{false};
    std::thread::id ran_on, caller;
    ASSERT_TRUE(RunInBackground([&] {
        caller = std::this_thread::get_id();
        ran_on = CallKeepingWindowResponsive([] { return std::this_thread::get_id(); });
        done = true;
    }));
    PumpUntil([&] { return done.load(); });
    EXPECT_EQ(ran_on, caller);
}

// A wait given up (the client is ending) returns nothing at once; the worker still
// finishes later into state it shares, not into the caller's freed frame.
TEST(Waiting, AnAbandonedPumpedCallLetsItsWorkerFinishSafely) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    {
        PumpedCall<std::string> call([release] {
            while (!release->load()) std::this_thread::sleep_for(1ms);
            return std::string(4096, 'x');
        });
        int rounds = 0;
        EXPECT_FALSE(call.Wait([&] { return ++rounds <= 3; }).has_value());
        EXPECT_EQ(rounds, 4);
    }
    release->store(true);
    // The worker drops its copy of `release` once it has stored its result.
    PumpUntil([&] { return release.use_count() == 1; });
}
