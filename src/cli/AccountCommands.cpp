#include "cli/AccountCommands.h"

#include <nlohmann/json.hpp>

#include "account/ProfileApi.h"
#include "app/NoticeText.h"
#include "cli/TextTable.h"
#include "net/Text.h"
#include "shop/BalanceRequests.h"
#include "shop/FinanceRecords.h"

namespace vpsdesk::cli {
namespace {

bool Json(const CommandContext& context) { return context.line.Has("--json"); }

std::string Dump(const nlohmann::ordered_json& value) { return value.dump(2) + "\n"; }

}  // namespace

CommandResult RunBalance(CommandContext& context) {
    if (!account::LoadProfile(context.site, context.session))
        return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const std::string balance = context.session.Profile().balance;
    if (Json(context)) return CommandResult::Done(Dump({{"balance", balance}}));
    return CommandResult::Done(balance + "\n");
}

CommandResult RunProfile(CommandContext& context) {
    const std::optional<std::string> real_name = account::LoadProfile(context.site, context.session);
    const std::optional<std::string> user_name = account::FetchUserName(context.site);
    if (!real_name || !user_name) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const platform::ProfileTexts profile = context.session.Profile();
    if (Json(context))
        return CommandResult::Done(Dump({{"user_name", *user_name},
                                         {"real_name", *real_name},
                                         {"mobile", profile.mobile},
                                         {"qq", profile.qq},
                                         {"email", profile.email},
                                         {"balance", profile.balance}}));
    TextTable table({"用户名", *user_name});
    table.AddRow({"实名", *real_name});
    table.AddRow({"手机", profile.mobile});
    table.AddRow({"QQ", profile.qq});
    table.AddRow({"邮箱", profile.email});
    table.AddRow({"余额", profile.balance});
    return CommandResult::Done(table.Render());
}

CommandResult RunFinance(CommandContext& context) {
    // The command table has checked the value.
    const long long page = PositiveNumber(context.line.Value("--page")).value_or(1);
    const platform::PlatformResponse reply = platform::SendPlatformRequest(
        shop::FinanceRecordsRequest(std::to_string(page)), context.site.BaseUrl());
    if (reply.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const shop::FinanceRecords records = shop::ParseFinanceRecords(reply.text);
    if (!records.readable) return CommandResult::Failed(kExitRefused, reply.text);
    if (Json(context)) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (const shop::FinanceRow& row : records.rows)
            rows.push_back({{"time", row[0]},
                            {"income", row[1]},
                            {"expense", row[2]},
                            {"status", row[3]},
                            {"purpose", row[4]}});
        return CommandResult::Done(Dump({{"page", page},
                                         {"records", rows},
                                         {"income_total", records.income_total},
                                         {"expense_total", records.expense_total}}));
    }
    TextTable table({shop::kFinanceHeaders.begin(), shop::kFinanceHeaders.end()});
    for (const shop::FinanceRow& row : records.rows) table.AddRow({row.begin(), row.end()});
    return CommandResult::Done(table.Render() + std::string(shop::kFinanceTotalCaption) + "  " +
                               "收入 " + records.IncomeLabel() + "  支出 " + records.ExpenseLabel() + "\n");
}

CommandResult RunNotices(CommandContext& context) {
    const platform::PlatformResponse reply = app::FetchNoticeReply(context.site);
    if (reply.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    std::string out;
    for (const std::string& line : app::NoticeEntries(reply.text)) out += line + "\n";
    // Lines the platform ends with CR LF leave an empty last entry; the output ends with one
    // line end all the same.
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0) out.pop_back();
    return CommandResult::Done(out);
}

}  // namespace vpsdesk::cli
