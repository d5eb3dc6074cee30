#pragma once
// One row of the purchase page's product list: nine cells, each a member of the product's
// record followed by its unit where it has one.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::net {
class JsonDocument;
}

namespace vpsdesk::shop {

inline constexpr std::size_t kProductColumns = 9;
// The column that holds the product's id, which the purchase window reads.
inline constexpr std::size_t kProductIdColumn = 6;
inline constexpr int kProductRowHeight = 45;

inline constexpr std::array<std::string_view, kProductColumns> kProductHeaders = {
    "产品型号", "CPU", "内存", "硬盘", "带宽", "价格", "ID", "货源", "类型"};

struct ProductRow {
    std::array<std::string, kProductColumns> cells;

    // Element `index` of the reply's "data"; an element that is missing gives the units
    // alone.
    static ProductRow FromElement(const net::JsonDocument& reply, std::size_t index);
    const std::string& ProductId() const { return cells[kProductIdColumn]; }

    bool operator==(const ProductRow&) const = default;
};

// As many rows as the reply's "count" says, whatever "data" holds.
std::vector<ProductRow> ReadProductRows(std::string_view reply);

}  // namespace vpsdesk::shop
