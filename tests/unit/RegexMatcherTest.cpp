#include <gtest/gtest.h>

#include <string>

#include "net/RegexMatcher.h"

using namespace vpsdesk::net;

namespace {
constexpr const char* kCharsetPattern = R"(<meta.+?charset=[^\w]?([-\w]+))";
}

TEST(RegexMatcher, FindsTheDeclaredCharsetWhateverTheTagCase) {
    for (std::string head :
         {"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">",
          "<HTML><HEAD>\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=utf-8\">",
          "<head><Meta Charset=\"utf-8\" /><title>x</title>"}) {
        RegexMatcher m;
        ASSERT_TRUE(m.Create(kCharsetPattern, head));
        EXPECT_EQ(m.SubMatchText(1, 1).text, "utf-8") << head;
        EXPECT_EQ(m.SubMatchCount(), 1);
    }
}

TEST(RegexMatcher, GlobalCollectsEveryMatchWithByteOffsets) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create(R"((\d+)-(\d+))", "中文 10-20, 3-4"));
    ASSERT_EQ(m.MatchCount(), 2);
    MatchedText first = m.MatchText(1, true);
    EXPECT_EQ(first.text, "10-20");
    EXPECT_EQ(first.position, 7);
    EXPECT_EQ(m.MatchText(2).text, "3-4");
    EXPECT_EQ(m.MatchText(2).position, -1);
    EXPECT_EQ(m.SubMatchText(2, 2, true).text, "4");
    EXPECT_EQ(m.SubMatchText(2, 2, true).position, 16);
    EXPECT_EQ(m.SubMatchCount(), 2);
    // Missing matches and groups read as empty.
    for (auto [match, sub] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
        MatchedText t = m.SubMatchText(match, sub, true);
        EXPECT_EQ(t.text, "");
        EXPECT_EQ(t.position, -1);
    }
    EXPECT_EQ(m.MatchText(0).text, "");
    EXPECT_EQ(m.MatchText(3, true).position, -1);

    ASSERT_TRUE(m.Create(R"((\d+)-(\d+))", "10-20, 3-4", false, true, false));
    EXPECT_EQ(m.MatchCount(), 1);
    EXPECT_EQ(m.GetPattern(), R"((\d+)-(\d+))");
}

TEST(RegexMatcher, OptionsAndQuotePlaceholder) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create("abc", "ABC abc", true));
    EXPECT_EQ(m.MatchCount(), 1);
    ASSERT_TRUE(m.Create("abc", "ABC abc"));
    EXPECT_EQ(m.MatchCount(), 2);

    ASSERT_TRUE(m.Create("^\\w+$", "one\r\ntwo\nthree"));
    EXPECT_EQ(m.MatchCount(), 3);
    EXPECT_EQ(m.MatchText(2).text, "two");
    ASSERT_TRUE(m.Create("^\\w+$", "one\r\ntwo", false, false));
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.SubMatchCount(), 0);
    ASSERT_TRUE(m.Create("^\\w+$", "one\n", false, false));
    EXPECT_EQ(m.MatchCount(), 0);  // $ is the very end, as in ECMAScript

    ASSERT_TRUE(m.Create("value=#引号([^#引号]*)#引号", "value=\"a b\"", false, true, true, true));
    EXPECT_EQ(m.GetPattern(), "value=\"([^\"]*)\"");
    EXPECT_EQ(m.SubMatchText(1, 1).text, "a b");

    ASSERT_TRUE(m.Create("\\u4f60(a)?\\1b", "你b"));  // unset group backreference matches empty
    EXPECT_EQ(m.MatchText(1).text, "你b");
    EXPECT_EQ(m.SubMatchText(1, 1, true).position, -1);
}

TEST(RegexMatcher, EmptyMatchesStepOneCharacterOn) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create("x*", "axx"));
    ASSERT_EQ(m.MatchCount(), 3);
    EXPECT_EQ(m.MatchText(2, true).text, "xx");
    EXPECT_EQ(m.MatchText(3, true).position, 3);
    EXPECT_EQ(m.Replace("-"), "-a--");

    ASSERT_TRUE(m.Create("", "中\r\nb"));
    ASSERT_EQ(m.MatchCount(), 4);
    EXPECT_EQ(m.MatchText(2, true).position, 3);
    EXPECT_EQ(m.MatchText(3, true).position, 5);
    EXPECT_EQ(m.Replace("|"), "|中|\r\n|b|");

    // Bytes that are not UTF-8 never match but do not stop the search.
    ASSERT_TRUE(m.Create("b",
                         "a\xFF"
                         "b\xC3"));
    EXPECT_EQ(m.MatchText(1, true).position, 2);
    ASSERT_TRUE(m.Create("", "\xFF\xFE"));
    EXPECT_EQ(m.MatchCount(), 3);
}

TEST(RegexMatcher, ReplaceUsesECMAScriptReferences) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create(R"((\w+)@(\w+))", "ann@x, bob@y"));
    EXPECT_EQ(m.Replace("$2.$1"), "x.ann, y.bob");
    EXPECT_EQ(m.Replace("[$&] $$ $0 $3 $ $x ${1}"),
              "[ann@x] $ $0 $3 $ $x ${1}, [bob@y] $ $0 $3 $ $x ${1}");
    EXPECT_EQ(m.Replace("$01$10"), "annann0, bobbob0");  // $10 is $1 then 0: no group 10
    ASSERT_TRUE(m.Create(R"((\w+)@(\w+))", "ann@x, bob@y", false, true, false));
    EXPECT_EQ(m.Replace("<$1>"), "<ann>, bob@y");
    ASSERT_TRUE(m.Create("(a)|(b)", "ab"));
    EXPECT_EQ(m.Replace("[$1$2]"), "[a][b]");
    ASSERT_TRUE(m.Create("zzz", "abc"));
    EXPECT_EQ(m.Replace("q"), "abc");
}

TEST(RegexMatcher, ReplaceGrowsPastAnyFirstGuess) {
    std::string subject(5000, 'a');
    RegexMatcher m;
    ASSERT_TRUE(m.Create("a", subject));
    EXPECT_EQ(m.MatchCount(), 5000);
    std::string out = m.Replace("0123456789");
    EXPECT_EQ(out.size(), 50000u);
    EXPECT_EQ(out.substr(0, 20), "01234567890123456789");
}

TEST(RegexMatcher, UnusablePatternsLeaveTheMatcherEmpty) {
    RegexMatcher m;
    EXPECT_EQ(m.GetPattern(), "");
    EXPECT_EQ(m.Replace("x"), "");
    ASSERT_TRUE(m.Create("(b)", "abc"));
    // A failed Create also drops what the earlier one held.
    for (std::string bad : {"(unclosed", "[z-a]", "a{2,1}", "\xFF", "\\C"}) {
        EXPECT_FALSE(m.Create(bad, "abc")) << bad;
        EXPECT_EQ(m.MatchCount(), 0);
        EXPECT_EQ(m.SubMatchCount(), 0);
        EXPECT_EQ(m.MatchText(1).text, "");
        EXPECT_EQ(m.SubMatchText(1, 1).text, "");
        EXPECT_EQ(m.Replace("x"), "");
        EXPECT_EQ(m.GetPattern(), "");
    }
}

TEST(RegexMatcher, CatastrophicBacktrackingGivesUp) {
    RegexMatcher m;
    std::string subject(64, 'a');
    subject += '!';
    EXPECT_FALSE(m.Create("(a+)+$", subject));
    EXPECT_EQ(m.MatchCount(), 0);
    // The same pattern on a subject it matches quickly is fine.
    EXPECT_TRUE(m.Create("(a+)+$", "aaaa"));
    EXPECT_EQ(m.MatchCount(), 1);
}
