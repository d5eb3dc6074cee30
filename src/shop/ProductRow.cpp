#include "shop/ProductRow.h"

#include "net/JsonDocument.h"
#include "shop/CatalogueCount.h"

namespace vpsdesk::shop {

namespace {

struct Column {
    std::string_view member;
    std::string_view unit;
};

constexpr std::array<Column, kProductColumns> kColumns = {{
    {"VPStype", ""},
    {"CpuNum", "核"},
    {"MAXRAM", "M"},
    {"MAXSPACE", "G"},
    {"Maxmbps8", "M"},
    {"month", "元/月"},
    {"id", ""},
    {"zy", ""},
    {"lx", ""},
}};

}  // namespace

ProductRow ProductRow::FromElement(const net::JsonDocument& reply, std::size_t index) {
    const std::string element = "data[" + std::to_string(index) + "].";
    ProductRow row;
    for (std::size_t c = 0; c < kProductColumns; ++c)
        row.cells[c] = reply.GetText(element + std::string(kColumns[c].member)) +
                       std::string(kColumns[c].unit);
    return row;
}

std::vector<ProductRow> ReadProductRows(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    std::vector<ProductRow> rows;
    const std::size_t count = ListCount(doc);
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) rows.push_back(ProductRow::FromElement(doc, i));
    return rows;
}

}  // namespace vpsdesk::shop
