#include "shop/PurchaseDates.h"

#include <chrono>

namespace vpsdesk::shop {

net::DateTime AdvanceDate(const net::DateTime& from, PurchasePeriod period) {
    using namespace std::chrono;
    const year_month_day date{year{from.year}, month{static_cast<unsigned>(from.month)},
                              day{static_cast<unsigned>(from.day)}};
    if (!date.ok()) return from;
    year_month_day advanced = date;
    switch (period) {
        case PurchasePeriod::Day:
            advanced = year_month_day{sys_days{date} + days{1}};
            break;
        case PurchasePeriod::Month:
            advanced = date + months{1};
            break;
        case PurchasePeriod::Year:
            advanced = date + years{1};
            break;
    }
    if (!advanced.ok())
        advanced = year_month_day_last{advanced.year(), month_day_last{advanced.month()}};
    net::DateTime result = from;
    result.year = static_cast<int>(advanced.year());
    result.month = static_cast<int>(static_cast<unsigned>(advanced.month()));
    result.day = static_cast<int>(static_cast<unsigned>(advanced.day()));
    return result;
}

std::string PurchaseDateText(const net::DateTime& date) {
    return net::FormatDateTime(date, 0, 1, 2);
}

}  // namespace vpsdesk::shop
