#include "shop/CatalogueCount.h"

#include <algorithm>

#include "net/JsonDocument.h"
#include "net/Text.h"

namespace vpsdesk::shop {

std::size_t ListCount(const net::JsonDocument& reply) {
    const long long count = net::TextToInt(reply.GetObject("count").ToText());
    return static_cast<std::size_t>(
        std::clamp<long long>(count, 0, static_cast<long long>(kMaxListCount)));
}

}  // namespace vpsdesk::shop
