#pragma once
// The two slots in constant data. Only SiteConstants.cpp reads them, through volatile so
// the compiler never replaces a read by the value the build was made with.
#include "platform/SiteConstants.h"

namespace vpsdesk::platform::slots {

extern const volatile char kSiteSlot[kSiteSlotSize + 1];
extern const volatile char kVersionSlot[kVersionSlotSize + 1];

}  // namespace vpsdesk::platform::slots
