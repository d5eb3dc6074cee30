// A finance page as the customer sees it: rows, cells and the page's totals.
#include <gtest/gtest.h>

#include "shop/FinanceRecords.h"

using namespace vpsdesk::shop;

namespace {

std::string Record(const char* attime, const char* shouru, const char* zhichu,
                   const char* forwhat = "在线充值") {
    return std::string(R"({"attime":")") + attime + R"(","shouru":)" + shouru + R"(,"zhichu":)" +
           zhichu + R"(,"zt":"成功","forwhat":")" + forwhat + R"("})";
}

std::string Reply(const std::string& records) {
    return R"({"code":0,"count":3,"data":[)" + records + "]}";
}

}  // namespace

TEST(FinanceRecords, RowsAndTotalsOfAPage) {
    struct Case {
        const char* name;
        std::string reply;
        std::size_t rows;
        const char* income;   // the income total label
        const char* expense;  // the expense total label
    };
    const Case cases[] = {
        {"10 + 20.5 + empty counts 30",
         Reply(Record("2024-01-01", R"("10")", R"("0")") + "," +
               Record("2024-01-02", R"("20.5")", R"("3")") + "," +
               Record("2024-01-03", R"("")", R"("4.9")")),
         3, "￥30元", "￥7元"},
        {"numbers rather than texts",
         Reply(Record("t", "12.5", "-2") + "," + Record("t", "1", "0")), 2, "￥13元", "￥-2元"},
        {"non-numeric and full-width amounts", Reply(Record("t", R"("abc")", R"("５")")), 1,
         "￥0元", "￥5元"},
        {"empty page", Reply(""), 0, "￥元", "￥元"},
        {"records without the marker", R"({"data":[{"AddTime":"t","shouru":"10","zhichu":"0"}]})",
         0, "￥元", "￥元"},
        {"a document of something else", R"({"status":500})", 0, "￥元", "￥元"},
        {"sums saturate",
         Reply(Record("t", R"("9223372036854775807")", R"("0")") + "," +
               Record("t", R"("5")", R"("0")")),
         2, "￥9223372036854775807元", "￥0元"},
    };
    for (const Case& c : cases) {
        const FinanceRecords got = ParseFinanceRecords(c.reply);
        EXPECT_TRUE(got.readable) << c.name;
        EXPECT_EQ(got.rows.size(), c.rows) << c.name;
        EXPECT_EQ(got.IncomeLabel(), c.income) << c.name;
        EXPECT_EQ(got.ExpenseLabel(), c.expense) << c.name;
    }
}

TEST(FinanceRecords, CellsFollowTheColumnTable) {
    const FinanceRecords got =
        ParseFinanceRecords(Reply(Record("2024-05-06 07:08:09", R"("0")", R"("30")", "续费")));
    ASSERT_EQ(got.rows.size(), 1u);
    EXPECT_EQ(got.rows[0], (FinanceRow{"2024-05-06 07:08:09", "￥0", "￥30", "成功", "续费"}));
}

// The rows are counted by the marker anywhere in the reply, not by "data" or "count".
TEST(FinanceRecords, AMarkerInsideATextAddsAnEmptyRow) {
    const FinanceRecords got = ParseFinanceRecords(Reply(
        Record("t1", R"("10")", R"("0")", "ATTIME 说明") + "," + Record("t2", R"("5")", R"("1")")));
    ASSERT_EQ(got.rows.size(), 3u);
    EXPECT_EQ(got.rows[2], (FinanceRow{"", "￥", "￥", "", ""}));
    EXPECT_EQ(got.IncomeLabel(), "￥15元");
    EXPECT_EQ(CountFinanceRows("attimeattime AtTiMe attim"), 3u);
}

// A failed request or an error page must leave the page as it was.
TEST(FinanceRecords, ANonDocumentIsNotReadable) {
    for (const char* reply : {"", "请先登录", "<html>attime</html>", "null"}) {
        const FinanceRecords got = ParseFinanceRecords(reply);
        EXPECT_FALSE(got.readable) << reply;
        EXPECT_TRUE(got.rows.empty()) << reply;
    }
}
