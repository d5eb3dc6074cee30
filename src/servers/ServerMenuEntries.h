#pragma once
// The server list's context menu: which entries exist and in which order they appear,
// whatever order the features register them in.
#include <string_view>

namespace vpsdesk::servers {

enum class MenuLevel { Top, Sub };

// The top-level entry that opens the sub-menu; it has no action of its own.
inline constexpr std::string_view kManageHostCaption = "管理主机";

// The entry's place on its level, or -1 for a caption the menu does not know.
int MenuEntryPosition(MenuLevel level, std::string_view caption);

}  // namespace vpsdesk::servers
