#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "net/JsonDocument.h"

using vpsdesk::net::JsonDocument;
using vpsdesk::net::JsonReadValue;
using Texts = std::vector<std::string>;

namespace {

JsonDocument Parsed(std::string_view text) {
    JsonDocument doc;
    EXPECT_TRUE(doc.Parse(text)) << text;
    return doc;
}

const char kReply[] = R"({"status":200,"count":3,"ok":true,"none":null,"price":12.50,
  "msg":"a\"b","obj":{"k":"v"},"data":[{"id":7,"name":"x"},{"id":8}],"empty":[]})";

}  // namespace

TEST(JsonDocumentParse, RootStatesAfterParse) {
    JsonDocument doc;
    EXPECT_EQ(doc.ToText(), "{}");

    EXPECT_FALSE(doc.Parse("null"));
    EXPECT_EQ(doc.ToText(), "null");
    EXPECT_TRUE(doc.HasRoot());

    EXPECT_FALSE(doc.Parse(""));
    EXPECT_EQ(doc.ToText(), "");
    EXPECT_FALSE(doc.HasRoot());
    EXPECT_EQ(doc.TypeOf(""), 0);
    EXPECT_EQ(doc.GetText("", true), "");

    EXPECT_FALSE(doc.Parse("<html><body>502 Bad Gateway</body></html>"));
    EXPECT_EQ(doc.ToText(), "null");

    // A failed parse replaces an earlier root rather than keeping it.
    EXPECT_TRUE(doc.Parse(R"({"a":1})"));
    EXPECT_FALSE(doc.Parse("{\"a\":"));
    EXPECT_EQ(doc.ToText(), "null");

    EXPECT_TRUE(doc.Parse("\r\n{\r\n \"a\" :\n[1 ,2]\n}\n"));
    EXPECT_EQ(doc.ToText(), R"({"a":[1,2]})");

    EXPECT_TRUE(doc.Parse("0"));  // a falsy root is still a root
    EXPECT_EQ(doc.ToText(), "0");
}

TEST(JsonDocumentParse, OnlyStrictJsonIsAccepted) {
    JsonDocument doc;
    for (const char* text : {"   ", "{'a':1}", "{a:1}", "{\"a\":1} // note", "[1,]",
                             "{\"a\":1} x", "[1][2]", "{\"a\":1", "[\"abc", "tru", "01"}) {
        EXPECT_FALSE(doc.Parse(text)) << text;
        EXPECT_EQ(doc.ToText(), "null") << text;
    }
}

TEST(JsonDocumentParse, UnicodeEscapesDecodeAndBadOnesFail) {
    JsonDocument doc = Parsed(R"({"name":"\u5f20\u4e09","emoji":"\ud83d\ude00"})");
    EXPECT_EQ(doc.GetText("name"), "张三");
    EXPECT_EQ(doc.GetText("emoji"), "😀");
    // Lone or reversed surrogates and non-hex digits are not JSON: the parse fails.
    for (const char* text : {R"(["\ud800"])", R"(["\udc00\ud800"])", R"(["\ud800x"])",
                             R"(["\uZZZZ"])", R"(["\u12"])", "[\"\xff\"]"}) {
        EXPECT_FALSE(doc.Parse(text)) << text;
        EXPECT_EQ(doc.ToText(), "null");
    }
}

TEST(JsonDocumentParse, DeepNestingIsRefusedWithoutCrashing) {
    const size_t kLevels = 100000;
    std::string open(kLevels, '[');
    std::string balanced = open + std::string(kLevels, ']');
    std::string objects;
    for (size_t i = 0; i < kLevels; ++i) objects += "{\"a\":";
    objects += "1" + std::string(kLevels, '}');

    JsonDocument doc;
    for (const std::string* text : {&open, &balanced, &objects}) {
        EXPECT_FALSE(doc.Parse(*text));
        EXPECT_EQ(doc.ToText(), "null");
    }
    // Brackets inside strings are not nesting.
    EXPECT_TRUE(doc.Parse("[\"" + open + "\"]"));

    std::string at_limit = std::string(JsonDocument::kMaxDepth, '[') +
                           std::string(JsonDocument::kMaxDepth, ']');
    EXPECT_TRUE(doc.Parse(at_limit));
    EXPECT_EQ(doc.ToText(), at_limit);
    EXPECT_FALSE(doc.Parse("[" + at_limit + "]"));

    // Edits cannot build past the limit either: the innermost array of 301 levels takes
    // small values but not another 300 levels.
    std::string inner;
    for (int i = 0; i < 300; ++i) inner += "[0]";
    const std::string half = std::string(300, '[') + std::string(300, ']');
    ASSERT_TRUE(doc.Parse("[" + half + "]"));
    EXPECT_FALSE(doc.SetJson(inner, half));
    EXPECT_FALSE(doc.ArrayAdd(inner, half, true));
    EXPECT_FALSE(doc.ArraySet(inner, 0, half, true));
    EXPECT_EQ(doc.ToText(), "[" + half + "]");
    EXPECT_TRUE(doc.ArrayAdd(inner, "[1]", true));
    EXPECT_EQ(doc.GetJsonText(inner), "[[1]]");
}

TEST(JsonDocumentRead, KindCodes) {
    JsonDocument doc = Parsed(kReply);
    EXPECT_EQ(doc.TypeOf("count"), 2);
    EXPECT_EQ(doc.TypeOf("ok"), 1);
    EXPECT_EQ(doc.TypeOf("obj"), 4);
    EXPECT_EQ(doc.TypeOf("data"), 5);
    EXPECT_EQ(doc.TypeOf("msg"), 6);
    EXPECT_EQ(doc.TypeOf("none"), 0);
    EXPECT_EQ(doc.TypeOf("missing"), 0);
    EXPECT_EQ(doc.TypeOf(""), 4);
    EXPECT_EQ(doc.GetText("count"), "3");
    EXPECT_EQ(doc.GetObject("count").ToText(), "3");
}

TEST(JsonDocumentRead, PathsResolveOrFindNothing) {
    JsonDocument doc = Parsed(kReply);
    EXPECT_EQ(doc.GetText("data[1].id"), "8");
    EXPECT_EQ(doc.GetText("data[" + std::to_string(0) + "].name"), "x");
    EXPECT_EQ(doc.GetText("obj.k"), "v");
    EXPECT_EQ(doc.GetText("Obj.k"), "");  // names are case-sensitive

    // Nothing found: index past the end, member of null, index into an object or a
    // string, member of an array, any step after a null.
    for (const char* path : {"data[5].id", "data[2]", "none.x", "none[0]", "obj[0]", "msg[0]",
                             "data.length", "none.x.y", "data[1].name", "empty[0]"}) {
        EXPECT_EQ(doc.GetText(path), "") << path;
        EXPECT_EQ(doc.GetText(path, true), "") << path;
        EXPECT_EQ(doc.TypeOf(path), 0) << path;
        EXPECT_FALSE(doc.GetObject(path).HasRoot()) << path;
    }

    JsonDocument array = Parsed(R"([{"id":"a"},[10,20]])");
    EXPECT_EQ(array.GetText("[0].id"), "a");
    EXPECT_EQ(array.GetText("[1][1]"), "20");
}

TEST(JsonDocumentRead, MalformedPathsFindNothingAndChangeNothing) {
    JsonDocument doc = Parsed(R"({"a":{"b":[1,2]},"":5})");
    for (const char* path : {"a[", "a[x]", "a..b", "[-1]", "a.b[-1]", "a.", ".a", "a]",
                             "a.b[0]x", "a.b[ 0]", "a.b[]", "a.b[99999999999999999999999]",
                             "a.b[0", "[", "]", "."}) {
        EXPECT_EQ(doc.TypeOf(path), 0) << path;
        EXPECT_EQ(doc.GetText(path, true), "") << path;
        EXPECT_FALSE(doc.SetText(path, "x")) << path;
        EXPECT_FALSE(doc.Delete(path)) << path;
        EXPECT_FALSE(doc.ArrayAdd(path, "x")) << path;
    }
    EXPECT_EQ(doc.ToText(), R"({"a":{"b":[1,2]},"":5})");
}

TEST(JsonDocumentRead, PlainTextRules) {
    JsonDocument doc = Parsed(
        R"({"t":true,"f":false,"p":12.50,"n":1000,"big":12345678901234567890,
            "neg":-0.0,"tiny":1.5e-7,"o":{"x":1},"s":"a\"b\\c",
            "arr":[1,"two",null,[3,[4,null]],{"k":1},true]})");
    EXPECT_EQ(doc.GetText("t"), "true");
    EXPECT_EQ(doc.GetText("f"), "false");
    EXPECT_EQ(doc.GetText("p"), "12.5");
    EXPECT_EQ(doc.GetText("n"), "1000");
    EXPECT_EQ(doc.GetText("big"), "12345678901234567000");  // held as a double
    EXPECT_EQ(doc.GetText("neg"), "0");
    EXPECT_EQ(doc.GetText("tiny"), "1.5e-7");
    EXPECT_EQ(doc.GetText("o"), "[object Object]");
    EXPECT_EQ(doc.GetText("s"), "a\"b\\c");
    EXPECT_EQ(doc.GetText("arr"), "1,two,,3,4,,[object Object],true");
    EXPECT_EQ(doc.GetNumber("p"), 12.5);
    EXPECT_EQ(doc.GetNumber("big"), 12345678901234567890.0);
    EXPECT_EQ(doc.GetNumber("s"), 0);
    EXPECT_EQ(doc.GetNumber("missing"), 0);

    // The parser refuses numbers beyond the double range instead of making them infinite.
    EXPECT_FALSE(doc.Parse("[1e400]"));
}

TEST(JsonDocumentWrite, CompactJsonKeepsOrderAndQuotes) {
    JsonDocument doc = Parsed(R"({ "z" : 1, "a" : [ ], "m" : { }, "2" : "x", "1" : "y",
                                   "q" : "say \"hi\"\\", "cn" : "中文", "d":1, "d":2 })");
    // Members stay in reading order even when they look like indices; a repeated name
    // keeps its first place and its last value.
    EXPECT_EQ(doc.ToText(),
              R"({"z":1,"a":[],"m":{},"2":"x","1":"y","q":"say \"hi\"\\","cn":"中文","d":2})");
    EXPECT_EQ(doc.Names(""), (Texts{"z", "a", "m", "2", "1", "q", "cn", "d"}));
    EXPECT_EQ(doc.GetText("q", true), R"("say \"hi\"\\")");
    EXPECT_EQ(doc.GetJsonText("m"), "{}");
    EXPECT_EQ(JsonDocument().GetJsonText(""), "{}");

    // The written text reads back to the same document.
    JsonDocument again = Parsed(doc.ToText());
    EXPECT_EQ(again.ToText(), doc.ToText());
}

TEST(JsonDocumentWrite, EscapeSet) {
    JsonDocument doc;
    // Escaped: the short forms, then each listed range at both of its ends.
    ASSERT_TRUE(doc.SetText("e",
                            "\b\t\n\f\r\x01\x1f\x7f\u0080\u009f\u00ad\u0600\u0604\u070f"
                            "\u17b4\u17b5\u200c\u200f\u2028\u202f\u2060\u206f\ufeff\ufff0"
                            "\uffff"));
    ASSERT_TRUE(doc.SetText("z", std::string("a\0b", 3)));
    // Literal: the neighbours of those ranges and characters outside the BMP.
    ASSERT_TRUE(doc.SetText("l", "/ ~\u00a0\u00ac\u00ae\u05ff\u0605\u070e\u17b3\u17b6"
                                 "\u200b\u2010\u2027\u2030\u205f\u2070\ufefe\uffef😀"));
    EXPECT_EQ(doc.GetJsonText("e"),
              "\"\\b\\t\\n\\f\\r\\u0001\\u001f\\u007f\\u0080\\u009f\\u00ad\\u0600\\u0604"
              "\\u070f\\u17b4\\u17b5\\u200c\\u200f\\u2028\\u202f\\u2060\\u206f\\ufeff"
              "\\ufff0\\uffff\"");
    EXPECT_EQ(doc.GetJsonText("z"), "\"a\\u0000b\"");
    EXPECT_EQ(doc.GetJsonText("l"), "\"/ ~\u00a0\u00ac\u00ae\u05ff\u0605\u070e\u17b3\u17b6"
                                    "\u200b\u2010\u2027\u2030\u205f\u2070\ufefe\uffef😀\"");
    // Member names follow the same rules.
    ASSERT_TRUE(doc.Parse(R"({"a\tb\u2028":1})"));
    EXPECT_EQ(doc.ToText(), R"({"a\tb\u2028":1})");
}

TEST(JsonDocumentWrite, BytesThatAreNotUtf8StillGiveReadableJson) {
    JsonDocument doc;
    // Stray continuation, truncated sequence, overlong slash, encoded surrogate.
    ASSERT_TRUE(doc.SetText("s", "a\x80" "b\xe4\xb8" "c\xc0\xaf" "d\xed\xa0\x80"));
    EXPECT_EQ(doc.GetJsonText("s"),
              R"("a\ufffdb\ufffd\ufffdc\ufffd\ufffdd\ufffd\ufffd\ufffd")");
    EXPECT_TRUE(JsonDocument().Parse(doc.ToText()));
    EXPECT_EQ(doc.GetText("s"), "a\x80" "b\xe4\xb8" "c\xc0\xaf" "d\xed\xa0\x80");  // untouched
}

TEST(JsonDocumentWrite, NumbersUseEcmaTextAndNullForNonFinite) {
    JsonDocument doc;
    ASSERT_TRUE(doc.SetNumber("a", 0.1 + 0.2));
    ASSERT_TRUE(doc.SetNumber("b", 1e21));
    ASSERT_TRUE(doc.SetNumber("c", std::numeric_limits<double>::quiet_NaN()));
    ASSERT_TRUE(doc.SetNumber("d", -std::numeric_limits<double>::infinity()));
    ASSERT_TRUE(doc.SetNumber("e", -0.0));
    EXPECT_EQ(doc.ToText(), R"({"a":0.30000000000000004,"b":1e+21,"c":null,"d":null,"e":0})");
    EXPECT_EQ(doc.GetText("c"), "NaN");
    EXPECT_EQ(doc.GetText("d"), "-Infinity");
    EXPECT_EQ(doc.TypeOf("c"), 2);
}

TEST(JsonDocumentObject, CopiesAreIndependent) {
    auto source = std::make_unique<JsonDocument>(Parsed(kReply));
    JsonDocument first = source->GetObject("data[0]");
    JsonDocument element = source->ArrayGetObject("data", 1);
    JsonDocument null_root = source->GetObject("none");
    ASSERT_TRUE(first.SetText("name", "changed"));
    EXPECT_EQ(source->GetText("data[0].name"), "x");
    source.reset();
    EXPECT_EQ(first.ToText(), R"({"id":7,"name":"changed"})");
    EXPECT_EQ(element.ToText(), R"({"id":8})");
    EXPECT_TRUE(null_root.HasRoot());
    EXPECT_EQ(null_root.ToText(), "null");
    EXPECT_EQ(null_root.TypeOf("x"), 0);

    JsonDocument copy = first;
    ASSERT_TRUE(copy.SetNumber("id", 1));
    EXPECT_EQ(first.GetText("id"), "7");
}

TEST(JsonDocumentReadValue, OneCallReads) {
    std::string reply = "{\"status\":200,\r\n\"data\":{\"username\":\"张三\",\"vip\":false,"
                        "\"bal\":12.50,\"tags\":[\"a\",null],\"none\":null}}\r\n";
    EXPECT_EQ(JsonReadValue(reply, "data.username"), "张三");
    EXPECT_EQ(reply.find_first_of("\r\n"), std::string::npos);  // caller's text changed
    EXPECT_EQ(JsonReadValue(reply, "data.vip"), "false");
    EXPECT_EQ(JsonReadValue(reply, "data.bal"), "12.5");
    EXPECT_EQ(JsonReadValue(reply, "status"), "200");
    EXPECT_EQ(JsonReadValue(reply, "data.tags"), R"(["a",null])");
    EXPECT_EQ(JsonReadValue(reply, "data.none"), "null");
    EXPECT_EQ(JsonReadValue(reply, "data.missing"), "");

    std::string html = "<html>\r\n<body>error</body></html>";
    EXPECT_EQ(JsonReadValue(html, "data.username"), "JSON解析失败");
    std::string null_reply = "null";
    EXPECT_EQ(JsonReadValue(null_reply, ""), "JSON解析失败");
    std::string empty;
    EXPECT_EQ(JsonReadValue(empty, "x"), "JSON解析失败");
}

TEST(JsonDocumentQuery, ExistsCountNamesAllValues) {
    JsonDocument doc = Parsed(
        R"({"a":1,"n":null,"o":{"s":"x","in":{"b":true},"arr":[2,null,[3]],"z":0},"e":[]})");
    EXPECT_TRUE(doc.Exists("a"));
    EXPECT_TRUE(doc.Exists("o.z"));  // falsy values exist
    EXPECT_FALSE(doc.Exists("n"));
    EXPECT_FALSE(doc.Exists("q"));
    EXPECT_EQ(doc.Count("o.arr"), 3u);
    EXPECT_EQ(doc.Count("e"), 0u);
    EXPECT_EQ(doc.Count("o"), 0u);
    EXPECT_EQ(doc.Names("o"), (Texts{"s", "in", "arr", "z"}));
    EXPECT_TRUE(doc.Names("o.arr").empty());
    EXPECT_EQ(doc.AllValues("o", false), (Texts{"x", "0"}));
    EXPECT_EQ(doc.AllValues("o", true), (Texts{"x", "true", "2", "3", "0"}));
    EXPECT_EQ(doc.AllValues("o.arr", false), (Texts{"2"}));
    EXPECT_TRUE(doc.AllValues("a", true).empty());
}

TEST(JsonDocumentEdit, SetAndDeleteNeedAnExistingParent) {
    JsonDocument doc = Parsed(R"({"a":{"x":1},"arr":[1,2],"s":"str","n":null})");
    EXPECT_TRUE(doc.SetText("a.y", "new"));
    EXPECT_TRUE(doc.SetNumber("a.x", 2.5));
    EXPECT_TRUE(doc.SetText("arr[1]", "two"));
    EXPECT_TRUE(doc.SetNumber("arr[2]", 3));  // the size appends
    EXPECT_FALSE(doc.SetNumber("arr[9]", 9));  // no gaps
    EXPECT_FALSE(doc.SetText("b.c", "x"));
    EXPECT_FALSE(doc.SetText("s.c", "x"));
    EXPECT_FALSE(doc.SetText("n.c", "x"));
    EXPECT_FALSE(doc.SetText("a[0]", "x"));
    EXPECT_EQ(doc.ToText(), R"({"a":{"x":2.5,"y":"new"},"arr":[1,"two",3],"s":"str","n":null})");

    EXPECT_TRUE(doc.Delete("a.x"));
    EXPECT_FALSE(doc.Delete("a.x"));
    EXPECT_TRUE(doc.Delete("arr[0]"));
    EXPECT_FALSE(doc.Delete("arr[5]"));
    EXPECT_FALSE(doc.Delete(""));
    EXPECT_EQ(doc.ToText(), R"({"a":{"y":"new"},"arr":["two",3],"s":"str","n":null})");

    JsonDocument empty;
    empty.Parse("");
    EXPECT_FALSE(empty.SetText("a", "x"));
    EXPECT_TRUE(empty.SetText("", "root"));
    EXPECT_EQ(empty.ToText(), "\"root\"");
    empty.Clear();
    EXPECT_EQ(empty.ToText(), "{}");
}

TEST(JsonDocumentEdit, SetJsonMergesLikeKinds) {
    JsonDocument doc = Parsed(
        R"({"o":{"s":"old","b":true,"n":1,"keep":1,"sub":{"x":1},"list":[1],"mix":{"y":1},
            "nul":null}})");
    EXPECT_TRUE(doc.SetJson("o", R"({"s":"new","b":false,"n":2,"sub":{"z":2},"list":[2,3],
                                     "mix":"flat","nul":{"q":1},"add":[]})"));
    // Members are replaced or merged, but a number member is kept.
    EXPECT_EQ(doc.GetJsonText("o"),
              R"({"s":"new","b":false,"n":1,"keep":1,"sub":{"x":1,"z":2},"list":[1,2,3],)"
              R"("mix":"flat","nul":{"q":1},"add":[]})");

    EXPECT_TRUE(doc.SetJson("o", "[1]"));  // other kinds replace
    EXPECT_EQ(doc.GetJsonText("o"), "[1]");
    EXPECT_TRUE(doc.SetJson("o", "[2]"));
    EXPECT_EQ(doc.GetJsonText("o"), "[1,2]");
    EXPECT_TRUE(doc.SetJson("p", ""));
    EXPECT_EQ(doc.GetJsonText("p"), "{}");
    EXPECT_TRUE(doc.SetJson("", R"({"q":1})"));
    EXPECT_EQ(doc.ToText(), R"({"o":[1,2],"p":{},"q":1})");

    EXPECT_FALSE(doc.SetJson("p", "{bad"));
    EXPECT_FALSE(doc.SetJson("x.y", "1"));
    EXPECT_EQ(doc.ToText(), R"({"o":[1,2],"p":{},"q":1})");
}

TEST(JsonDocumentEdit, ArrayOperations) {
    JsonDocument doc = Parsed(R"({"list":[1],"s":"x"})");
    EXPECT_TRUE(doc.ArrayAdd("list", "b"));
    EXPECT_TRUE(doc.ArrayAdd("list", R"({"k":[true]})", true, true));
    EXPECT_TRUE(doc.ArrayAdd("s", "2", true));      // not an array: replaced
    EXPECT_TRUE(doc.ArrayAdd("fresh", "", true));   // missing member: created, "" is {}
    EXPECT_FALSE(doc.ArrayAdd("list", "[", true));
    EXPECT_FALSE(doc.ArrayAdd("no.where", "x"));
    EXPECT_EQ(doc.ToText(), R"({"list":[{"k":[true]},1,"b"],"s":[2],"fresh":[{}]})");

    EXPECT_EQ(doc.ArrayGetText("list", 0, true), R"({"k":[true]})");
    EXPECT_EQ(doc.ArrayGetText("list", 0), "[object Object]");
    EXPECT_EQ(doc.ArrayGetText("list", 2), "b");
    EXPECT_EQ(doc.ArrayGetText("list", 3), "");
    EXPECT_EQ(doc.ArrayGetText("list", -1), "");
    EXPECT_EQ(doc.ArrayGetObject("list", 0).GetText("k"), "true");
    EXPECT_FALSE(doc.ArrayGetObject("s", 5).HasRoot());

    EXPECT_TRUE(doc.ArraySet("list", 1, "null", true));
    EXPECT_TRUE(doc.ArraySet("list", 3, "end"));
    EXPECT_FALSE(doc.ArraySet("list", 9, "x"));
    EXPECT_FALSE(doc.ArraySet("list", -1, "x"));
    EXPECT_FALSE(doc.ArraySet("fresh[0]", 0, "x"));
    EXPECT_TRUE(doc.ArrayRemove("list", 0));
    EXPECT_FALSE(doc.ArrayRemove("list", 3));
    EXPECT_FALSE(doc.ArrayRemove("list", -1));
    EXPECT_EQ(doc.GetJsonText("list"), R"([null,"b","end"])");
}
