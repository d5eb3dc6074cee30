#include "servers/OsChoice.h"

#include <algorithm>

#include "net/JsonDocument.h"
#include "net/Text.h"

namespace vpsdesk::servers {

OsChoice OsChoice::FromReply(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    const long long count = net::TextToInt(doc.GetObject("count").ToText());
    // Only the entries the reply really holds: a "count" beyond them would offer blank
    // names (and, for a hostile count, never finish filling the lists).
    const auto entries = std::min<long long>(count, static_cast<long long>(doc.Count("data")));
    OsChoice choice;
    for (long long i = 0; i < entries; ++i) {
        const std::string at = "data[" + std::to_string(i) + "].";
        choice.names_.push_back(doc.GetText(at + "osname"));
        choice.ids_.push_back(doc.GetText(at + "osid"));
    }
    if (!choice.ids_.empty()) choice.chosen_id_ = choice.ids_.front();
    return choice;
}

void OsChoice::Choose(std::size_t index) {
    if (index < ids_.size()) chosen_id_ = ids_[index];
}

}  // namespace vpsdesk::servers
