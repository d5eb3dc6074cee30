#pragma once
// The plain-text commands under /khd?act=, the pictures every client fetches at start-up,
// and the download the updater fetches a new client from.
#include <string>

#include "Services.h"

namespace platformd {

class Exchange;
class Router;

class Commands {
  public:
    explicit Commands(Services& services);
    void Register(Router& router);

    static constexpr const char* kTitle = "云桌面管家";

  private:
    void Command(Exchange& ex);
    void Download(Exchange& ex);

    Services& s_;
    std::string logo_, banner1_, banner2_;
};

}  // namespace platformd
