#include "Rules.h"

#include <cctype>
#include <ctime>

namespace platformd {

bool IsMobileNumber(std::string_view text) {
    if (text.size() != 11 || text[0] != '1' || text[1] < '3' || text[1] > '9') return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool IsPasswordFormat(std::string_view text) {
    if (text.size() < 6 || text.size() > 20) return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool HasDigitRun(std::string_view text) {
    int up = 1;
    int down = 1;
    for (size_t i = 1; i < text.size(); ++i) {
        bool digits = std::isdigit(static_cast<unsigned char>(text[i])) &&
                      std::isdigit(static_cast<unsigned char>(text[i - 1]));
        up = digits && text[i] == text[i - 1] + 1 ? up + 1 : 1;
        down = digits && text[i] == text[i - 1] - 1 ? down + 1 : 1;
        if (up >= 5 || down >= 5) return true;
    }
    return false;
}

bool IsIdNumber(std::string_view text) {
    if (text.size() != 18) return false;
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[] = "10X98765432";
    int sum = 0;
    for (int i = 0; i < 17; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        sum += (text[i] - '0') * weights[i];
    }
    char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text[17])));
    if (last != checks[sum % 11]) return false;
    auto num = [&](size_t pos, size_t len) {
        int v = 0;
        for (size_t i = pos; i < pos + len; ++i) v = v * 10 + (text[i] - '0');
        return v;
    };
    int year = num(6, 4), month = num(10, 2), day = num(12, 2);
    if (year < 1900 || year > 2100 || month < 1 || month > 12 || day < 1) return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int max_day = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= max_day;
}

std::string FormatMoney(std::int64_t cents) {
    std::string sign = cents < 0 ? "-" : "";
    std::int64_t v = cents < 0 ? -cents : cents;
    std::string frac = std::to_string(v % 100);
    if (frac.size() < 2) frac = "0" + frac;
    return sign + std::to_string(v / 100) + "." + frac;
}

bool ParseMoney(std::string_view text, std::int64_t& cents) {
    std::int64_t whole = 0;
    size_t i = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 1000000) return false;
    }
    if (i == 0) return false;
    std::int64_t frac = 0;
    if (i < text.size()) {
        if (text[i] != '.' || i + 1 == text.size() || text.size() - i - 1 > 2) return false;
        for (size_t j = i + 1; j < text.size(); ++j) {
            if (!std::isdigit(static_cast<unsigned char>(text[j]))) return false;
        }
        frac = text[i + 1] - '0';
        frac = frac * 10 + (text.size() - i - 1 == 2 ? text[i + 2] - '0' : 0);
    }
    cents = whole * 100 + frac;
    return cents > 0;
}

std::string FormatTime(std::int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool AddPeriod(std::int64_t seconds, std::string_view period, int count, std::int64_t& out) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    if (period == "day") {
        tm.tm_mday += count;
    } else if (period == "month" || period == "Annual") {
        int months = period == "month" ? count : count * 12;
        int total = tm.tm_mon + months;
        tm.tm_year += total / 12;
        tm.tm_mon = total % 12;
        std::tm probe{};
        probe.tm_year = tm.tm_year;
        probe.tm_mon = tm.tm_mon + 1;
        probe.tm_mday = 0;  // the last day of tm_mon
        probe.tm_isdst = -1;
        mktime(&probe);
        if (tm.tm_mday > probe.tm_mday) tm.tm_mday = probe.tm_mday;
    } else {
        return false;
    }
    tm.tm_isdst = -1;
    out = static_cast<std::int64_t>(mktime(&tm));
    return true;
}

}  // namespace platformd
