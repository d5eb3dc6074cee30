#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "net/Charset.h"
#include "net/Gbk.h"
#include "net/Text.h"

using namespace vpsdesk::net;

namespace {

std::size_t OneByte(std::string_view) {
    return 1;
}

}  // namespace

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
    EXPECT_EQ(GbkToUtf8("a\xC4"), "a" + fffd);  // truncated at the end
    EXPECT_EQ(GbkToUtf8("\xFF"
                        "b"),
              fffd + "b");  // never a lead byte
    EXPECT_EQ(GbkToUtf8("\xC4\xE3\xFF\xC4"), "你" + fffd + fffd);
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 131) & 0xFF));
    EXPECT_FALSE(GbkToUtf8(noise).empty());
}

TEST(Gbk, UnrepresentableCharactersAndEveryInvalidUtf8ByteBecomeQuestionMarks) {
    const std::pair<std::string, std::string> cases[] = {
        {"a😀b", "a?b"},  // a character GBK has no form for
        {"a\xFFz", "a?z"},
        {"a\xE4\xBD", "a??"},  // cut short
        {"\xE4\xBDz", "??z"},
        {"\xC0\x80", "??"},  // overlong forms
        {"\xC1\xBF", "??"},
        {"\xE0\x80\xAF", "???"},
        {"\xF0\x80\x80\xAF", "????"},
        {"\xED\xA0\x80", "???"},  // surrogates
        {"\xED\xBF\xBF", "???"},
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xF5\x80\x80\x80", "????"},
        {"\xF7\xBF\xBF\xBF", "????"},
        {"\xF8\x88\x80\x80\x80", "?????"},
        {"\xFC\x84\x80\x80\x80\x80z", "??????z"},
        {"\xFD\xBF\xBF\xBF\xBF\xBF", "??????"},
        {"\xFE\xFF", "??"},
        {"\x80\xBF", "??"},         // continuation bytes alone
        {"\xF3\xA0\x80\x81", "?"},  // tag characters: iconv drops them
        {"\xF3\xA0\x81\xBFx", "?x"},
        {"中\xF3\xA0\x80\xA0文", "\xD6\xD0?\xCE\xC4"},
        {"\xF3\xA0\x80", "???"},    // a tag character cut short
        {"\xF3\xA0\x82\x80", "?"},  // U+E0080 is past the tags, still not GBK
    };
    for (const auto& [utf8, gbk] : cases) EXPECT_EQ(Utf8ToGbk(utf8), gbk) << UpperHex(utf8);
}

// Code points from UTF-32LE bytes.
std::vector<std::uint32_t> CodePoints(std::string_view utf32) {
    std::vector<std::uint32_t> out;
    for (size_t i = 0; i + 4 <= utf32.size(); i += 4) {
        std::uint32_t cp = 0;
        for (size_t b = 4; b-- > 0;) cp = cp << 8 | static_cast<unsigned char>(utf32[i + b]);
        out.push_back(cp);
    }
    return out;
}

TEST(Gbk, EveryCodePointBecomesItsGbkFormOrOneQuestionMark) {
    // What GBK holds: every one- and two-byte sequence decoded, one to a line ("\n" is no
    // trail byte, so a sequence that is no character cannot swallow the line break).
    std::string table;
    for (int lead = 0; lead <= 0xFF; ++lead) {
        table += {static_cast<char>(lead), '\n'};
        for (int trail = 0x40; lead >= 0x81 && lead <= 0xFE && trail <= 0xFE; ++trail)
            if (trail != 0x7F) table += {static_cast<char>(lead), static_cast<char>(trail), '\n'};
    }
    std::vector<bool> held(0x110000, false);
    std::vector<std::uint32_t> line;
    for (std::uint32_t cp :
         CodePoints(Transcode("UTF-32LE", "UTF-8", GbkToUtf8(table), "", OneByte))) {
        if (cp != '\n') {
            line.push_back(cp);
            continue;
        }
        if (line.size() == 1 && line[0] != 0xFFFD) held[line[0]] = true;
        line.clear();
    }

    // Every code point once, each on a line of its own, in one conversion.
    std::string utf32;
    for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp == '\n' || (cp >= 0xD800 && cp <= 0xDFFF)) continue;
        for (std::uint32_t unit : {cp, std::uint32_t{'\n'}})
            for (int i = 0; i < 4; ++i) utf32.push_back(static_cast<char>(unit >> (8 * i)));
    }
    const std::vector<std::uint32_t> points = CodePoints(utf32);
    const std::string utf8 = Transcode("UTF-8", "UTF-32LE", utf32, "", OneByte);
    const std::string gbk = Utf8ToGbk(utf8);
    const std::vector<std::string> characters = SplitText(utf8, "\n");
    const std::vector<std::string> converted = SplitText(gbk, "\n");
    const std::vector<std::string> back = SplitText(GbkToUtf8(gbk), "\n");
    ASSERT_EQ(characters.size(), points.size() / 2);
    ASSERT_EQ(converted.size(), characters.size());
    ASSERT_EQ(back.size(), characters.size());
    size_t wrong = 0;
    for (size_t i = 0; i < characters.size() && wrong < 20; ++i) {
        const std::uint32_t cp = points[2 * i];
        // Held: its own GBK form; otherwise "?", once.
        const bool ok = held[cp] ? back[i] == characters[i] : converted[i] == "?";
        if (!ok) ++wrong;
        EXPECT_TRUE(ok) << std::hex << "U+" << cp << " -> " << UpperHex(converted[i]);
    }
    EXPECT_EQ(Utf8ToGbk("\n"), "\n");
}

TEST(Gbk, ReplyTextEndsAtTheFirstZeroByte) {
    ByteArray bytes = {'1', '0', '0', '0', 0, '9'};
    EXPECT_EQ(ReplyText(bytes), "1000");
    EXPECT_EQ(ReplyText({}), "");
}
