// A login's decisions as the page is handed them: what shows, after which delay, and what
// the session learns, for each kind of reply.
#include <gtest/gtest.h>

#include "account/LoginFlow.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

using namespace vpsdesk;
using account::LoginFlow;
using account::LoginMode;
using account::ResultPhase;

TEST(LoginFlowTest, EachReplyShowsAfterItsDelayAndOnlyASuccessSignsIn) {
    struct Row {
        const char* reply;
        LoginMode mode;
        ResultPhase phase;
        int delay_ms;        // the drawn delays are 2000 (failure) and 700 (success)
        int progress_after;  // the shared progress once the outcome shows
        const char* kept_account;
    };
    const Row rows[] = {
        {"1000", LoginMode::kManual, ResultPhase::kSuccess, 700, platform::kProgressSuccess,
         "demo"},
        {"1000", LoginMode::kAuto, ResultPhase::kSuccess, 700, platform::kProgressSuccess, "demo"},
        {"1001", LoginMode::kManual, ResultPhase::kFailure, 2000, platform::kProgressFailure, ""},
        {"", LoginMode::kAuto, ResultPhase::kFailure, 2000, platform::kProgressFailure, ""},
        {"1000 ", LoginMode::kManual, ResultPhase::kNone, 0, platform::kProgressBusy, ""},
    };
    for (const Row& row : rows) {
        platform::SessionState session;
        LoginFlow flow({"127.0.0.1:1", "Ver 4.92"}, session, row.mode, "0123456789ABCDEF");
        flow.Begin({2000, 700});
        EXPECT_EQ(session.progress_state.load(), platform::kProgressBusy) << row.reply;

        // As the login sequence walks it.
        const account::LoginOutcome outcome = flow.Judge(row.reply);
        if (outcome.success) flow.Accept({"demo", "p&w 密", "1234"});
        EXPECT_EQ(outcome.phase, row.phase) << row.reply;
        EXPECT_EQ(flow.DelayBefore(outcome), row.delay_ms) << row.reply;
        if (outcome.phase != ResultPhase::kNone) flow.Shown(outcome);
        EXPECT_EQ(session.progress_state.load(), row.progress_after) << row.reply;
        EXPECT_EQ(session.SessionAccount(), row.kept_account) << row.reply;
        EXPECT_EQ(session.sign_in_completed.load(), 0) << "only once the window has gone";
    }
}

TEST(LoginFlowTest, CredentialsAndTheSignInFlagGoToTheSessionItWasGiven) {
    platform::SessionState mine, other;
    LoginFlow flow({"127.0.0.1:1", "Ver 4.92"}, mine, LoginMode::kManual, "code");
    LoginFlow copy = flow;  // the copy a worker takes writes to the same session
    copy.Accept({"demo", "secret", ""});
    copy.Complete();
    EXPECT_EQ(mine.SessionAccount(), "demo");
    EXPECT_EQ(mine.SessionPassword(), "secret");
    EXPECT_EQ(mine.sign_in_completed.load(), 1);
    EXPECT_EQ(other.SessionAccount(), "");
    EXPECT_EQ(other.sign_in_completed.load(), 0);
}
