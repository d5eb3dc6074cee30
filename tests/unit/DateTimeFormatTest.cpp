#include <gtest/gtest.h>

#include "net/DateTimeFormat.h"

using namespace vpsdesk::net;

namespace {
const DateTime kAfternoon{2024, 1, 5, 13, 7, 9};
}

TEST(DateTimeFormat, ExamplesFromTheWindows) {
    EXPECT_EQ(FormatDateTime(kAfternoon, 0, 1), "2024年01月05日");
    EXPECT_EQ(FormatDateTime(kAfternoon, 1, 0, 2), "2024-01-05 13:07:09");
    EXPECT_EQ(FormatDateTime(kAfternoon, 0, 0, 1), "2024年01月05日 01时07分09秒");
}

TEST(DateTimeFormat, EveryStyleAndPart) {
    struct Row {
        int style;
        const char* parts[6];  // part 0 .. 5, 24-hour
    };
    const Row rows[] = {
        {0,
         {"2024年01月05日 13时07分09秒", "2024年01月05日", "01月05日", "13时07分09秒", "13时07分",
          "07分09秒"}},
        {1, {"2024-01-05 13:07:09", "2024-01-05", "01-05", "13:07:09", "13:07", "07:09"}},
        {2, {"2024/01/05 13/07/09", "2024/01/05", "01/05", "13/07/09", "13/07", "07/09"}},
        {3, {"20240105130709", "20240105", "0105", "130709", "1307", "0709"}},
    };
    for (const Row& row : rows)
        for (int part = 0; part <= 5; ++part)
            EXPECT_EQ(FormatDateTime(kAfternoon, row.style, part, 2), row.parts[part])
                << "style " << row.style << " part " << part;
    // Out-of-range styles and parts fall back to style 0 and date plus time.
    EXPECT_EQ(FormatDateTime(kAfternoon, 7, 0, 2), FormatDateTime(kAfternoon, 0, 0, 2));
    EXPECT_EQ(FormatDateTime(kAfternoon, -1, 2), "01月05日");
    EXPECT_EQ(FormatDateTime(kAfternoon, 1, 9, 2), "2024-01-05 13:07:09");
}

TEST(DateTimeFormat, TwelveHourClockRunsFromOneToTwelve) {
    EXPECT_EQ(FormatDateTime({2024, 1, 5, 0, 30, 0}, 1, 4, 1), "12:30");
    EXPECT_EQ(FormatDateTime({2024, 1, 5, 12, 30, 0}, 1, 4, 1), "12:30");
    EXPECT_EQ(FormatDateTime({2024, 1, 5, 23, 30, 0}, 1, 4, 1), "11:30");
    EXPECT_EQ(FormatDateTime({2024, 1, 5, 0, 30, 0}, 1, 4, 2), "00:30");
    // Without a clock choice the system's setting applies, which is 24-hour here.
    EXPECT_EQ(FormatDateTime(kAfternoon, 1, 3), "13:07:09");
    EXPECT_EQ(FormatDateTime(kAfternoon, 1, 3, 0), "13:07:09");
}

TEST(DateTimeFormat, InvalidDateTimesGiveEmptyText) {
    EXPECT_EQ(FormatDateTime({2024, 2, 29, 0, 0, 0}, 3, 1), "20240229");
    for (DateTime t : {DateTime{2023, 2, 29, 0, 0, 0}, DateTime{2024, 2, 30, 0, 0, 0},
                       DateTime{2024, 13, 1, 0, 0, 0}, DateTime{2024, 0, 1, 0, 0, 0},
                       DateTime{2024, 4, 31, 0, 0, 0}, DateTime{2024, 1, 0, 0, 0, 0},
                       DateTime{2024, 1, 1, 24, 0, 0}, DateTime{2024, 1, 1, 0, 60, 0},
                       DateTime{2024, 1, 1, 0, 0, -1}, DateTime{10000, 1, 1, 0, 0, 0}, DateTime{}})
        EXPECT_EQ(FormatDateTime(t, 1, 0, 2), "")
            << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute;
}

TEST(DateTimeFormat, DefaultsToNow) {
    EXPECT_TRUE(DateTime::Now().IsValid());
    // yyyy年MM月dd日 hh时mm分ss秒: 4+2+2 digits, 6 three-byte characters, a space, 6 digits.
    EXPECT_EQ(FormatDateTime().size(), 8u + 6u * 3u + 1u + 6u);
}
