#include <gtest/gtest.h>

#include "platform/PlatformReply.h"

using namespace vpsdesk;

TEST(PlatformReply, ResultCodesAreReadAsPlainText) {
    EXPECT_EQ(platform::ReadPlatformReply(net::ToBytes("1000"), "/user/data/vpscz"), "1000");
    EXPECT_EQ(platform::ReadPlatformReply(net::ToBytes("1000\r\n"), "/user/data/vpscz"), "1000\r\n")
        << "a line break after the code is kept, so it no longer compares equal";
    EXPECT_EQ(platform::ReadPlatformReply({}, "/user/data/vpscz"), "");
}

TEST(PlatformReply, GbkBytesUpToTheFirstZeroBecomeText) {
    net::ByteArray bytes = net::ToBytes("\xD4\xCB\xD0\xD0\xD6\xD0");
    bytes.push_back(0);
    bytes.push_back('x');
    EXPECT_EQ(platform::ReadPlatformReply(bytes, "/user/data/vpslist"), "运行中");
}

TEST(PlatformReply, OnlyTheLoginAndCodeRepliesHaveEscapesDecoded) {
    const net::ByteArray escaped = net::ToBytes("\\u767b\\u5f55");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "/user/loginpost"), "登录");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "/user/khdloginpd"), "登录");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "/user/data/Register?act=yzm"), "登录");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "https://h.example/user/loginpost"), "登录");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "/user/data/Register?act=reg"),
              "\\u767b\\u5f55");
    EXPECT_EQ(platform::ReadPlatformReply(escaped, "/user/userinfo"), "\\u767b\\u5f55");
}
