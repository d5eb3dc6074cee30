// The slot bytes themselves. The packaging tool finds each slot by its run of filler
// bytes plus the zero that follows, so the runs must occur nowhere else in the binary:
// keep them out of every other file.
#include "platform/SiteSlots.h"

namespace vpsdesk::platform::slots {

// Twelve "水" (GBK CB AE), then the terminating zero.
[[gnu::used]] const volatile char kSiteSlot[kSiteSlotSize + 1] =
    "\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE"
    "\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE\xCB\xAE";

// Eight "啵" (GBK E0 A3), then the terminating zero.
[[gnu::used]] const volatile char kVersionSlot[kVersionSlotSize + 1] =
    "\xE0\xA3\xE0\xA3\xE0\xA3\xE0\xA3\xE0\xA3\xE0\xA3\xE0\xA3\xE0\xA3";

}  // namespace vpsdesk::platform::slots
