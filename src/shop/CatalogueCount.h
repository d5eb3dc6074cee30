#pragma once
// The "count" of a list reply, as the platform states it: the lists are as long as it
// says, even where "data" holds fewer elements.
#include <cstddef>

namespace vpsdesk::net {
class JsonDocument;
}

namespace vpsdesk::shop {

// A count beyond this is a broken or hostile reply; the lists stop there rather than
// filling the memory with empty rows.
inline constexpr std::size_t kMaxListCount = 1000;

// "count" as its JSON text converted to a number: 3 and "3" differ (the quoted text has no
// leading digits and gives 0). Negative counts give 0.
std::size_t ListCount(const net::JsonDocument& reply);

}  // namespace vpsdesk::shop
