#pragma once
// Money coming in and the record of it: recharge cards, the online payment page that
// this platform serves itself, and the finance records.
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Finance {
public:
    explicit Finance(Services& services) : s_(services) {}
    void Register(Router& router);

private:
    void RedeemCard(Exchange& ex);
    void StartPayment(Exchange& ex);
    void PaymentPage(Exchange& ex);
    void ConfirmPayment(Exchange& ex);
    void Records(Exchange& ex);

    Services& s_;
};

}  // namespace platformd
