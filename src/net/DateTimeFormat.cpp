#include "net/DateTimeFormat.h"

#include <chrono>
#include <ctime>
#include <string_view>

#include "net/Text.h"

namespace vpsdesk::net {
namespace {

struct Pictures {
    std::string_view date;  // ends in the space that separates date and time, if any
    std::string_view time;
    std::string_view month_day;
    std::string_view hour_minute;
    std::string_view minute_second;
};

constexpr Pictures kPictures[] = {
    {"yyyy年MM月dd日 ", "hh时mm分ss秒", "MM月dd日", "hh时mm分", "mm分ss秒"},
    {"yyyy-MM-dd ", "hh:mm:ss", "MM-dd", "hh:mm", "mm:ss"},
    {"yyyy/MM/dd ", "hh/mm/ss", "MM/dd", "hh/mm", "mm/ss"},
    {"yyyyMMdd", "hhmmss", "MMdd", "hhmm", "mmss"},
};

// Linux has no single switch like the Windows locale's 12/24-hour flag, so the
// system setting is taken to be 24-hour.
constexpr bool kSystemUses24Hour = true;

void AppendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<size_t>(width) - digits.size(), '0');
    out.append(digits);
}

// Replaces the picture's fields with the values; every other character is copied.
std::string Render(std::string_view picture, const DateTime& t) {
    struct Field {
        std::string_view token;
        int value;
        int width;
    };
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    const Field fields[] = {{"yyyy", t.year, 4}, {"MM", t.month, 2}, {"dd", t.day, 2},
                            {"HH", t.hour, 2},   {"hh", hour12, 2},  {"mm", t.minute, 2},
                            {"ss", t.second, 2}};
    std::string out;
    size_t i = 0;
    while (i < picture.size()) {
        bool matched = false;
        for (const Field& f : fields) {
            if (picture.substr(i).starts_with(f.token)) {
                AppendNumber(out, f.value, f.width);
                i += f.token.size();
                matched = true;
                break;
            }
        }
        if (!matched) out.push_back(picture[i++]);
    }
    return out;
}

}  // namespace

DateTime DateTime::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool DateTime::IsValid() const {
    if (year < 100 || year > 9999) return false;
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    std::chrono::year_month_day date{std::chrono::year{year},
                                     std::chrono::month{static_cast<unsigned>(month)},
                                     std::chrono::day{static_cast<unsigned>(day)}};
    return date.ok() && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 &&
           second <= 59;
}

std::string FormatDateTime(const DateTime& time, int style, int part, std::optional<int> clock) {
    if (!time.IsValid()) return {};
    const Pictures& p = kPictures[(style >= 0 && style <= 3) ? style : 0];

    std::string_view date_picture;
    std::string_view time_picture;
    switch (part) {
        case 1:
            date_picture = p.date;
            while (date_picture.ends_with(' ')) date_picture.remove_suffix(1);
            break;
        case 2:
            date_picture = p.month_day;
            break;
        case 3:
            time_picture = p.time;
            break;
        case 4:
            time_picture = p.hour_minute;
            break;
        case 5:
            time_picture = p.minute_second;
            break;
        default:
            date_picture = p.date;
            time_picture = p.time;
    }

    bool use_24_hour = clock == 1 ? false : clock == 2 ? true : kSystemUses24Hour;
    std::string time_side(time_picture);
    if (use_24_hour) time_side = ReplaceText(time_side, "hh", "HH");
    return Render(date_picture, time) + Render(time_side, time);
}

}  // namespace vpsdesk::net
