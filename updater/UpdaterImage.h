#pragma once
// The built updater program, carried inside the client so it can be written out beside it.
#include <cstdint>
#include <span>

namespace vpsdesk {

// The executable's bytes (debug information left out), to be written as a file of mode
// 0755. Never empty.
std::span<const std::uint8_t> UpdaterImage();

}  // namespace vpsdesk
