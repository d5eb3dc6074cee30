#pragma once
// One page of the account's finance records as the platform's reply describes it, read
// into plain rows and the page's totals.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::shop {

// Time, income, expense, status, source or purpose: the texts of one row, in column order.
using FinanceRow = std::array<std::string, 5>;

inline constexpr std::array<std::string_view, 5> kFinanceHeaders = {"时间", "收入￥", "支出￥",
                                                                    "状态", "来源/用途"};
inline constexpr std::array<std::string_view, 10> kFinancePageChoices = {"1", "2", "3", "4", "5",
                                                                         "6", "7", "8", "9", "10"};
inline constexpr int kFinanceRowHeight = 45;
inline constexpr std::string_view kFinanceTotalCaption = "本页总计";
// Both totals show this until the first load.
inline constexpr std::string_view kInitialTotalLabel = "￥0元";
// A page holds five records; a hostile reply must not build a huge table.
inline constexpr std::size_t kMaxFinanceRows = 100;

struct FinanceRecords {
    // The reply was a JSON document. A failed request or an error page says nothing
    // about the records and must change nothing on the page.
    bool readable = false;
    // One row per "attime" in the reply, at most kMaxFinanceRows.
    std::vector<FinanceRow> rows;
    // Decimal texts of the page's sums; empty when the page has no rows.
    std::string income_total;
    std::string expense_total;

    std::string IncomeLabel() const;
    std::string ExpenseLabel() const;
};

// "￥" + total + "元".
std::string FinanceTotalLabel(std::string_view total);

// Case-insensitive, non-overlapping occurrences of "attime" anywhere in the reply.
std::size_t CountFinanceRows(std::string_view reply);

// The reply text of the finance records request. Amounts add up by their leading integer
// ("12.50" counts 12, an empty or non-numeric text 0).
FinanceRecords ParseFinanceRecords(std::string_view reply);

}  // namespace vpsdesk::shop
