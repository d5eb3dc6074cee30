// The expiry reminder: which servers it names, and at most one notice a server a day.
#include <gtest/gtest.h>

#include "servers/ExpiryReminder.h"

using namespace vpsdesk::servers;
namespace chr = std::chrono;

namespace {

ServerRow Row(const char* id, const char* name, const char* expiry) {
    ServerRow row;
    row[column::kId] = id;
    row[column::kName] = name;
    row[column::kExpiry] = expiry;
    return row;
}

constexpr chr::sys_days kToday = chr::sys_days(chr::year(2026) / 12 / 16);

}  // namespace

TEST(ExpiryReminder, NamesServersExpiringWithinThreeDaysOrAlreadyExpired) {
    const std::vector<ServerRow> rows = {
        Row("1", "vps10001", "2026-12-19 10:00:00"),  // in three days
        Row("2", "vps10002", "2026-12-20 00:00:00"),  // four days: not yet
        Row("3", "vps10003", "2026-12-01"),           // expired, still listed
        Row("4", "vps10004", ""),                     // no date
        Row("5", "vps10005", "2026-02-30 00:00:00"),  // not a date
        Row("6", "vps10006", "明天"),
    };
    const auto near = ServersNearExpiry(rows, kToday);
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0].Text(), "vps10001 将于 2026-12-19 到期");
    EXPECT_EQ(near[0].id, "1");
    EXPECT_EQ(near[1].Text(), "vps10003 已于 2026-12-01 到期");
    EXPECT_EQ(TrayToolTip(near.size()), "管理工具\n2 台主机即将到期");
    EXPECT_EQ(TrayToolTip(0), "管理工具");
}

TEST(ExpiryReminder, EachServerIsRemindedAtMostOnceADay) {
    chr::sys_days today = kToday;
    ExpiryReminder reminder([&] { return today; });
    const std::vector<ServerRow> rows = {Row("1", "a", "2026-12-17"), Row("2", "b", "2026-12-18")};

    EXPECT_EQ(reminder.NearExpiryCount(rows), 2u);
    EXPECT_EQ(reminder.Next(rows)->id, "1");
    EXPECT_EQ(reminder.Next(rows)->id, "2") << "one notice at a time, the next on the next load";
    EXPECT_FALSE(reminder.Next(rows)) << "both have had theirs today";

    today += chr::days(1);
    EXPECT_EQ(reminder.Next(rows)->id, "1") << "a new day, a new reminder";
    EXPECT_EQ(reminder.Next({Row("2", "b", "2026-12-18")})->id, "2");
    EXPECT_FALSE(reminder.Next(rows));
}
