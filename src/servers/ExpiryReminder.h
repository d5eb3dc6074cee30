#pragma once
// Reminds the customer of servers that expire within three days, or have expired and are
// still listed: one notice at a time, each server at most once a calendar day.
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "servers/ServerRow.h"

namespace vpsdesk::servers {

inline constexpr int kExpiryReminderDays = 3;

struct ExpiryNotice {
    std::string id;    // column 8, what the renew window works on
    std::string name;  // column 1
    std::string date;  // "YYYY-MM-DD"
    bool expired = false;

    // "vps10004 将于 2026-12-19 到期", or "… 已于 … 到期" once the date has passed.
    std::string Text() const;
    bool operator==(const ExpiryNotice&) const = default;
};

// The day of an expiry cell ("2026-12-19 10:00:00" or "2026-12-19"); nothing for a text
// that does not start with a valid date.
std::optional<std::chrono::sys_days> ExpiryDay(std::string_view expiry_text);

// The rows that expire by `today` + kExpiryReminderDays, in list order.
std::vector<ExpiryNotice> ServersNearExpiry(const std::vector<ServerRow>& rows,
                                            std::chrono::sys_days today);

// The tray icon's tooltip: "管理工具", with the number of servers about to expire.
std::string TrayToolTip(std::size_t near_expiry);

class ExpiryReminder {
  public:
    // Gives the local calendar day; tests pass their own.
    using Today = std::function<std::chrono::sys_days()>;
    explicit ExpiryReminder(Today today);

    // The next notice to show for this list, remembered as shown today; nothing when every
    // server near expiry has had its notice today.
    std::optional<ExpiryNotice> Next(const std::vector<ServerRow>& rows);
    std::size_t NearExpiryCount(const std::vector<ServerRow>& rows) const;

  private:
    Today today_;
    std::map<std::string, std::chrono::sys_days> shown_;  // server id -> day of its notice
};

// The local calendar day of the system clock.
std::chrono::sys_days LocalToday();

}  // namespace vpsdesk::servers
