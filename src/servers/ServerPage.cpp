#include "servers/ServerPage.h"

#include <algorithm>

#include "net/JsonDocument.h"
#include "net/Text.h"

namespace vpsdesk::servers {
namespace {

constexpr std::string_view kRowMarker = "VPStypeID";

std::string MemberPath(std::size_t index, std::string_view member) {
    return "data[" + std::to_string(index) + "]." + std::string(member);
}

ServerRow ReadRow(const net::JsonDocument& doc, std::size_t index) {
    auto text = [&](std::string_view member) { return doc.GetText(MemberPath(index, member)); };
    ServerRow row;
    row[column::kProductType] = text("VPStype");
    row[column::kName] = text("vpsname");
    row[column::kAddress] = text("ycdz");
    row[column::kStatus] = DisplayStatus(text("status"), text("zt"));
    row[column::kConfiguration] = text("CpuNum") + text("MaxRAM") + text("Maxmbps8");
    row[column::kExpiry] = text("endtime");
    // The JSON text, so a numeric id gives its digits.
    row[column::kId] = doc.GetObject(MemberPath(index, "id")).ToText();
    row[column::kPassword] = text("VPSpassword");
    row[column::kRemark] = text("corewhatuser");
    return row;
}

}  // namespace

long long ServerPageCount(long long count) {
    if (count < 1) return 0;
    const double q = static_cast<double>(count) / 5.0;
    const auto n = static_cast<long long>(q);
    return q - static_cast<double>(n) > 1e-7 ? n + 1 : n;
}

std::size_t CountServerRows(std::string_view reply) {
    std::size_t rows = 0;
    long at = net::FindText(reply, kRowMarker, 1, true);
    while (at > 0) {
        ++rows;
        at = net::FindText(reply, kRowMarker, at + static_cast<long>(kRowMarker.size()), true);
    }
    return rows;
}

std::string DisplayStatus(std::string_view status, std::string_view zt) {
    if (!zt.empty() && status != kExpiredStatus) return std::string(zt);
    return std::string(status);
}

ServerPage ParseServerPage(std::string_view reply) {
    net::JsonDocument doc;
    ServerPage page;
    page.readable = doc.Parse(reply) && doc.Exists("count");
    page.count = net::TextToInt(doc.GetObject("count").ToText());
    if (page.Empty()) return page;
    page.page_count = std::min(ServerPageCount(page.count), kMaxPageEntries);
    const std::size_t rows = std::min(CountServerRows(reply), kMaxRowsPerReply);
    page.rows.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) page.rows.push_back(ReadRow(doc, i));
    return page;
}

}  // namespace vpsdesk::servers
