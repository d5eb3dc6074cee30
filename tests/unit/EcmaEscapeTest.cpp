#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "net/EcmaEscape.h"

using namespace vpsdesk::net;

namespace {

// One line of escape_vectors.txt: what a JavaScript engine made of `input`.
struct Vector {
    std::u16string input;
    std::u16string escaped;
    std::u16string unescaped;
    std::optional<std::u16string> literal;
};

std::u16string FromHex(const std::string& hex) {
    std::u16string out;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4)
        out.push_back(static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
    return out;
}

std::string ToHex(std::u16string_view s) {
    std::string out;
    char buf[5];
    for (char16_t c : s) {
        std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(c));
        out += buf;
    }
    return out;
}

std::vector<Vector> LoadVectors() {
    std::ifstream in(VPSDESK_TEST_DATA "/escape_vectors.txt");
    std::vector<Vector> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        f.resize(4);  // getline drops a trailing empty field
        Vector v{FromHex(f[0]), FromHex(f[1]), FromHex(f[2]), std::nullopt};
        if (f[3] != "!") v.literal = FromHex(f[3]);
        out.push_back(std::move(v));
    }
    return out;
}

std::u16string U16(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}

}  // namespace

TEST(EcmaEscapeVectors, MatchAJavaScriptEngine) {
    std::vector<Vector> vectors = LoadVectors();
    ASSERT_GT(vectors.size(), 250u);
    for (const Vector& v : vectors) {
        SCOPED_TRACE("input " + ToHex(v.input));
        EXPECT_EQ(U16(EcmaEscape(v.input)), v.escaped);
        EXPECT_EQ(ToHex(EcmaUnescape(v.input)), ToHex(v.unescaped));
        std::optional<std::u16string> literal = ReadQuotedLiteral(v.input);
        ASSERT_EQ(literal.has_value(), v.literal.has_value());
        if (literal) {
            EXPECT_EQ(ToHex(*literal), ToHex(*v.literal));
        }
    }
}

TEST(EcmaEscapeUtf16, RoundTripsAndReplacesWhatUtf8CannotHold) {
    EXPECT_EQ(Utf8ToUtf16("a你😀"), (std::u16string{u'a', 0x4F60, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a你😀\r\n")), "a你😀\r\n");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\uFFFDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xDE00}), "x\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), "\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b\xE4\xBD"),
              (std::u16string{u'a', 0xFFFD, u'b', 0xFFFD, 0xFFFD}));
}

// The rules where current engines have moved on from the 3rd edition, so the vectors
// cannot speak for them.
TEST(EcmaEscapeLiteral, LineTerminatorsAndBracedEscapesAreNotLiteralText) {
    for (std::u16string body : {u"a\nb", u"a\rb", u"a\u2028b", u"a\u2029b", u"a\\\nb", u"a\\\rb",
                                u"a\\\u2028b", u"\\u{41}"})
        EXPECT_FALSE(ReadQuotedLiteral(body).has_value()) << ToHex(body);
    EXPECT_FALSE(ReadQuotedLiteral(u"it's").has_value());
    EXPECT_EQ(ReadQuotedLiteral(u"it's", true), u"it's");
    EXPECT_EQ(ReadQuotedLiteral(u"\\'", true), u"'");
}

TEST(DecodeUnicodeEscapes, LeavesPlainTextAndLineBreaksAlone) {
    for (std::string text : {"", "plain text 中文", "第一行\r\n第二行\n第三行\r\n\r\n", "\n\nx",
                             "a \"quoted\" word", "tab\there"})
        EXPECT_EQ(DecodeUnicodeEscapes(text), text);
}

TEST(DecodeUnicodeEscapes, DecodesUnicodePercentAndBackslashEscapes) {
    EXPECT_EQ(DecodeUnicodeEscapes(R"({"status":0,"msg":"\u767b\u5f55\u6210\u529f"})"),
              R"({"status":0,"msg":"登录成功"})");
    EXPECT_EQ(DecodeUnicodeEscapes("%41%u4F60%zz%"), "A你%zz%");
    EXPECT_EQ(DecodeUnicodeEscapes(R"(http:\/\/host\/a \"b\" \\ \x41\101\q)"),
              R"(http://host/a "b" \ AAq)");
    EXPECT_EQ(DecodeUnicodeEscapes("\\u4f60\r\n\\u597d\n"), "你\r\n好\n");
    // Surrogate pairs written as two escapes make one character; a lone half cannot
    // be written as UTF-8.
    EXPECT_EQ(DecodeUnicodeEscapes("\\ud83d\\ude00 %uD83D%uDE00"), "😀 😀");
    EXPECT_EQ(DecodeUnicodeEscapes("\\ud83d!"), "\uFFFD!");
}

TEST(DecodeUnicodeEscapes, ApostrophesComeBackAsApostrophes) {
    EXPECT_EQ(DecodeUnicodeEscapes("it's \\u4f60's"), "it's 你's");
    EXPECT_EQ(DecodeUnicodeEscapes("\\'x\\'"), "'x'");
    EXPECT_EQ(DecodeUnicodeEscapes("it’s"), "it's");
    EXPECT_EQ(DecodeUnicodeEscapes("%u2019"), "'");
}

TEST(DecodeUnicodeEscapes, OnlyALeadingLoneCarriageReturnIsDropped) {
    EXPECT_EQ(DecodeUnicodeEscapes("\r\\u4f60"), "你");
    EXPECT_EQ(DecodeUnicodeEscapes("\r\n\\u4f60"), "\r\n你");
}

TEST(DecodeUnicodeEscapes, TextThatIsNoLiteralComesBackUnchanged) {
    for (std::string text :
         {"abc\\", "\\", "\\u4f60\\", "a\rb\\u4f60", "\\x4g \\u4f60", "x\xE2\x80\xA8y"})
        EXPECT_EQ(DecodeUnicodeEscapes(text), text);
}

TEST(EscapeText, EscapesLikeJavaScriptButKeepsApostrophes) {
    EXPECT_EQ(EscapeText("a b+c/d@e*f_g-h.i"), "a%20b+c/d@e*f_g-h.i");
    EXPECT_EQ(EscapeText("50%,é,张"), "50%25%2C%E9%2C%u5F20");
    EXPECT_EQ(EscapeText("O'Brien"), "O'Brien");
    EXPECT_EQ(EscapeText("😀"), "%uD83D%uDE00");
    EXPECT_EQ(EscapeText(""), "");
    // The text is read as a literal body first.
    EXPECT_EQ(EscapeText(R"(\x41\n\u4f60\')"), "A%0A%u4F60'");
}

TEST(EscapeText, BracketsAndPunctuationOnRequest) {
    const std::string text = R"({"a":[1,(2)]})";
    EXPECT_EQ(EscapeText(text), "%7B%22a%22%3A%5B1%2C%282%29%5D%7D");
    EXPECT_EQ(EscapeText(text, true), "{%22a%22%3A[1%2C(2)]}");
    EXPECT_EQ(EscapeText(text, false, true), "%7B\"a\":%5B1,%282%29%5D%7D");
    EXPECT_EQ(EscapeText(text, true, true), text);
    // A literal percent sign cannot turn into one of the kept characters.
    EXPECT_EQ(EscapeText("%7B%3A", true, true), "%257B%253A");
}

TEST(EscapeText, UPrefixReplacesEveryPercentU) {
    EXPECT_EQ(EscapeText("张三", false, false, "%25u"), "%25u5F20%25u4E09");
    EXPECT_EQ(EscapeText("张 a", false, false, "%25u"), "%25u5F20%20a");
    EXPECT_EQ(EscapeText("张三", false, false, "%u"), "%u5F20%u4E09");
    EXPECT_EQ(EscapeText("张三", false, false, " \u3000"), "%u5F20%u4E09");
    EXPECT_EQ(EscapeText("张三", false, false, ""), "%u5F20%u4E09");
}

TEST(EscapeText, TextThatIsNoLiteralGivesEmptyText) {
    for (std::string text : {"abc\\", "\\", "a\rb", "a\nb", "\\u12"})
        EXPECT_EQ(EscapeText(text), "") << text;
}
