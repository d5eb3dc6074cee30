#pragma once
// The renew window's state: the server's renewal prices (whole yuan, 0 = not offered) and
// dates, the period options they enable and the cost and balance rules.
#include <string>
#include <string_view>

namespace vpsdesk::servers {

enum class RenewalPeriod { None, Day, Month, Year };

class RenewalQuote {
  public:
    // Reads the price reply ("data[0].day", ".month", ".Annual", ".starttime",
    // ".endtime"). A failed or unreadable reply gives prices of 0 and empty dates.
    static RenewalQuote FromReply(std::string_view reply);

    long long Price(RenewalPeriod period) const;
    // The month is always offered; the day and the year when their price is not 0.
    bool Offered(RenewalPeriod period) const;
    // The price in decimal followed by "元".
    std::string CostText(RenewalPeriod period) const;
    const std::string& StartTime() const { return start_time_; }
    const std::string& EndTime() const { return end_time_; }

  private:
    long long day_ = 0;
    long long month_ = 0;
    long long year_ = 0;
    std::string start_time_;
    std::string end_time_;
};

// "day", "month", "Annual"; empty for no period.
std::string_view RenewalPeriodName(RenewalPeriod period);

// The balance text ("12.50元") in whole yuan against the price: 12.50元 covers 12.
bool BalanceCovers(std::string_view balance_text, long long price);

}  // namespace vpsdesk::servers
