// What the login window shows for each reply, manual and automatic.
#include <gtest/gtest.h>

#include "account/LoginApi.h"
#include "account/LoginResult.h"
#include "net/Text.h"

using namespace vpsdesk::account;

TEST(LoginResultTest, CaptionTableForManualAndAutoLogin) {
    struct Row {
        const char* reply;
        const char* manual;
        const char* automatic;
    };
    const Row rows[] = {
        {"1001", "           用户或密码不正确", "           自动登录失效"},
        {"1003", "    登录次数过多", "    登录次数过多"},
        {"1002", "    验证码错误", "    验证码错误"},
        {"", "    网络链接失败", "    网络链接失败"},
        {"500", "    平台维护中", "    平台维护中"},
    };
    for (const Row& row : rows) {
        for (LoginMode mode : {LoginMode::kManual, LoginMode::kAuto}) {
            LoginOutcome o = InterpretLoginReply(row.reply, mode);
            EXPECT_FALSE(o.success) << row.reply;
            EXPECT_EQ(o.phase, ResultPhase::kFailure) << row.reply;
            EXPECT_EQ(o.caption, mode == LoginMode::kManual ? row.manual : row.automatic)
                << row.reply;
        }
    }
    for (LoginMode mode : {LoginMode::kManual, LoginMode::kAuto}) {
        LoginOutcome ok = InterpretLoginReply("1000", mode);
        EXPECT_TRUE(ok.success);
        EXPECT_EQ(ok.phase, ResultPhase::kSuccess);
        EXPECT_EQ(ok.caption, "    登录成功");
    }
}

TEST(LoginResultTest, ResultCodesCompareExactly) {
    for (const char* reply : {"1000 ", "1000\r\n", " 1000", "1000\n", "10000", "1001 ", "500\r\n",
                              "{\"status\":1000}", "<html>1000</html>", "1004", "登录成功"}) {
        for (LoginMode mode : {LoginMode::kManual, LoginMode::kAuto}) {
            LoginOutcome o = InterpretLoginReply(reply, mode);
            EXPECT_FALSE(o.success) << reply;
            EXPECT_EQ(o.phase, ResultPhase::kNone) << reply;
            EXPECT_EQ(o.caption, "") << reply;
        }
    }
}

TEST(LoginResultTest, DelaysStayInTheirRangesAndFollowTheOutcome) {
    bool failure_varies = false;
    ResultDelays first = DrawResultDelays();
    for (int i = 0; i < 2000; ++i) {
        ResultDelays d = DrawResultDelays();
        ASSERT_GE(d.failure_ms, 500);
        ASSERT_LE(d.failure_ms, 3000);
        ASSERT_GE(d.success_ms, 300);
        ASSERT_LE(d.success_ms, 1300);
        failure_varies |= d.failure_ms != first.failure_ms;
    }
    EXPECT_TRUE(failure_varies);

    ResultDelays d{1234, 567};
    EXPECT_EQ(DelayBeforeResult(InterpretLoginReply("1000", LoginMode::kManual), d), 567);
    EXPECT_EQ(DelayBeforeResult(InterpretLoginReply("1002", LoginMode::kAuto), d), 1234);
    EXPECT_EQ(DelayBeforeResult(InterpretLoginReply("1000\r\n", LoginMode::kAuto), d), 0);
}

TEST(CaptchaIdTest, ReadsLikeAScriptRandomNumber) {
    std::string previous;
    for (int i = 0; i < 500; ++i) {
        std::string id = CaptchaId();
        ASSERT_FALSE(id.empty());
        // A fraction in [0, 1): "0", "0.<digits>", or a tiny value in exponent form.
        bool plain = id == "0" || vpsdesk::net::StartsWithText(id, "0.");
        bool tiny = vpsdesk::net::ContainsText(id, "e-");
        ASSERT_TRUE(plain || tiny) << id;
        ASSERT_EQ(id.find_first_not_of("0123456789.e-"), std::string::npos) << id;
        if (plain && id != "0") {
            // Never more significant digits than a double holds.
            ASSERT_LE(id.size() - id.find_first_not_of("0."), 17u) << id;
            ASSERT_NE(id.back(), '0') << id;  // shortest form: no trailing zero
        }
        ASSERT_NE(id, previous);
        previous = id;
    }
}
