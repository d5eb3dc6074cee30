// The profile's pure rules: how the verification form carries a name, which entries the
// real-name gate guards, and how a profile load merges into the session.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "account/ProfileApi.h"
#include "account/RealNameGate.h"
#include "platform/SessionState.h"

using namespace vpsdesk;

TEST(EncodeRealName, ChineseCharactersGoOutAsPercent25u) {
    EXPECT_EQ(account::EncodeRealName("张三"), "%25u5F20%25u4E09");
    // Characters below U+0100 keep the two-digit form; the prefix swap leaves them alone.
    EXPECT_EQ(account::EncodeRealName("Zhang San·"), "Zhang%20San%B7");
    EXPECT_EQ(account::EncodeRealName("O'Neil(李)"), "O'Neil%28%25u674E%29");
    EXPECT_EQ(account::EncodeRealName(""), "");
}

TEST(RealNameGate, OnlyTheServerListAndCardActivationAreGated) {
    for (int entry = -1; entry <= 5; ++entry)
        EXPECT_EQ(account::EntryIsGated(entry), entry == 0 || entry == 4) << entry;
}

TEST(RealNameGate, OnlyTheNotVerifiedTextBlocks) {
    EXPECT_TRUE(account::RealNameBlocks("未实名"));
    // Before the first profile load of the process the status is empty.
    EXPECT_FALSE(account::RealNameBlocks(""));
    EXPECT_FALSE(account::RealNameBlocks("张三"));
    EXPECT_FALSE(account::RealNameBlocks("JSON解析失败"));
    EXPECT_FALSE(account::RealNameBlocks("未实名 "));
}

TEST(SessionProfileMerge, EmptyContactsKeepTheirValueAndTheBalanceAlwaysChanges) {
    platform::SessionState state;
    state.SetUserName("demo");
    state.SetRealNameStatus("张三");
    state.MergeProfile({"13800138000", "10001", "a@b.c", "12.50元"});
    state.MergeProfile({"", "", "x@y.z", "元"});
    const platform::ProfileTexts profile = state.Profile();
    EXPECT_EQ(profile.mobile, "13800138000");
    EXPECT_EQ(profile.qq, "10001");
    EXPECT_EQ(profile.email, "x@y.z");
    EXPECT_EQ(profile.balance, "元");
    EXPECT_EQ(profile.user_name, "demo");  // a load never touches these two
    EXPECT_EQ(profile.real_name_status, "张三");
    EXPECT_EQ(state.ProfileMobile(), "13800138000");
    EXPECT_EQ(state.RealNameStatus(), "张三");
}

TEST(SessionProfileMerge, ConcurrentNameAndStatusWritesAreNotLost) {
    // The keep-alive writes the user name and the status while a window's load merges
    // the contacts: neither may overwrite the other's fields with stale copies.
    platform::SessionState state;
    std::thread loads([&] {
        for (int i = 0; i < 2000; ++i)
            state.MergeProfile({"138", "q" + std::to_string(i), "", std::to_string(i) + "元"});
    });
    for (int i = 0; i < 2000; ++i) {
        state.SetUserName("user" + std::to_string(i));
        state.SetRealNameStatus("name" + std::to_string(i));
    }
    loads.join();
    const platform::ProfileTexts profile = state.Profile();
    EXPECT_EQ(profile.user_name, "user1999");
    EXPECT_EQ(profile.real_name_status, "name1999");
    EXPECT_EQ(profile.qq, "q1999");
    EXPECT_EQ(profile.balance, "1999元");
}
