#include "servers/ServerMenuEntries.h"

#include <array>

namespace vpsdesk::servers {
namespace {

constexpr std::array<std::string_view, 6> kTopEntries = {
    "连接主机", "复制主机IP", kManageHostCaption, "复制主机密码", "复制售后名称", "设置备注"};
constexpr std::array<std::string_view, 5> kSubEntries = {"重启主机", "重置系统", "续费主机",
                                                         "申请退款", "修改密码"};

template <std::size_t N>
int PositionIn(const std::array<std::string_view, N>& entries, std::string_view caption) {
    for (std::size_t i = 0; i < N; ++i)
        if (entries[i] == caption) return static_cast<int>(i);
    return -1;
}

}  // namespace

int MenuEntryPosition(MenuLevel level, std::string_view caption) {
    return level == MenuLevel::Top ? PositionIn(kTopEntries, caption)
                                   : PositionIn(kSubEntries, caption);
}

}  // namespace vpsdesk::servers
