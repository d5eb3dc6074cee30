#pragma once
#include <string>
#include <string_view>

namespace vpsdesk::net {

// Drops lines without ":" and capitalises the first letter of each "-"-separated piece
// of every header name; values stay untouched. Lines are joined by "\r\n" with no break
// after the last one.
std::string NormalizeHeaderNames(std::string_view headers);

}  // namespace vpsdesk::net
