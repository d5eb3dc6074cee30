#pragma once
// The words --period takes, for renewals and purchases alike; each feature has its own
// enumeration of the three periods, so the word is matched here and mapped there.
#include <optional>
#include <string_view>

namespace vpsdesk::cli {

template <typename Period>
struct PeriodWord {
    Period period;
    std::string_view shown;  // "one month", for questions and messages
};

// The period `word` ("day", "month" or "year") names, or nullopt.
template <typename Period>
std::optional<PeriodWord<Period>> FindPeriodWord(std::string_view word, Period day, Period month,
                                                 Period year) {
    if (word == "day") return PeriodWord<Period>{day, "one day"};
    if (word == "month") return PeriodWord<Period>{month, "one month"};
    if (word == "year") return PeriodWord<Period>{year, "one year"};
    return std::nullopt;
}

}  // namespace vpsdesk::cli
