// The background loops of the start-up spine, in-process, with stand-ins for the
// platform and the windows. Without an application their waits are plain sleeps.
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "E2eSupport.h"
#include "app/gui/MainWindowWatcher.h"
#include "app/gui/SessionKeepAlive.h"
#include "platform/SessionState.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using vpsdesk::app::KeepAliveSteps;
using vpsdesk::app::MainWindowWatcher;
using vpsdesk::app::SessionKeepAlive;
using vpsdesk::platform::SessionState;

TEST(MainWindowWatcher, OpensOncePerSignInAndClearsTheFlag) {
    SessionState session;
    std::atomic<int> opened{0};
    MainWindowWatcher watcher(session, [&] { ++opened; }, 1ms);
    EXPECT_FALSE(watcher.PollOnce());

    std::thread loop([&] { watcher.Run(); });
    session.sign_in_completed = 1;
    EXPECT_TRUE(PollFor([&] { return opened == 1 && session.sign_in_completed == 0; }));
    // A second login (after a log-out) opens it again.
    session.sign_in_completed = 1;
    EXPECT_TRUE(PollFor([&] { return opened == 2 && session.sign_in_completed == 0; }));
    watcher.Stop();
    loop.join();
    EXPECT_EQ(opened, 2);
}

// Scripted replies for the keep-alive, and a record of what it did.
// A name of nullopt is a pass the platform did not answer.
struct FakePlatform {
    std::mutex mutex;
    std::deque<std::optional<std::string>> names;
    std::string relogin_reply = "1000";
    bool down = false;  // no answer to anything while set
    int relogins = 0, shown = 0, profiles = 0, lists = 0, give_ups = 0;
    std::vector<bool> answered;

    KeepAliveSteps Steps() {
        KeepAliveSteps steps;
        steps.relogin = [this] {
            std::lock_guard l(mutex);
            ++relogins;
            return down ? std::string() : relogin_reply;
        };
        steps.fetch_user_name = [this] {
            std::lock_guard l(mutex);
            if (down) return std::optional<std::string>();
            if (names.empty()) return std::optional<std::string>("demo");
            std::optional<std::string> name = names.front();
            names.pop_front();
            return name;
        };
        steps.show_connection = [this](bool ok) {
            std::lock_guard l(mutex);
            answered.push_back(ok);
        };
        steps.show_user_name = [this](const std::string&) { std::lock_guard l(mutex); ++shown; };
        steps.refresh_profile = [this] { std::lock_guard l(mutex); ++profiles; };
        steps.refresh_list = [this] { std::lock_guard l(mutex); ++lists; };
        steps.give_up = [this] { std::lock_guard l(mutex); ++give_ups; };
        return steps;
    }
};

TEST(SessionKeepAlive, TwoEmptyNamesInARowGiveUpButOneEmptyNameResetsNothing) {
    SessionState session;
    FakePlatform platform;
    // Empty, then a name again (counter back to 0), then empty twice: ends on the 5th pass.
    platform.names = {"", "demo", "", "", "never read"};
    SessionKeepAlive keep_alive(session, platform.Steps(), {0ms, 1});
    keep_alive.Run();
    EXPECT_EQ(platform.give_ups, 1);
    EXPECT_EQ(platform.relogins, 4);
    EXPECT_EQ(platform.shown, 1);
    EXPECT_EQ(platform.profiles, 1);
    EXPECT_EQ(platform.lists, 3);  // no list reload after the pass that gives up
    EXPECT_EQ(session.UserName(), "");
}

TEST(SessionKeepAlive, APlatformThatDoesNotAnswerKeepsTheNameAndIsTriedAgain) {
    SessionState session;
    session.SetUserName("demo");
    FakePlatform platform;
    platform.down = true;  // no re-login reply either
    SessionKeepAlive keep_alive(session, platform.Steps(), {0ms, 1});
    std::thread loop([&] { keep_alive.Run(); });
    EXPECT_TRUE(PollFor([&] { std::lock_guard l(platform.mutex); return platform.lists >= 3; }));
    EXPECT_EQ(session.UserName(), "demo");
    {
        std::lock_guard l(platform.mutex);
        EXPECT_EQ(platform.shown, 0);
        EXPECT_EQ(platform.profiles, 0);
        platform.down = false;
    }
    EXPECT_TRUE(PollFor([&] {
        std::lock_guard l(platform.mutex);
        return platform.shown >= 1;
    }));
    session.session_ended = 1;
    loop.join();
    EXPECT_EQ(platform.give_ups, 0);
    ASSERT_GE(platform.answered.size(), 4u);
    EXPECT_FALSE(platform.answered.front());
    EXPECT_TRUE(platform.answered.back());
}

TEST(SessionKeepAlive, AnUnansweredPassNeitherCountsAsEmptyNorBreaksARunOfEmptyNames) {
    SessionState session;
    FakePlatform platform;
    platform.names = {"", std::nullopt, std::nullopt, "", "never read"};
    SessionKeepAlive keep_alive(session, platform.Steps(), {0ms, 1});
    keep_alive.Run();
    EXPECT_EQ(platform.give_ups, 1);
    EXPECT_EQ(platform.relogins, 4);
}

TEST(SessionKeepAlive, APassWaitsThirtySecondsUnlessATestShortensIt) {
    EXPECT_EQ(vpsdesk::app::KeepAlivePace{}.Pass(), 30s);
    EXPECT_EQ(vpsdesk::app::KeepAlivePace{}.step, 1s);
}

TEST(SessionKeepAlive, ARefusedReloginFinishesItsPassAndStops) {
    SessionState session;
    FakePlatform platform;
    platform.relogin_reply = "1001";
    SessionKeepAlive keep_alive(session, platform.Steps(), {0ms, 1});
    keep_alive.Run();
    EXPECT_EQ(platform.relogins, 1);
    EXPECT_EQ(platform.shown, 1);  // the name of that pass is still shown
    EXPECT_EQ(platform.lists, 0);
    EXPECT_EQ(session.session_ended, 1);
}

TEST(SessionKeepAlive, EndedSessionStopsTheWaitAndANewerLoopRetiresAnOlderOne) {
    SessionState session;
    FakePlatform platform;
    // A wait of about a quarter of an hour: only the flag can end it in time.
    auto old_loop = std::make_unique<SessionKeepAlive>(session, platform.Steps(),
                                                       vpsdesk::app::KeepAlivePace{1ms, 1000000});
    std::thread waiting([&] { old_loop->Run(); });
    EXPECT_TRUE(PollFor([&] { std::lock_guard l(platform.mutex); return platform.relogins == 1; }));
    session.session_ended = 1;
    waiting.join();
    EXPECT_EQ(platform.lists, 0);

    // A sign-in that clears the flag while an old loop is still about does not revive it.
    session.session_ended = 0;
    SessionKeepAlive older(session, platform.Steps(), {0ms, 1});
    SessionKeepAlive newer(session, platform.Steps(), {0ms, 1});
    const int before = platform.relogins;
    older.Run();
    EXPECT_EQ(platform.relogins, before);
}

}  // namespace
}  // namespace e2e
