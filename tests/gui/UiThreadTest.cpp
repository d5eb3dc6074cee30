#include <gtest/gtest.h>

#include <QLabel>
#include <atomic>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "ui/QtText.h"
#include "ui/UiThread.h"
#include "ui/Waiting.h"

using namespace vpsdesk::ui;
using vpsdesk::ui::guitest::PumpUntil;

TEST(UiThread, WorkerChangeRunsOnTheUiThreadAndItsLaterReadSeesIt) {
    QLabel label(QStringLiteral("登录"));
    label.setObjectName(QStringLiteral("loginButtonCaption"));
    const auto ui_thread = std::this_thread::get_id();

    std::atomic<bool> done{false};
    bool worker_on_ui = true;
    bool change_ran = false;
    bool change_on_ui_thread = false;
    std::string read_back;
    ASSERT_TRUE(RunInBackground([&] {
        worker_on_ui = IsUiThread();
        change_ran = OnUiThread([&] {
            change_on_ui_thread = std::this_thread::get_id() == ui_thread && IsUiThread();
            label.setText(QStringLiteral("    正在登录中"));
        });
        OnUiThread([&] { read_back = U8(label.text()); });
        done = true;
    }));
    PumpUntil([&] { return done.load(); });

    EXPECT_FALSE(worker_on_ui);
    EXPECT_TRUE(change_ran);
    EXPECT_TRUE(change_on_ui_thread);
    EXPECT_EQ(read_back, "    正在登录中");
}

TEST(UiThread, OnTheUiThreadTheCallRunsInlineEvenWhenNested) {
    ASSERT_TRUE(IsUiThread());
    std::vector<int> order;
    const bool ran = OnUiThread([&] {
        order.push_back(1);
        OnUiThread([&] { order.push_back(2); });
        order.push_back(3);
    });
    order.push_back(4);
    EXPECT_TRUE(ran);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(OnUiThread({}));
}

// Many workers at once: their changes are serialised on the UI thread, so a plain counter
// owned by the UI thread is neither raced (the thread sanitizer build checks) nor loses
// an update.
TEST(UiThread, ConcurrentWorkersAreSerialisedWithoutLosingChanges) {
    constexpr int kWorkers = 4;
    constexpr int kCalls = 50;
    int counter = 0;
    std::atomic<int> finished{0};
    for (int w = 0; w < kWorkers; ++w) {
        ASSERT_TRUE(RunInBackground([&] {
            for (int i = 0; i < kCalls; ++i) OnUiThread([&] { ++counter; });
            ++finished;
        }));
    }
    PumpUntil([&] { return finished.load() == kWorkers; });
    EXPECT_EQ(counter, kWorkers * kCalls);
}

// The UI thread waiting with WaitPumping still serves a worker's calls; this is how a
// delay on the UI thread and a worker's caption change meet in the login flow.
TEST(UiThread, WorkerCallsAreServedWhileTheUiThreadWaitsPumping) {
    std::atomic<bool> done{false};
    int value = 0;
    ASSERT_TRUE(RunInBackground([&] {
        OnUiThread([&] { value = 42; });
        done = true;
    }));
    while (!done) WaitPumping(5, WaitUnit::Milliseconds);
    EXPECT_EQ(value, 42);
}
