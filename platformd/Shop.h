#pragma once
// The catalogue (product types, lines, products, prices, operating systems) and the
// purchase of a new server.
#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Shop {
  public:
    explicit Shop(Services& services) : s_(services) {}
    void Register(Router& router);

  private:
    void Types(Exchange& ex);
    void Lines(Exchange& ex);
    void LineByName(Exchange& ex);
    void Products(Exchange& ex);
    void Prices(Exchange& ex);
    void OsList(Exchange& ex);
    void Buy(Exchange& ex);

    Services& s_;
};

}  // namespace platformd
