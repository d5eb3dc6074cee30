#pragma once
// The start-up fetches take a moment on a slow network. They run on a worker while the
// UI thread keeps serving events; if they take long, a small notice with a busy cursor
// says what the client is waiting for.
#include <optional>

#include "app/SiteConstants.h"

namespace vpsdesk::app {

// UI thread. The six fetches in their order; nullopt when the client was told to end
// meanwhile.
std::optional<SiteResources> FetchSiteResourcesShowingProgress(const SiteConstants& site);

}  // namespace vpsdesk::app
