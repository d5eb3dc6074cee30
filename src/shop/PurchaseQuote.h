#pragma once
// The purchase window's prices for one day, one month and one year, as the platform's
// texts, and the periods and fee they give.
#include <string>
#include <string_view>

namespace vpsdesk::shop {

enum class PurchasePeriod { Day, Month, Year };

// The window opens on the month.
inline constexpr PurchasePeriod kDefaultPeriod = PurchasePeriod::Month;
inline constexpr std::string_view kFeeCaption = "扣除费用：";

// "day", "month" or "Annual": the order's "year" field.
std::string_view PurchasePeriodName(PurchasePeriod period);

class PurchaseQuote {
  public:
    // Reads "data[0].day", ".month" and ".Annual"; a failed or unreadable reply gives
    // empty prices.
    static PurchaseQuote FromReply(std::string_view reply);

    const std::string& Price(PurchasePeriod period) const;
    // The month is always offered; the day and the year unless their price is empty or
    // "0".
    bool Offered(PurchasePeriod period) const;
    // The price followed by "元" ("元" alone without a price).
    std::string Fee(PurchasePeriod period) const;

  private:
    std::string day_;
    std::string month_;
    std::string year_;
};

}  // namespace vpsdesk::shop
