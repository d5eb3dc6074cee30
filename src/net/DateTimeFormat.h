#pragma once
// Date-time texts in the program's fixed layouts (Chinese or numeric), for the renewal
// and purchase windows.
#include <optional>
#include <string>

namespace vpsdesk::net {

// A calendar date with a time of day to the second, in local time.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    static DateTime Now();
    // A real calendar date in years 100-9999 with a time of day 00:00:00-23:59:59.
    bool IsValid() const;
};

// style 0 "2024年01月05日 13时07分09秒", 1 "2024-01-05 13:07:09", 2 "2024/01/05 13/07/09",
// 3 "20240105130709"; any other style counts as 0.
// part 1 date only, 2 month and day, 3 time only, 4 hour and minute, 5 minute and
// second; anything else date and time.
// clock 1 is 12-hour (hours 01-12, no AM/PM marker), 2 is 24-hour, anything else the
// system's setting. An invalid date-time gives empty text.
std::string FormatDateTime(const DateTime& time = DateTime::Now(), int style = 0, int part = 0,
                           std::optional<int> clock = std::nullopt);

}  // namespace vpsdesk::net
