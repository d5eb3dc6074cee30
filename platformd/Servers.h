#pragma once
// The customer's servers: the list and every operation on one server.
#include <cstdint>
#include <optional>
#include <string>

#include "Renewal.h"
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Servers {
  public:
    explicit Servers(Services& services) : s_(services), renewal_(services) {}
    void Register(Router& router);

    // One server of the signed-in customer; a server of another account is "not found".
    struct Owned {
        std::int64_t id = 0;
        std::int64_t product_id = 0;
        std::int64_t type_id = 0;
        std::int64_t end_time = 0;
        std::int64_t busy_until = 0;
        bool refund = false;
    };
    // Needs the store's lock.
    static std::optional<Owned> FindOwned(Services& s, std::int64_t user_id, const std::string& id);

  private:
    void List(Exchange& ex);
    void Restart(Exchange& ex);
    void SetRemark(Exchange& ex);
    void OsList(Exchange& ex);
    void Install(Exchange& ex);
    void ChangePassword(Exchange& ex);
    void Refund(Exchange& ex);

    Services& s_;
    Renewal renewal_;
};

}  // namespace platformd
