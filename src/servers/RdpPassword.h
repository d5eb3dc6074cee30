#pragma once
// The password line of a connection file: the password in a 512-byte UTF-16LE buffer,
// protected for the current user, written as uppercase hex followed by one "0".
#include <string>
#include <string_view>

#include "net/ByteArray.h"
#include "os/DataProtection.h"

namespace vpsdesk::servers {

inline constexpr std::size_t kRdpPasswordBuffer = 512;

// The UTF-16LE form with its terminator, zero-filled to 512 bytes and cut there. An empty
// password gives a buffer of zeros.
net::ByteArray RdpPasswordBuffer(std::string_view password);

// Hex of the protected buffer plus "0"; "0" alone when protection fails.
std::string ProtectRdpPassword(std::string_view password, const os::DataProtection& protection);

}  // namespace vpsdesk::servers
