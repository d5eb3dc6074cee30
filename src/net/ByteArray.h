#pragma once
// A length-counted byte buffer: request and reply bodies, images, GBK wire bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::net {

using ByteArray = std::vector<std::uint8_t>;

inline ByteArray ToBytes(std::string_view s) { return ByteArray(s.begin(), s.end()); }

inline std::string BytesToString(const ByteArray& b) { return std::string(b.begin(), b.end()); }

}  // namespace vpsdesk::net
