// The purchase window's dates: today advanced by the period, a day the target month lacks
// becoming its last day, shown as "2024年01月16日".
#include <gtest/gtest.h>

#include "shop/PurchaseDates.h"

using namespace vpsdesk::shop;
using vpsdesk::net::DateTime;

TEST(PurchaseDates, ThePeriodAdvancesToTheSameDayOrTheMonthsLast) {
    struct Case {
        DateTime from;
        PurchasePeriod period;
        const char* expected;
    };
    const Case cases[] = {
        {{2024, 1, 31, 10, 0, 0}, PurchasePeriod::Month, "2024年02月29日"},
        {{2023, 1, 31, 10, 0, 0}, PurchasePeriod::Month, "2023年02月28日"},
        {{2024, 3, 31, 10, 0, 0}, PurchasePeriod::Month, "2024年04月30日"},
        {{2024, 12, 15, 10, 0, 0}, PurchasePeriod::Month, "2025年01月15日"},
        {{2024, 2, 29, 10, 0, 0}, PurchasePeriod::Year, "2025年02月28日"},
        {{2024, 1, 16, 10, 0, 0}, PurchasePeriod::Year, "2025年01月16日"},
        {{2024, 12, 31, 23, 59, 59}, PurchasePeriod::Day, "2025年01月01日"},
        {{2024, 2, 28, 0, 0, 0}, PurchasePeriod::Day, "2024年02月29日"},
    };
    for (const Case& c : cases) {
        const DateTime to = AdvanceDate(c.from, c.period);
        EXPECT_EQ(PurchaseDateText(to), c.expected) << PurchaseDateText(c.from);
        EXPECT_EQ(to.hour, c.from.hour);
    }
}

TEST(PurchaseDates, TheDateTextIsTheDateAlone) {
    EXPECT_EQ(PurchaseDateText({2024, 1, 5, 13, 7, 9}), "2024年01月05日");
}
