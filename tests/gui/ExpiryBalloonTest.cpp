// The expiry reminder in the tray: the tooltip's count, one balloon per server a day, and
// the renew window for the server a clicked balloon names.
#include <gtest/gtest.h>

#include <QSystemTrayIcon>
#include <QWidget>

#include "app/gui/ExpiryBalloon.h"
#include "app/gui/TrayIcon.h"

using namespace vpsdesk;
namespace chr = std::chrono;
namespace column = servers::column;

namespace {

servers::ServerRow Row(const char* id, const char* name, const char* expiry) {
    servers::ServerRow row;
    row[column::kId] = id;
    row[column::kName] = name;
    row[column::kExpiry] = expiry;
    return row;
}

}  // namespace

TEST(ExpiryBalloon, CountsInTheTooltipAndOpensTheRenewWindowOfTheNamedServer) {
    QWidget window;
    app::TrayIcon tray(&window);
    chr::sys_days today = chr::sys_days(chr::year(2026) / 12 / 16);
    std::vector<std::string> opened;
    app::ExpiryBalloon balloon(
        tray, [&] { return today; },
        [&](const servers::ServerRow& row) { opened.push_back(row[column::kId]); });

    const std::vector<servers::ServerRow> rows = {Row("101", "vps10001", "2027-01-01 00:00:00"),
                                                  Row("104", "vps10004", "2026-12-19 00:00:00")};
    balloon.RowsShown(rows);
    EXPECT_EQ(tray.Icon()->toolTip(), QStringLiteral("管理工具\n1 台主机即将到期"));
    ASSERT_TRUE(balloon.Shown());
    EXPECT_EQ(balloon.Shown()->Text(), "vps10004 将于 2026-12-19 到期");

    emit tray.Icon()->messageClicked();
    EXPECT_EQ(opened, std::vector<std::string>{"104"});
    emit tray.Icon()->messageClicked();
    EXPECT_EQ(opened.size(), 1u) << "a balloon opens its window once";

    balloon.RowsShown(rows);
    EXPECT_FALSE(balloon.Shown()) << "reminded once today already";
    today += chr::days(1);
    balloon.RowsShown(rows);
    EXPECT_TRUE(balloon.Shown());

    balloon.RowsShown({});
    EXPECT_EQ(tray.Icon()->toolTip(), QStringLiteral("管理工具"));
}
