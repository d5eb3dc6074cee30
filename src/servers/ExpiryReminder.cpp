#include "servers/ExpiryReminder.h"

#include <ctime>

#include "net/Text.h"

namespace vpsdesk::servers {

namespace chr = std::chrono;

std::string ExpiryNotice::Text() const {
    return name + (expired ? " 已于 " : " 将于 ") + date + " 到期";
}

std::optional<chr::sys_days> ExpiryDay(std::string_view expiry_text) {
    if (expiry_text.size() < 10 || expiry_text[4] != '-' || expiry_text[7] != '-') return {};
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (expiry_text[i] < '0' || expiry_text[i] > '9') return {};
    const auto number = [&](std::size_t at, std::size_t n) {
        return static_cast<int>(net::TextToInt(expiry_text.substr(at, n)));
    };
    const chr::year_month_day day{chr::year(number(0, 4)),
                                  chr::month(static_cast<unsigned>(number(5, 2))),
                                  chr::day(static_cast<unsigned>(number(8, 2)))};
    if (!day.ok()) return {};
    return chr::sys_days(day);
}

std::vector<ExpiryNotice> ServersNearExpiry(const std::vector<ServerRow>& rows,
                                            chr::sys_days today) {
    std::vector<ExpiryNotice> near;
    for (const ServerRow& row : rows) {
        const auto day = ExpiryDay(row[column::kExpiry]);
        if (!day || *day > today + chr::days(kExpiryReminderDays)) continue;
        near.push_back({row[column::kId], row[column::kName], row[column::kExpiry].substr(0, 10),
                        *day < today});
    }
    return near;
}

std::string TrayToolTip(std::size_t near_expiry) {
    std::string tip = "管理工具";
    if (near_expiry > 0) tip += "\n" + std::to_string(near_expiry) + " 台主机即将到期";
    return tip;
}

ExpiryReminder::ExpiryReminder(Today today) : today_(std::move(today)) {}

std::optional<ExpiryNotice> ExpiryReminder::Next(const std::vector<ServerRow>& rows) {
    const chr::sys_days today = today_();
    for (ExpiryNotice& notice : ServersNearExpiry(rows, today)) {
        const auto shown = shown_.find(notice.id);
        if (shown != shown_.end() && shown->second == today) continue;
        shown_[notice.id] = today;
        return std::move(notice);
    }
    return {};
}

std::size_t ExpiryReminder::NearExpiryCount(const std::vector<ServerRow>& rows) const {
    return ServersNearExpiry(rows, today_()).size();
}

chr::sys_days LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return chr::sys_days(chr::year_month_day{chr::year(local.tm_year + 1900),
                                             chr::month(static_cast<unsigned>(local.tm_mon + 1)),
                                             chr::day(static_cast<unsigned>(local.tm_mday))});
}

}  // namespace vpsdesk::servers
