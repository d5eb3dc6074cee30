#pragma once
// The platform's checks on what customers type, and the money and time formats it
// answers in.
#include <cstdint>
#include <string>
#include <string_view>

namespace platformd {

// Eleven digits starting 13-19.
bool IsMobileNumber(std::string_view text);
// 6 to 20 ASCII letters and digits.
bool IsPasswordFormat(std::string_view text);
// Five or more digits in a row that count up or down by one ("12345", "98765").
bool HasDigitRun(std::string_view text);
// An 18-character resident ID: a valid birth date and the ISO 7064 MOD 11-2 check
// character ("X" for 10, either case).
bool IsIdNumber(std::string_view text);

// Whole cents as "12.50".
std::string FormatMoney(std::int64_t cents);
// Parses "12", "12.5" or "12.50" into cents; false for anything else or not above zero.
bool ParseMoney(std::string_view text, std::int64_t& cents);
// Seconds since the epoch as local "2026-01-31 08:00:00".
std::string FormatTime(std::int64_t seconds);
std::int64_t Now();
// Adds a calendar period ("day", "month", "Annual") times `count`; a day of the month
// beyond the target month's length becomes its last day. False for another period name.
bool AddPeriod(std::int64_t seconds, std::string_view period, int count, std::int64_t& out);

}  // namespace platformd
