#pragma once
// The purchase window's opening and expiry dates: today, and today advanced by the chosen
// period, a day of the month that the target month lacks becoming its last day.
#include <string>
#include <string_view>

#include "net/DateTimeFormat.h"
#include "shop/PurchaseQuote.h"

namespace vpsdesk::shop {

inline constexpr std::string_view kOpeningCaption = "开通时间：";
inline constexpr std::string_view kExpiryCaption = "到期时间：";

// 2024-01-31 + one month = 2024-02-29; 2024-02-29 + one year = 2025-02-28. The time of
// day stays.
net::DateTime AdvanceDate(const net::DateTime& from, PurchasePeriod period);

// "2024年01月16日".
std::string PurchaseDateText(const net::DateTime& date);

}  // namespace vpsdesk::shop
