#include <gtest/gtest.h>

#include "net/Cookies.h"

using namespace vpsdesk::net;

namespace {

std::string Merge(std::string old_cookies, std::string new_cookies) {
    return CookieMerge(old_cookies, new_cookies);
}

}  // namespace

TEST(CookieMerge, NewItemsFirstThenSurvivingOldOnes) {
    EXPECT_EQ(Merge("sid=1; lang=zh", "sid=2; theme=x"), "sid=2; theme=x; lang=zh");
    EXPECT_EQ(Merge("", "a=1"), "a=1");
    EXPECT_EQ(Merge("a=1", ""), "a=1");
    EXPECT_EQ(Merge("", ""), "");
}

TEST(CookieMerge, DeletedItemsDisappearWithTheOldOnesTheyReplace) {
    EXPECT_EQ(Merge("sid=1; lang=zh", "sid=deleted"), "lang=zh");
    EXPECT_EQ(Merge("gone=deleted; b=2", ""), "b=2");
}

TEST(CookieMerge, SeparatorIsSemicolonAndOneSpace) {
    EXPECT_EQ(Merge("a=1;", "b=2"), "b=2; a=1");
    // Without the space it is one item, named "a".
    EXPECT_EQ(Merge("a=1;b=2", "a=3"), "a=3");
    EXPECT_EQ(Merge("a=1; ; b=2", "c=3"), "c=3; a=1; ; b=2");
}

TEST(CookieMerge, DuplicatesAndNameCase) {
    EXPECT_EQ(Merge("", "a=1; a=1"), "a=1");
    EXPECT_EQ(Merge("", "a=1; a=2"), "a=1; a=2");
    EXPECT_EQ(Merge("a=1; a=2", ""), "a=1");
    EXPECT_EQ(Merge("SID=1", "sid=2"), "sid=2; SID=1");
    EXPECT_EQ(Merge(" a =1", "a=2"), "a=2");  // names are trimmed
}

TEST(CookieMerge, LeavesBothArgumentsTidied) {
    std::string old_cookies = "  a=1;", new_cookies = "b=2　";  // ends in a full-width space
    CookieMerge(old_cookies, new_cookies);
    EXPECT_EQ(old_cookies, "a=1; ");
    EXPECT_EQ(new_cookies, "b=2");
}

TEST(CookieHelpers, NameAndDuplicateRemoval) {
    EXPECT_EQ(CookieName(" sid = x=y"), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_EQ(ListRemoveDuplicates("a; b; a; ; ", "; "), "a; b; ");
    EXPECT_EQ(ListRemoveDuplicates("", "; "), "");
}

TEST(ReplyCookies, FirstAttributeOfEachExactSetCookieLine) {
    EXPECT_EQ(CollectReplyCookies("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/\r\n"
                                  "Set-Cookie: lang=zh\r\nset-cookie: low=1\r\n"
                                  "Set-Cookie: sid=again; HttpOnly\r\n\r\n"),
              "sid=abc; lang=zh; sid=again");
    EXPECT_EQ(CollectReplyCookies("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), "");
    EXPECT_EQ(CollectReplyCookies(""), "");
}
