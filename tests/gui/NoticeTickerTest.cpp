// The notice line's loop and the pop-up announcement: what is shown in which order, that
// every cycle fetches afresh, and that both stop with the session.
#if __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "app/NoticeText.h"
#include "app/gui/NoticeTicker.h"
#include "app/gui/PopupNotice.h"
#include "net/Gbk.h"
#include "net/WebRequest.h"
#include "platform/SiteConstants.h"
#include "ui/UiThread.h"

using namespace vpsdesk;
using ui::guitest::ModalClicker;
using ui::guitest::PumpUntil;
using Lines = std::vector<std::string>;

namespace {

const std::string kTip(app::kNoticeTip);

// Sessions of the detached loops: they must outlive the test that started them.
platform::SessionState* const kTickerSession = new platform::SessionState;
platform::SessionState* const kPopupSession = new platform::SessionState;

// A ticker with a 1 ms step whose fetches answer `replies` in turn; the fetch after the
// last ends the session.
Lines RunTicker(const std::vector<std::string>& replies, int* fetches = nullptr) {
    platform::SessionState session;
    Lines shown;
    std::size_t next = 0;
    app::NoticeTickerSteps steps;
    steps.fetch = [&] {
        if (next == replies.size()) {
            session.session_ended = 1;
            return std::string("ignored");
        }
        return replies[next++];
    };
    steps.show_line = [&](const std::string& line) { shown.push_back(line); };
    app::NoticeTicker(session, steps, std::chrono::milliseconds(1), 3).Run();
    if (fetches != nullptr) *fetches = static_cast<int>(next);
    return shown;
}

// A ticker on its own thread whose lines stay for hours unless it is stopped.
struct SlowTicker {
    platform::SessionState session;
    std::atomic<int> shown{0};
    std::thread thread;

    SlowTicker() {
        app::NoticeTickerSteps steps;
        steps.fetch = [] { return std::string("a\r\nb"); };
        steps.show_line = [this](const std::string&) { ++shown; };
        auto ticker = std::make_shared<app::NoticeTicker>(session, steps,
                                                          std::chrono::milliseconds(20), 1000000);
        thread = std::thread([ticker] { ticker->Run(); });
        while (shown.load() == 0) std::this_thread::yield();
    }
};

}  // namespace

TEST(NoticeTicker, TwoCrLfLinesShowTipLinesAndAnEmptyEntryThenFetchAgain) {
    int fetches = 0;
    const Lines shown = RunTicker({"新用户注册即送体验金\r\n限时八折\r\n", "只有一条"}, &fetches);
    EXPECT_EQ(shown, (Lines{kTip, "新用户注册即送体验金", "限时八折", "", kTip, "只有一条", kTip}));
    EXPECT_EQ(fetches, 2);
}

TEST(NoticeTicker, BareLineFeedsShowTheWholeTextOnceThenEmptyEntries) {
    EXPECT_EQ(RunTicker({"甲\n乙\n丙"}), (Lines{kTip, "甲\n乙\n丙", "", "", kTip}));
}

TEST(NoticeTicker, AFailedFetchShowsOnlyTheTip) {
    EXPECT_EQ(RunTicker({"", ""}), (Lines{kTip, kTip, kTip}));
}

TEST(NoticeTicker, StopsWithinAStepOfTheSessionEnding) {
    // Each line would stay for hours: the ticker only ends by noticing the flag.
    SlowTicker slow;
    slow.session.session_ended = 1;
    slow.thread.join();
    EXPECT_EQ(slow.shown.load(), 1);
}

TEST(NoticeTicker, ANewerTickerRetiresTheOldOneEvenWithTheFlagCleared) {
    SlowTicker old;
    // Sign-out and a new sign-in in quick succession: the flag is set and cleared again
    // before the old loop looked at it.
    old.session.session_ended = 1;
    old.session.session_ended = 0;
    platform::SessionState other;
    app::NoticeTicker newer(other, {}, std::chrono::milliseconds(1), 1);
    old.thread.join();
    EXPECT_EQ(old.shown.load(), 1);
}

TEST(NoticeTicker, TheClientTickerShowsItsLinesOnTheUiThread) {
    struct Seen {
        std::mutex mutex;
        Lines lines;
        bool on_ui_thread = true;
    };
    auto seen = std::make_shared<Seen>();
    platform::SessionState& session = *kTickerSession;
    session.session_ended = 0;
    const platform::SiteConstants nowhere{"127.0.0.1:1", "Ver 4.92"};  // nothing listens there
    app::StartNoticeTicker(session, nowhere, [seen](const std::string& line) {
        std::lock_guard lock(seen->mutex);
        seen->on_ui_thread = seen->on_ui_thread && ui::IsUiThread();
        seen->lines.push_back(line);
    });
    PumpUntil([&] {
        std::lock_guard lock(seen->mutex);
        return !seen->lines.empty();
    });
    session.session_ended = 1;
    std::lock_guard lock(seen->mutex);
    EXPECT_EQ(seen->lines, Lines{kTip});
    EXPECT_TRUE(seen->on_ui_thread);
}

TEST(PopupNotice, ShowsTheTextUnlessItIsEmptyOrTheSessionEnded) {
    platform::SessionState session;
    Lines shown;
    const auto show = [&](const std::string& text) { shown.push_back(text); };
    app::RunPopupNotice(
        session, [] { return std::string(); }, show);
    EXPECT_TRUE(shown.empty());
    app::RunPopupNotice(
        session, [] { return std::string("公告内容\r\n第二行"); }, show);
    EXPECT_EQ(shown, Lines{"公告内容\r\n第二行"});
    session.session_ended = 1;
    app::RunPopupNotice(
        session, [] { return std::string("晚到的公告"); }, show);
    EXPECT_EQ(shown.size(), 1u);
}

class PopupNoticePlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>("popup-token", true, 4);
    }
    void TearDown() override { platform_.reset(); }
    void ScriptEmpty(const std::string& command) {
        platform_->Script("%2Fkhd%3Fact%3D" + command, "");
    }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
};

TEST_F(PopupNoticePlatformTest, TheAnnouncementAppearsInABoxTitledGongGao) {
    QObject owner;
    ModalClicker ok;
    ok.Arm(&owner, QStringLiteral("messageBoxOk"));
    platform::SessionState& session = *kPopupSession;
    app::StartPopupNotice(session, platform_->Site());
    PumpUntil([&] { return ok.clicked; });
    EXPECT_EQ(ok.title, QStringLiteral("公告"));
    EXPECT_EQ(ok.text,
              QStringLiteral("欢迎使用云桌面管家！本平台为演示平台，所有服务器均为本机地址。"));
}

TEST_F(PopupNoticePlatformTest, AnEmptyAnnouncementShowsNothing) {
    ScriptEmpty("tcgg");
    platform::SessionState session;
    bool shown = false;
    app::RunPopupNotice(
        session, [&] { return app::FetchPopupText(platform_->Site()); },
        [&](const std::string&) { shown = true; });
    EXPECT_FALSE(shown);
    // The notice text is fetched by command as well.
    EXPECT_EQ(app::FetchNoticeText(platform_->Site()),
              "新用户注册即送体验金，实名认证后即可使用\r\n显卡云服务器限时八折，欢迎选购\r\n");
}

#endif  // __has_include("Platform.h")
