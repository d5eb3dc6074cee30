// Every feature's reader fed an arbitrary reply: the bytes are decoded the way the
// request path says, then read as a server page, a finance page, the catalogue, the
// profile, a login result, a payment reply or an operation's outcome. Readers must stay
// within their row limits whatever the reply claims.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "account/LoginResult.h"
#include "net/ByteArray.h"
#include "net/JsonDocument.h"
#include "platform/PlatformReply.h"
#include "servers/OperationOutcome.h"
#include "servers/ServerPage.h"
#include "shop/CatalogueCount.h"
#include "shop/CatalogueLoads.h"
#include "shop/FinanceRecords.h"
#include "shop/ProductRow.h"
#include "shop/RechargeOutcome.h"

namespace net = vpsdesk::net;
namespace shop = vpsdesk::shop;
namespace servers = vpsdesk::servers;

namespace {

constexpr std::string_view kPaths[] = {"/user/loginpost", "/user/khdloginpd", "/user/data/vpslist",
                                       "/user/userinfo", "/user/data/usernmae", "/user/sm2"};

void ReadProfile(std::string reply) {
    if (!net::JsonReadable(reply)) return;
    for (std::string_view path : {"data.VerificationResult", "data.truename", "data.usermoney",
                                  "data.mobi", "data.QQ", "data.email", "data.username"}) {
        std::string copy = reply;
        (void)net::JsonReadValue(copy, path);
    }
}

void ReadCatalogue(const std::string& reply, FuzzedDataProvider& input) {
    FUZZ_CHECK(shop::ReadProductRows(reply).size() <= shop::kMaxListCount);
    (void)shop::LookupId(reply);
    // The loads send several requests; each gets the next piece of the input as its reply.
    std::vector<std::string> replies{reply};
    while (replies.size() < 6 && input.remaining_bytes() > 0)
        replies.push_back(input.ConsumeRandomLengthString(512));
    std::size_t next = 0;
    const shop::CatalogueSender send = [&](const shop::CatalogueRequest&) {
        shop::CatalogueReply answer;
        if (next < replies.size()) answer.text = replies[next++];
        return answer;
    };
    if (auto types = shop::LoadProductTypes(send))
        FUZZ_CHECK(types->appended.size() <= shop::kMaxListCount);
    next = 0;
    const shop::RegionsUpdate regions = shop::LoadRegions(send, "type");
    if (regions.items) FUZZ_CHECK(regions.items->size() <= shop::kMaxListCount);
    next = 0;
    FUZZ_CHECK(shop::LoadProducts(send, "region", "type").size() <= shop::kMaxListCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int reader = input.ConsumeIntegralInRange(0, 6);
    const std::string_view path = input.PickValueInArray(kPaths);
    const std::string raw = input.ConsumeRandomLengthString(8192);
    const std::string reply = vpsdesk::platform::ReadPlatformReply(net::ToBytes(raw), path);

    switch (reader) {
        case 0: {
            const servers::ServerPage page = servers::ParseServerPage(reply);
            FUZZ_CHECK(page.rows.size() <= servers::kMaxRowsPerReply);
            FUZZ_CHECK(page.page_count >= 0 && page.page_count <= servers::kMaxPageEntries);
            break;
        }
        case 1: {
            const shop::FinanceRecords records = shop::ParseFinanceRecords(reply);
            FUZZ_CHECK(records.rows.size() <= shop::kMaxFinanceRows);
            (void)records.IncomeLabel();
            (void)records.ExpenseLabel();
            break;
        }
        case 2:
            ReadCatalogue(reply, input);
            break;
        case 3:
            ReadProfile(reply);
            break;
        case 4:
            (void)vpsdesk::account::InterpretLoginReply(reply, vpsdesk::account::LoginMode::kManual);
            (void)vpsdesk::account::InterpretLoginReply(reply, vpsdesk::account::LoginMode::kAuto);
            break;
        case 5:
            (void)shop::ReadPaymentReply(reply);
            break;
        default:
            (void)servers::RestartOutcome(reply);
            (void)servers::RemarkOutcome(reply);
            (void)servers::InstallOutcome(reply);
            (void)servers::PasswordOutcome(reply);
            (void)servers::RefundOutcome(reply);
            (void)servers::RenewOutcome(reply);
            break;
    }
    return 0;
}
