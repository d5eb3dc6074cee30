// How one cycle of the notice line reads the platform's notice text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/NoticeText.h"

using vpsdesk::app::NoticeEntries;
using Entries = std::vector<std::string>;

TEST(NoticeEntries, TwoLinesEndedByCrLfEndWithAnEmptyEntry) {
    EXPECT_EQ(NoticeEntries("第一条\r\n第二条\r\n"), (Entries{"第一条", "第二条", ""}));
    EXPECT_EQ(NoticeEntries("第一条\r\n第二条"), (Entries{"第一条", "第二条"}));
}

TEST(NoticeEntries, BareLineFeedsCountButDoNotSplit) {
    EXPECT_EQ(NoticeEntries("a\nb\nc"), (Entries{"a\nb\nc", "", ""}));
    EXPECT_EQ(NoticeEntries("a\r\nb\nc\r\n"), (Entries{"a", "b\nc", "", ""}));
}

TEST(NoticeEntries, EmptyAndSingleLineTexts) {
    EXPECT_EQ(NoticeEntries(""), Entries{});
    EXPECT_EQ(NoticeEntries("只有一条"), Entries{"只有一条"});
    // A carriage return alone neither counts nor splits.
    EXPECT_EQ(NoticeEntries("a\rb"), Entries{"a\rb"});
    // Two separators in a row give an empty entry in between.
    EXPECT_EQ(NoticeEntries("a\r\n\r\nb"), (Entries{"a", "", "b"}));
    EXPECT_EQ(NoticeEntries("\r\n"), (Entries{"", ""}));
}
