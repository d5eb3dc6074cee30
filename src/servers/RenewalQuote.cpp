#include "servers/RenewalQuote.h"

#include "net/JsonDocument.h"
#include "net/Text.h"

namespace vpsdesk::servers {

RenewalQuote RenewalQuote::FromReply(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    RenewalQuote quote;
    quote.day_ = net::TextToInt(doc.GetText("data[0].day"));
    quote.month_ = net::TextToInt(doc.GetText("data[0].month"));
    quote.year_ = net::TextToInt(doc.GetText("data[0].Annual"));
    quote.start_time_ = doc.GetText("data[0].starttime");
    quote.end_time_ = doc.GetText("data[0].endtime");
    return quote;
}

long long RenewalQuote::Price(RenewalPeriod period) const {
    switch (period) {
        case RenewalPeriod::Day:
            return day_;
        case RenewalPeriod::Month:
            return month_;
        case RenewalPeriod::Year:
            return year_;
        case RenewalPeriod::None:
            break;
    }
    return 0;
}

bool RenewalQuote::Offered(RenewalPeriod period) const {
    if (period == RenewalPeriod::Month) return true;
    return period != RenewalPeriod::None && Price(period) != 0;
}

std::string RenewalQuote::CostText(RenewalPeriod period) const {
    return std::to_string(Price(period)) + "元";
}

std::string_view RenewalPeriodName(RenewalPeriod period) {
    switch (period) {
        case RenewalPeriod::Day:
            return "day";
        case RenewalPeriod::Month:
            return "month";
        case RenewalPeriod::Year:
            return "Annual";
        case RenewalPeriod::None:
            break;
    }
    return {};
}

bool BalanceCovers(std::string_view balance_text, long long price) {
    // Compared, not subtracted: a hostile price near the limits must not overflow.
    return net::TextToInt(balance_text) >= price;
}

}  // namespace vpsdesk::servers
