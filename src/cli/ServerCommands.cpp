#include "cli/ServerCommands.h"

#include <nlohmann/json.hpp>

#include "account/ProfileApi.h"
#include "cli/Confirmation.h"
#include "cli/OperationResult.h"
#include "cli/PeriodWord.h"
#include "cli/TextTable.h"
#include "servers/OperationRequests.h"
#include "servers/RenewalQuote.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"

namespace vpsdesk::cli {
namespace {

using servers::ServerRow;
namespace column = servers::column;

servers::OperationReply Send(const CommandContext& context, const servers::OperationRequest& request) {
    return platform::SendPlatformRequest(request, context.site.BaseUrl());
}

std::string ServerTable(const std::vector<ServerRow>& rows) {
    if (rows.empty()) return std::string(servers::kEmptyListNotice) + "\n";
    TextTable table({"ID", "产品类型", "IP/远程地址", "状态", "配置", "到期日期", "备注"});
    for (const ServerRow& row : rows)
        table.AddRow({row[column::kId], row[column::kProductType], row[column::kAddress],
                      row[column::kStatus], row[column::kConfiguration], row[column::kExpiry],
                      row[column::kRemark]});
    return table.Render();
}

nlohmann::ordered_json ServerJson(const ServerRow& row) {
    return {{"id", row[column::kId]},
            {"product_type", row[column::kProductType]},
            {"name", row[column::kName]},
            {"address", row[column::kAddress]},
            {"status", row[column::kStatus]},
            {"configuration", row[column::kConfiguration]},
            {"expiry", row[column::kExpiry]},
            {"remark", row[column::kRemark]}};
}

}  // namespace

CommandResult RunServers(CommandContext& context) {
    const bool all = context.line.Has("--all");
    // The command table has checked the value.
    const long long page_number = PositiveNumber(context.line.Value("--page")).value_or(1);
    std::vector<ServerRow> rows;
    servers::ServerPage page;
    for (long long number = page_number;; ++number) {
        const std::string reply = servers::FetchServerPage(context.site, number);
        page = servers::ParseServerPage(reply);
        if (!page.readable)
            return reply.empty() ? CommandResult::Failed(kExitNetwork, kNoAnswerText)
                                 : CommandResult::Failed(kExitRefused, reply);
        rows.insert(rows.end(), page.rows.begin(), page.rows.end());
        // An empty page ends the walk too, whatever count the platform claims.
        if (!all || number >= page.page_count || page.rows.empty()) break;
    }
    if (!context.line.Has("--json")) {
        // A page past the last is empty, not a sign that the account has no servers.
        if (!all && rows.empty() && page_number > 1 && !page.Empty())
            return {kExitDone,
                    {},
                    "page " + std::to_string(page_number) + " is past the last page, " +
                        std::to_string(page.page_count) + "\n"};
        CommandResult result = CommandResult::Done(ServerTable(rows));
        // On stderr, so that the table alone goes down a pipe.
        if (!all && page_number < page.page_count)
            result.err = "page " + std::to_string(page_number) + " of " +
                         std::to_string(page.page_count) + "; --page " +
                         std::to_string(page_number + 1) +
                         " for the next, --all for every server\n";
        return result;
    }
    nlohmann::ordered_json out = {{"count", page.count}, {"page_count", page.page_count}};
    if (!all) out["page"] = page_number;
    out["servers"] = nlohmann::ordered_json::array();
    for (const ServerRow& row : rows) out["servers"].push_back(ServerJson(row));
    return CommandResult::Done(out.dump(2) + "\n");
}

CommandResult RunRestart(CommandContext& context) {
    const auto reply = Send(context, servers::RestartRequest(context.line.arguments[0]));
    return OperationResult(servers::RestartOutcome(reply.text), reply);
}

CommandResult RunRemark(CommandContext& context) {
    const platform::Credentials signed_in = context.session.GetCredentials();
    const auto reply = Send(context, servers::RemarkRequest(signed_in.account, signed_in.password,
                                                            context.line.arguments[0],
                                                            context.line.arguments[1]));
    return OperationResult(servers::RemarkOutcome(reply.text), reply);
}

CommandResult RunRefund(CommandContext& context) {
    const auto reply =
        Send(context, servers::RefundRequest(context.line.arguments[0], context.site.site_host));
    return OperationResult(servers::RefundOutcome(reply.text), reply);
}

CommandResult RunRenew(CommandContext& context) {
    const std::string& id = context.line.arguments[0];
    const auto period = FindPeriodWord(context.line.Value("--period"), servers::RenewalPeriod::Day,
                                       servers::RenewalPeriod::Month, servers::RenewalPeriod::Year);
    if (!period) return CommandResult::Failed(kExitUsage, "renew: --period expects day, month or year");

    const auto prices = Send(context, servers::RenewalPricesRequest(id));
    if (prices.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    const servers::RenewalQuote quote = servers::RenewalQuote::FromReply(prices.text);
    if (!quote.Offered(period->period))
        return CommandResult::Failed(kExitRefused, "renew: server " + id + " cannot be renewed by " +
                                                       std::string(period->shown));
    if (!account::LoadProfile(context.site, context.session))
        return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    if (!servers::BalanceCovers(context.session.Profile().balance, quote.Price(period->period)))
        return OperationResult(servers::InsufficientBalanceOutcome());

    if (auto declined = Confirm(context, "Renew server " + id + " by " + std::string(period->shown) +
                                             " for " + quote.CostText(period->period) + "?"))
        return *declined;
    const auto reply =
        Send(context, servers::RenewRequest(servers::RenewalPeriodName(period->period), id));
    return OperationResult(servers::RenewOutcome(reply.text), reply);
}

}  // namespace vpsdesk::cli
