#include "cli/ShopCommands.h"

#include <nlohmann/json.hpp>

#include "cli/Confirmation.h"
#include "cli/PeriodWord.h"
#include "cli/TextTable.h"
#include "net/Text.h"
#include "platform/PlatformRequest.h"
#include "shop/BalanceRequests.h"
#include "shop/CardRedemption.h"
#include "shop/CatalogueLoads.h"
#include "shop/PurchaseOrder.h"
#include "shop/PurchaseOsChoice.h"
#include "shop/PurchaseResult.h"
#include "shop/PurchaseRun.h"

namespace vpsdesk::cli {
namespace {

// Sends through the platform and remembers whether any request went unanswered, since the
// catalogue's loads read an unanswered request as an empty list.
struct RecordingSender {
    std::string base_url;
    bool network_failed = false;

    shop::CatalogueSender Sender() {
        return [this](const shop::CatalogueRequest& request) {
            platform::PlatformResponse reply = platform::SendPlatformRequest(request, base_url);
            network_failed = network_failed || reply.network_failed;
            return reply;
        };
    }
};

constexpr std::array<std::string_view, shop::kProductColumns> kProductKeys = {
    "model", "cpu", "memory", "disk", "bandwidth", "price", "id", "source", "kind"};

std::string Dump(const nlohmann::ordered_json& value) { return value.dump(2) + "\n"; }

std::string Lines(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += item + "\n";
    return out;
}

CommandResult ProductList(CommandContext& context, const shop::CatalogueSender& send) {
    const std::string& type = context.line.arguments[0];
    const std::string& region = context.line.arguments[1];
    const std::vector<shop::ProductRow> rows = shop::LoadProducts(send, region, type);
    if (context.line.Has("--json")) {
        nlohmann::ordered_json products = nlohmann::ordered_json::array();
        for (const shop::ProductRow& row : rows) {
            nlohmann::ordered_json product;
            for (std::size_t c = 0; c < shop::kProductColumns; ++c)
                product[std::string(kProductKeys[c])] = row.cells[c];
            products.push_back(product);
        }
        return CommandResult::Done(
            Dump({{"type", type}, {"region", region}, {"products", products}}));
    }
    TextTable table({shop::kProductHeaders.begin(), shop::kProductHeaders.end()});
    for (const shop::ProductRow& row : rows) table.AddRow({row.cells.begin(), row.cells.end()});
    return CommandResult::Done(table.Render());
}

CommandResult OfferedSystems(const shop::PurchaseOsChoice& choice, const std::string& why) {
    return {
        kExitUsage,
        {},
        "buy: " + why + "; the systems on offer:\n" + SystemsTable(choice.Ids(), choice.Names())};
}

}  // namespace

CommandResult RunCatalog(CommandContext& context) {
    RecordingSender recorder{context.site.BaseUrl()};
    const shop::CatalogueSender send = recorder.Sender();
    CommandResult result;
    const bool json = context.line.Has("--json");
    if (context.line.arguments.size() == 2) {
        result = ProductList(context, send);
    } else if (context.line.arguments.size() == 1) {
        const std::string& type = context.line.arguments[0];
        const shop::RegionsUpdate regions = shop::LoadRegions(send, type);
        const std::vector<std::string> items =
            regions.items ? *regions.items : std::vector<std::string>{};
        result = CommandResult::Done(json ? Dump({{"type", type}, {"regions", items}})
                                          : Lines(items.empty() ? std::vector{regions.text} : items));
    } else {
        const std::optional<shop::ProductTypesUpdate> types = shop::LoadProductTypes(send);
        const std::vector<std::string> items = types ? types->appended : std::vector<std::string>{};
        result = CommandResult::Done(json ? Dump({{"types", items}}) : Lines(items));
    }
    if (recorder.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    return result;
}

CommandResult RunBuy(CommandContext& context) {
    const std::string& product = context.line.arguments[0];
    const auto period = FindPeriodWord(context.line.Value("--period"), shop::PurchasePeriod::Day,
                                       shop::PurchasePeriod::Month, shop::PurchasePeriod::Year);
    if (!period) return CommandResult::Failed(kExitUsage, "buy: --period expects day, month or year");

    RecordingSender recorder{context.site.BaseUrl()};
    const shop::CatalogueSender send = recorder.Sender();
    const shop::PurchaseQuote quote = shop::PurchaseQuote::FromReply(send(shop::PricesRequest(product)).text);
    shop::PurchaseOsChoice systems =
        shop::PurchaseOsChoice::FromReply(send(shop::PurchaseOsRequest(product)).text);
    if (recorder.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    if (!quote.Offered(period->period))
        return CommandResult::Failed(kExitRefused, "buy: product " + product + " is not sold by " +
                                                       std::string(period->shown));
    if (!context.line.Has("--os")) return OfferedSystems(systems, "choose a system with --os");
    const std::string wanted = context.line.Value("--os");
    std::size_t index = 0;
    while (index < systems.Names().size() && systems.Names()[index] != wanted &&
           systems.Ids()[index] != wanted)
        ++index;
    if (index == systems.Names().size()) return OfferedSystems(systems, "no system \"" + wanted + "\"");
    systems.Choose(index);

    if (auto declined = Confirm(context, "Buy product " + product + " with " + systems.ChosenName() +
                                             " for " + std::string(period->shown) + " at " +
                                             quote.Fee(period->period) + "?"))
        return *declined;
    const shop::PurchaseOrder order{product, systems.ChosenId(), period->period};
    const platform::PlatformResponse reply = send(order.Request());
    const shop::PurchaseResult outcome = shop::PurchaseResult::FromReply(reply.text, reply.network_failed);
    if (outcome.success) return CommandResult::Done(net::TrimText(shop::kOrderOpenedCaption) + "\n");
    return CommandResult::Failed(reply.network_failed ? kExitNetwork : kExitRefused, outcome.data);
}

CommandResult RunRedeem(CommandContext& context) {
    const std::optional<std::string> card_password = context.console.ReadLine("Card password: ", false);
    if (!card_password)
        return CommandResult::Failed(kExitUsage, "redeem: no card password on standard input");
    const platform::PlatformResponse reply = platform::SendPlatformRequest(
        shop::RedeemCardRequest(context.line.arguments[0], *card_password), context.site.BaseUrl());
    if (reply.network_failed) return CommandResult::Failed(kExitNetwork, kNoAnswerText);
    if (shop::ReadCardReply(reply.text).result == shop::CardResult::Redeemed)
        return CommandResult::Done(reply.text + "\n");
    return CommandResult::Failed(kExitRefused, reply.text);
}

}  // namespace vpsdesk::cli
