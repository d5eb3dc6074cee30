#include "shop/PurchaseQuote.h"

#include "net/JsonDocument.h"

namespace vpsdesk::shop {

std::string_view PurchasePeriodName(PurchasePeriod period) {
    switch (period) {
        case PurchasePeriod::Day:
            return "day";
        case PurchasePeriod::Month:
            break;
        case PurchasePeriod::Year:
            return "Annual";
    }
    return "month";
}

PurchaseQuote PurchaseQuote::FromReply(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    PurchaseQuote quote;
    quote.day_ = doc.GetText("data[0].day");
    quote.month_ = doc.GetText("data[0].month");
    quote.year_ = doc.GetText("data[0].Annual");
    return quote;
}

const std::string& PurchaseQuote::Price(PurchasePeriod period) const {
    switch (period) {
        case PurchasePeriod::Day:
            return day_;
        case PurchasePeriod::Month:
            break;
        case PurchasePeriod::Year:
            return year_;
    }
    return month_;
}

bool PurchaseQuote::Offered(PurchasePeriod period) const {
    if (period == PurchasePeriod::Month) return true;
    const std::string& price = Price(period);
    return !price.empty() && price != "0";
}

std::string PurchaseQuote::Fee(PurchasePeriod period) const {
    return Price(period) + "元";
}

}  // namespace vpsdesk::shop
