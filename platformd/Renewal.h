#pragma once
// Renewing a server: its prices and dates, and the renewal paid from the balance.
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Renewal {
  public:
    explicit Renewal(Services& services) : s_(services) {}
    void Register(Router& router);

  private:
    void Prices(Exchange& ex);
    void Renew(Exchange& ex);

    Services& s_;
};

// The period names the client sends and how they read in a finance record.
const char* PeriodCaption(const std::string& period);

}  // namespace platformd
