#include <gtest/gtest.h>

#include "net/NameValueList.h"

using namespace vpsdesk::net;

TEST(NameValueList, FormBodyKeepsValuesRaw) {
    NameValueList form;
    form.Add("a", "1");
    form.Add("b", "x y&z");
    form.Add("password", "p=&中");
    EXPECT_EQ(form.BuildForm(), "a=1&b=x y&z&password=p=&中");
    EXPECT_EQ(BytesToString(form.BuildFormBytes()), "a=1&b=x y&z&password=p=&\xD6\xD0");
}

TEST(NameValueList, EmptyListBuildsEmptyTextsAndEmptyObject) {
    NameValueList empty;
    EXPECT_EQ(empty.BuildForm(), "");
    EXPECT_EQ(empty.BuildHeaders(), "");
    EXPECT_EQ(empty.BuildJson(), "{}");
}

TEST(NameValueList, HeadersAreJoinedWithoutTrailingBreak) {
    NameValueList h;
    h.Add("Accept", "*/*");
    h.Add("Connection", "Keep-Alive");
    EXPECT_EQ(h.BuildHeaders(), "Accept: */*\r\nConnection: Keep-Alive");
    h.Add("X", "a b");
    EXPECT_EQ(h.BuildHeaders(true), "Accept: *%2F*\r\nConnection: Keep-Alive\r\nX: a+b")
        << "only values are encoded";
}

TEST(NameValueList, DuplicatesGetSetRemove) {
    NameValueList l;
    l.Add("id", "1");
    l.Add("id", "2");
    EXPECT_EQ(l.BuildForm(), "id=1&id=2");
    EXPECT_EQ(l.Get("id"), "1");
    EXPECT_EQ(l.Get("ID"), "") << "names compare exactly";
    l.Set("id", "3");
    l.Set("new", "n");
    EXPECT_EQ(l.BuildForm(), "id=3&id=2&new=n");
    l.Remove("id");
    EXPECT_EQ(l.BuildForm(), "id=2&new=n");
    EXPECT_EQ(l.Names(), (std::vector<std::string>{"id", "new"}));
    EXPECT_EQ(l.Values(), (std::vector<std::string>{"2", "n"}));
    l.Clear();
    EXPECT_EQ(l.BuildForm(), "");
}

TEST(NameValueList, PercentEncodingOfUtf8Bytes) {
    NameValueList l;
    l.Add("v", "a b+c");
    EXPECT_EQ(l.BuildForm(true), "v=a+b%2Bc");
    EXPECT_EQ(PercentEncodeForm("-._'()*~中"), "-._'()*%7E%E4%B8%AD");
    EXPECT_EQ(PercentEncodeForm(std::string("a\0b", 3)), "ab");
}

TEST(NameValueList, LoadFormAndJson) {
    NameValueList l;
    l.LoadForm("a=1&b=x=y&bare&=v");
    EXPECT_EQ(l.Names(), (std::vector<std::string>{"a", "b", "", ""}));
    EXPECT_EQ(l.Get("b"), "x=y");
    NameValueList j;
    j.Add("n", "say \"hi\"");
    j.Add("m", "2");
    EXPECT_EQ(j.BuildJson(), "{\"n\":\"say \\\"hi\\\"\",\"m\":\"2\"}");
}

TEST(NameValueList, Utf8PairsStayUtf8OnTheWire) {
    NameValueList l;
    l.Add("a", "中", true);
    l.Add("b", "中");
    EXPECT_EQ(BytesToString(l.BuildFormBytes()), "a=\xE4\xB8\xAD&b=\xD6\xD0");
}
