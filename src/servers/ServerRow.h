#pragma once
// One line of the server list: the eleven texts of its columns, in column order.
#include <array>
#include <cstddef>
#include <string>

namespace vpsdesk::servers {

using ServerRow = std::array<std::string, 11>;

// Column indices into a ServerRow.
namespace column {
inline constexpr std::size_t kProductType = 0;
inline constexpr std::size_t kName = 1;
inline constexpr std::size_t kAddress = 2;
inline constexpr std::size_t kStatus = 3;
inline constexpr std::size_t kConfiguration = 4;
inline constexpr std::size_t kBandwidth = 5;
inline constexpr std::size_t kExpiry = 6;
inline constexpr std::size_t kType = 7;
inline constexpr std::size_t kId = 8;
inline constexpr std::size_t kPassword = 9;
inline constexpr std::size_t kRemark = 10;
inline constexpr std::size_t kCount = 11;
}  // namespace column

}  // namespace vpsdesk::servers
