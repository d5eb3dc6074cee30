// The server list reply as rows: page count, row count, display status, and the texts of
// every filled column.
#include <gtest/gtest.h>

#include "servers/ServerListApi.h"
#include "servers/ServerMenuEntries.h"
#include "servers/ServerPage.h"

using namespace vpsdesk::servers;

namespace {

const char* const kTwoServers = R"({"count":7,"data":[
 {"id":101,"VPStype":"云服务器","VPStypeID":1,"vpsname":"售后A","ycdz":"10.0.0.1:3389",
  "VPSpassword":"pw1","CpuNum":"2","MaxRAM":"4G","Maxmbps8":"5M","endtime":"2027-01-01 00:00:00",
  "status":"运行中","corewhatuser":"备注1","zt":""},
 {"id":"102","VPStype":"显卡云服务器","VPStypeID":2,"vpsname":"售后B","ycdz":"host.example",
  "VPSpassword":"pw2","CpuNum":4,"MaxRAM":"8G","Maxmbps8":"10M","endtime":"2026-01-01",
  "status":"已到期","corewhatuser":"","zt":"重启中"}]})";

}  // namespace

TEST(ServerPageParse, PageCountIsTheCountDividedByFiveRoundedUp) {
    EXPECT_EQ(ServerPageCount(0), 0);
    EXPECT_EQ(ServerPageCount(-3), 0);
    EXPECT_EQ(ServerPageCount(1), 1);
    EXPECT_EQ(ServerPageCount(5), 1);
    EXPECT_EQ(ServerPageCount(6), 2);
    EXPECT_EQ(ServerPageCount(10), 2);
    EXPECT_EQ(ServerPageCount(11), 3);
    EXPECT_EQ(ServerPageCount(5'000'000'001LL), 1'000'000'001LL);
}

TEST(ServerPageParse, RowsAreCountedByCaseInsensitiveNonOverlappingMarkers) {
    EXPECT_EQ(CountServerRows(""), 0u);
    EXPECT_EQ(CountServerRows(R"({"VPStypeID":1,"vpstypeid":2,"VPSTYPEID":3})"), 3u);
    EXPECT_EQ(CountServerRows("VPStypeIDVPStypeID"), 2u);
    EXPECT_EQ(CountServerRows("VPStypeI"), 0u);
}

TEST(ServerPageParse, DisplayStatusPrefersZtUnlessExpired) {
    EXPECT_EQ(DisplayStatus("运行中", "重启中"), "重启中");
    EXPECT_EQ(DisplayStatus("已到期", "重启中"), "已到期");
    EXPECT_EQ(DisplayStatus("运行中", ""), "运行中");
    EXPECT_EQ(DisplayStatus("", "退款审核中"), "退款审核中");
}

TEST(ServerPageParse, EveryFilledColumnComesFromItsMember) {
    const ServerPage page = ParseServerPage(kTwoServers);
    EXPECT_EQ(page.count, 7);
    EXPECT_EQ(page.page_count, 2);
    ASSERT_EQ(page.rows.size(), 2u);
    const ServerRow first = {
        "云服务器", "售后A", "10.0.0.1:3389", "运行中", "24G5M", "", "2027-01-01 00:00:00",
        "",         "101",   "pw1",           "备注1"};
    EXPECT_EQ(page.rows[0], first);
    const ServerRow& second = page.rows[1];
    EXPECT_EQ(second[column::kStatus], "已到期") << "zt never replaces an expired status";
    EXPECT_EQ(second[column::kConfiguration], "48G10M") << "a numeric CpuNum reads as its digits";
    EXPECT_EQ(second[column::kId], "\"102\"") << "the id is the JSON text of the value";
    EXPECT_EQ(second[column::kRemark], "");
}

TEST(ServerPageParse, OnlyADocumentWithACountSaysAnythingAboutTheServers) {
    struct Case {
        const char* reply;
        bool readable;
    };
    for (const Case& c :
         {Case{"", false}, Case{"not json", false}, Case{"null", false}, Case{"{}", false},
          Case{R"({"status":401,"data":"请先登录"})", false}, Case{"<html>502</html>", false},
          Case{R"({"count":0,"data":[]})", true}, Case{R"({"count":"7","data":[]})", true},
          Case{R"({"count":0,"data":[{"VPStypeID":1}]})", true}}) {
        SCOPED_TRACE(c.reply);
        const ServerPage page = ParseServerPage(c.reply);
        EXPECT_EQ(page.readable, c.readable);
        EXPECT_TRUE(page.Empty());
        EXPECT_TRUE(page.rows.empty());
        EXPECT_EQ(page.page_count, 0);
    }
}

TEST(ServerPageParse, AReplyFullOfMarkersBuildsNoHugeTable) {
    std::string reply = R"({"count":5,"data":[)";
    for (int i = 0; i < 5000; ++i) reply += R"({"VPStypeID":1},)";
    reply += "{}]}";
    EXPECT_EQ(ParseServerPage(reply).rows.size(), kMaxRowsPerReply);
}

TEST(ServerPageParse, TheMarkerCountNotTheArrayDecidesTheRows) {
    // A positive count with no servers on this page: no rows, but still a page count.
    ServerPage page = ParseServerPage(R"({"count":5,"data":[]})");
    EXPECT_FALSE(page.Empty());
    EXPECT_EQ(page.page_count, 1);
    EXPECT_TRUE(page.rows.empty());

    // A value mentioning the marker adds a row whose members are all missing.
    page = ParseServerPage(
        R"({"count":1,"data":[{"id":7,"VPStypeID":1,"corewhatuser":"see vpstypeid"}]})");
    ASSERT_EQ(page.rows.size(), 2u);
    EXPECT_EQ(page.rows[0][column::kRemark], "see vpstypeid");
    EXPECT_EQ(page.rows[1], ServerRow{});
}

TEST(ServerPageParse, AnAbsurdCountDoesNotMakeAnAbsurdSelector) {
    const ServerPage page = ParseServerPage(R"({"count":99999999999,"data":[]})");
    EXPECT_EQ(page.count, 99999999999LL);
    EXPECT_EQ(page.page_count, kMaxPageEntries);
}

TEST(ServerListRequest, PageNumberAndUrl) {
    EXPECT_EQ(ServerPageNumber(1, "3"), 1);
    EXPECT_EQ(ServerPageNumber(0, "3"), 1);
    EXPECT_EQ(ServerPageNumber(-7, "3"), 1);
    EXPECT_EQ(ServerPageNumber(2, "3"), 3) << "a later page is the one the selector shows";
    EXPECT_EQ(ServerPageNumber(2, "３"), 3) << "full-width digits count";
    EXPECT_EQ(ServerPageNumber(2, "x"), 0);
    EXPECT_EQ(ServerListUrl("https://h.example", 3),
              "https://h.example/user/data/vpslist?page=3&limit=5&ljs=1");
}

TEST(ServerMenuEntries, EveryEntryHasItsPlaceOnItsLevel) {
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Top, "连接主机"), 0);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Top, "管理主机"), 2);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Top, "设置备注"), 5);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Sub, "重启主机"), 0);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Sub, "修改密码"), 4);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Sub, "连接主机"), -1);
    EXPECT_EQ(MenuEntryPosition(MenuLevel::Top, "unknown"), -1);
}
