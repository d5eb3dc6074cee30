#include "shop/FinanceRecords.h"

#include <algorithm>
#include <limits>

#include "net/JsonDocument.h"
#include "net/Text.h"

namespace vpsdesk::shop {
namespace {

constexpr std::string_view kRowMarker = "attime";
constexpr std::string_view kCurrency = "￥";

std::string MemberPath(std::size_t index, std::string_view member) {
    return "data[" + std::to_string(index) + "]." + std::string(member);
}

// Saturates like TextToInt, so absurd amounts in a reply cannot overflow the sum.
std::string AddToTotal(std::string_view total, std::string_view amount) {
    const long long a = net::TextToInt(total);
    const long long b = net::TextToInt(amount);
    long long sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        sum = b > 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
    return std::to_string(sum);
}

}  // namespace

std::string FinanceRecords::IncomeLabel() const {
    return FinanceTotalLabel(income_total);
}

std::string FinanceRecords::ExpenseLabel() const {
    return FinanceTotalLabel(expense_total);
}

std::string FinanceTotalLabel(std::string_view total) {
    return std::string(kCurrency) + std::string(total) + "元";
}

std::size_t CountFinanceRows(std::string_view reply) {
    std::size_t rows = 0;
    long at = net::FindText(reply, kRowMarker, 1, true);
    while (at > 0) {
        ++rows;
        at = net::FindText(reply, kRowMarker, at + static_cast<long>(kRowMarker.size()), true);
    }
    return rows;
}

FinanceRecords ParseFinanceRecords(std::string_view reply) {
    net::JsonDocument doc;
    FinanceRecords records;
    records.readable = doc.Parse(reply);
    if (!records.readable) return records;
    const std::size_t rows = std::min(CountFinanceRows(reply), kMaxFinanceRows);
    records.rows.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        auto text = [&](std::string_view member) { return doc.GetText(MemberPath(i, member)); };
        const std::string income = text("shouru");
        const std::string expense = text("zhichu");
        records.income_total = AddToTotal(records.income_total, income);
        records.expense_total = AddToTotal(records.expense_total, expense);
        records.rows.push_back({text("attime"), std::string(kCurrency) + income,
                                std::string(kCurrency) + expense, text("zt"), text("forwhat")});
    }
    return records;
}

}  // namespace vpsdesk::shop
