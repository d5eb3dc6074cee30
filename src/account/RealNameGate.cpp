#include "account/RealNameGate.h"

#include "account/ProfileApi.h"

namespace vpsdesk::account {

bool EntryIsGated(int entry) {
    return entry == kServerListEntry || entry == kCardActivationEntry;
}

bool RealNameBlocks(const std::string& status) {
    return status == kNotVerified;
}

}  // namespace vpsdesk::account
