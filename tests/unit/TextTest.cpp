#include <climits>
#include <gtest/gtest.h>

#include "net/Gbk.h"
#include "net/Text.h"

using namespace vpsdesk::net;

TEST(TextSearch, PositionsAreOneBasedBytesAndMissingIsMinusOne) {
    EXPECT_EQ(FindText("abcabc", "c"), 3);
    EXPECT_EQ(FindText("abcabc", "c", 4), 6);
    EXPECT_EQ(FindText("abc", "x"), -1);
    EXPECT_EQ(FindText("abc", "B", 1, true), 2);
    EXPECT_EQ(FindText("abc", "B"), -1);
    EXPECT_EQ(FindText("ab", "b", 99), -1);
    // Case folding touches ASCII letters only.
    EXPECT_EQ(FindText("ÄB", "äb", 1, true), -1);
    EXPECT_EQ(FindText("中文abc", "ABC", 1, true), 7);
}

TEST(TextSearch, BackwardsSearchCountsFromTheEnd) {
    EXPECT_EQ(FindTextBackwards("a:b:c", ":", -1), 4);
    EXPECT_EQ(FindTextBackwards("a:b:c", ":", -3), 2);
    EXPECT_EQ(FindTextBackwards("a:b:c", "x", -1), -1);
    EXPECT_EQ(FindTextBackwards("", ":", -1), -1);
}

TEST(TextBetween, FindsTextBetweenMarkersWithQuotePlaceholder) {
    EXPECT_EQ(TextBetween("x=<a>y", "<", ">"), "a");
    EXPECT_EQ(TextBetween("k=\"v\";", "k=#引号", "#引号"), "v");
    EXPECT_EQ(TextBetween("abc", "x", "c"), "");
    EXPECT_EQ(TextBetween("abc", "a", "x"), "");
    EXPECT_EQ(TextBetween("[1][2]", "[", "]", 2), "2");
    EXPECT_EQ(TextBetween("User-agent: X\r\n", "USER-AGENT:", "\r\n", 1, true), " X");
}

TEST(TextBefore, ForwardAndBackwardStarts) {
    EXPECT_EQ(TextBefore("Set-Cookie: a=1", ": "), "Set-Cookie");
    EXPECT_EQ(TextBefore("no marker", ": "), "");
    EXPECT_EQ(TextBefore("a/b/c", "/", -1), "a/b");
    EXPECT_EQ(TextBefore("a/b/c", "/", 3), "a/b");
}

TEST(TextSplit, FollowsTheSharedSplittingRules) {
    EXPECT_TRUE(SplitText("", ";").empty());
    EXPECT_EQ(SplitText("a;b", ";"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitText("a;;b", ";"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitText("a; ", "; "), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitText("; a", "; "), (std::vector<std::string>{"", "a"}));
}

TEST(TextTrim, RemovesAsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(TrimText("  a b  "), "a b");
    EXPECT_EQ(TrimText("\xE3\x80\x80 x\xE3\x80\x80"), "x");
    EXPECT_EQ(TrimText("\tx\n"), "\tx\n");
    EXPECT_EQ(TrimText("   "), "");
}

TEST(TextToInt, FoldsFullWidthAndTakesLeadingDigits) {
    EXPECT_EQ(TextToInt("123abc"), 123);
    EXPECT_EQ(TextToInt("  -42"), -42);
    EXPECT_EQ(TextToInt("＋１２"), 12);
    EXPECT_EQ(TextToInt("　７"), 7);
    EXPECT_EQ(TextToInt("abc"), 0);
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt("12.50"), 12);
    EXPECT_EQ(TextToInt("99999999999999999999999"), LLONG_MAX);
}

TEST(TextReplace, CaseInsensitiveAndNoRescan) {
    EXPECT_EQ(ReplaceText("Set-Cookie: set-cookie:x", "set-cookie:", "", true), " x");
    EXPECT_EQ(ReplaceText("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
}

TEST(Gbk, RoundTripsChineseText) {
    std::string gbk = Utf8ToGbk("你好, 运行中×");
    EXPECT_EQ(gbk.substr(0, 4), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(gbk.substr(gbk.size() - 2), "\xA1\xC1");  // "×" is A1 C1 in GBK
    EXPECT_EQ(GbkToUtf8(gbk), "你好, 运行中×");
}

TEST(Gbk, InvalidAndTruncatedSequencesBecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(GbkToUtf8("a\xC4"), "a" + fffd);              // truncated at the end
    EXPECT_EQ(GbkToUtf8("\xFF" "b"), fffd + "b");            // never a lead byte
    EXPECT_EQ(GbkToUtf8("\xC4\xE3\xFF\xC4"), "你" + fffd + fffd);
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 131) & 0xFF));
    EXPECT_FALSE(GbkToUtf8(noise).empty());
}

TEST(Gbk, UnrepresentableAndInvalidUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToGbk("a\xFF" "b"), "a?b");
    EXPECT_EQ(Utf8ToGbk("a\xE4\xBD"), "a??");
}

TEST(Gbk, ReplyTextEndsAtTheFirstZeroByte) {
    ByteArray bytes = {'1', '0', '0', '0', 0, '9'};
    EXPECT_EQ(ReplyText(bytes), "1000");
    EXPECT_EQ(ReplyText({}), "");
}
