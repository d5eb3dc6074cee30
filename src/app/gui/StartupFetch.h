#pragma once
// The start-up fetches take a moment on a slow network. They run on a worker, so the UI
// thread can build the login window meanwhile and keeps serving events while it waits;
// if they take long, a small notice with a busy cursor says what the client waits for.
#include <chrono>
#include <functional>
#include <optional>

#include "platform/SiteConstants.h"
#include "ui/PumpedCall.h"

namespace vpsdesk::app {

class StartupFetch {
  public:
    // Starts the six fetches, in their order, on a worker, which then runs `afterwards`
    // (the files start-up writes next) before Wait() returns.
    StartupFetch(const platform::SiteConstants& site, std::function<void()> afterwards);

    // UI thread. The resources once fetched; nullopt when the client was told to end
    // meanwhile.
    std::optional<platform::SiteResources> Wait();

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    ui::PumpedCall<platform::SiteResources> call_;
};

}  // namespace vpsdesk::app
