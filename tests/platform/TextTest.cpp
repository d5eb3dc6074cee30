// The platform's own text rules: GBK on the wire, UTF-8 inside, numbers read leniently.
#include "Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace platformd::test {
namespace {

struct IntegerCase {
    const char* text;
    long long value;
};

TEST(PlatformTextTest, ReadsIntegersAsCustomersTypeThem) {
    const IntegerCase cases[] = {
        {"42", 42},
        {"  \t-17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"3.9", 3},
        {"", 0},
        {"abc", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"５０", 50},                 // full-width digits
        {"－３", -3},                 // full-width minus
        {"＋7", 7},                   // full-width plus, half-width digit
        {"\xE3\x80\x80 ９", 9},       // full-width space before the digit
        {"１２ａ３", 12},             // a full-width letter ends the number
        {"\xEF\xBC", 0},              // a cut-off full-width form is no digit
        {"9223372036854775807", LLONG_MAX},
        {"9223372036854775808", LLONG_MAX},
        {"99999999999999999999999", LLONG_MAX},
        {"-9223372036854775808", LLONG_MIN},
        {"-99999999999999999999999", LLONG_MIN},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(ReadInteger(c.text), c.value) << "text: " << c.text;
    }
}

struct TranscodeCase {
    std::string from;
    std::string to;
};

TEST(PlatformTextTest, DecodesGbkWithOneReplacementPerUnreadableByte) {
    const TranscodeCase cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"\xC4\xE3\xBA\xC3", "你好"},
        {"\xA1\xA1", "\xE3\x80\x80"},              // the full-width space
        {"a\xFF" "b", "a\xEF\xBF\xBD" "b"},        // no GBK byte
        {"a\xC4", "a\xEF\xBF\xBD"},                // a character cut off at the end
        {"\x80\x80", "\xE2\x82\xAC\xE2\x82\xAC"},  // code page 936 has the euro sign
    };
    for (const TranscodeCase& c : cases) {
        EXPECT_EQ(GbkToUtf8(c.from), c.to) << "bytes: " << c.from;
    }
}

TEST(PlatformTextTest, EncodesGbkWithAQuestionMarkForWhatItCannotHold) {
    const TranscodeCase cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"你好", "\xC4\xE3\xBA\xC3"},
        {"a😀b", "a?b"},                                  // GBK lacks it
        {"a\xEF\xBF\xBD" "b", "a?b"},                     // so it lacks U+FFFD
        {"a\xF3\xA0\x80\x81" "b", "a?b"},                 // a tag character
        {"a\xFF" "b", "a?b"},                             // a stray byte
        {"a\xC0\xAF" "b", "a??b"},                        // an overlong "/"
        {"a\xED\xA0\x80" "b", "a???b"},                   // a surrogate
        {"a\xF4\x90\x80\x80" "b", "a????b"},              // past U+10FFFF
        {"a\xF8\x88\x80\x80\x80" "b", "a?????b"},         // an obsolete five-byte form
        {"a\xE4\xB8", "a??"},                             // cut off at the end
    };
    for (const TranscodeCase& c : cases) {
        EXPECT_EQ(Utf8ToGbk(c.from), c.to) << "text: " << c.from;
    }
}

TEST(PlatformTextTest, LargeTextRoundTripsAndEachMissingCharacterCostsOneMark) {
    std::string text;
    std::string gbk;
    for (int i = 0; i < 20000; ++i) {
        text += "中😀";
        gbk += "\xD6\xD0?";
    }
    EXPECT_EQ(Utf8ToGbk(text), gbk);
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk("中文 ABC，。")), "中文 ABC，。");
}

TEST(PlatformTextTest, SplitsAtEverySeparator) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(SplitText("", ";"), Pieces{});
    EXPECT_EQ(SplitText("a", ";"), Pieces{"a"});
    EXPECT_EQ(SplitText("a;;b", ";"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitText("a;b;", ";"), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("GET / HTTP/1.1\r\nHost: x\r\n", "\r\n"),
              (Pieces{"GET / HTTP/1.1", "Host: x"}));
    EXPECT_EQ(SplitText("a;b", ""), Pieces{"a;b"});
}

TEST(PlatformTextTest, ReplacesWithoutRescanning) {
    EXPECT_EQ(ReplaceText("%25u4E2D%25u", "%25u", "%u"), "%u4E2D%u");
    EXPECT_EQ(ReplaceText("%2525u", "%25", "%"), "%25u");
    EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
}

}  // namespace
}  // namespace platformd::test
