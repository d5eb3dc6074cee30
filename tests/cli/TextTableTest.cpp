// Tables for the terminal: columns line up on screen, where a Chinese character takes two
// columns and a Latin one takes one.
#include <gtest/gtest.h>

#include "cli/TextTable.h"

namespace vpsdesk::cli {
namespace {

TEST(VpsctlTextTable, WidthCountsScreenColumnsNotBytesOrCharacters) {
    const struct {
        const char* text;
        std::size_t width;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"运行中", 6},
        {"127.0.0.1:33891", 15},
        {"￥0.00", 6},      // the full-width yen sign takes two
        {"ｅ1", 3},         // so does a full-width letter
        {"e\xCC\x81", 1},   // a combining accent takes none
        {"\xFF" "a", 2},    // a byte that is not UTF-8 counts one
        {"数据\xE5", 5},    // and so does a cut sequence
    };
    for (const auto& c : cases) EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(VpsctlTextTable, ColumnsStartAtTheSameScreenColumnOnEveryLine) {
    TextTable table({"ID", "状态", "备注"});
    table.AddRow({"1", "运行中", "数据库"});
    table.AddRow({"12", "ok", ""});
    table.AddRow({"3", "已到期", "x"});
    EXPECT_EQ(table.Render(),
              "ID  状态    备注\n"
              "1   运行中  数据库\n"
              "12  ok\n"
              "3   已到期  x\n");
}

TEST(VpsctlTextTable, ShortRowsAndEmptyTablesRender) {
    TextTable table({"时间", "收入￥"});
    EXPECT_EQ(table.Render(), "时间  收入￥\n");
    table.AddRow({"2026-11-17"});
    EXPECT_EQ(table.Render(), "时间        收入￥\n2026-11-17\n");
}

}  // namespace
}  // namespace vpsdesk::cli
