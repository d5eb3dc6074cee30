#include "net/JsonPath.h"

#include <charconv>

namespace vpsdesk::net {

using Json = nlohmann::ordered_json;

std::optional<JsonPath> JsonPath::Parse(std::string_view text) {
    JsonPath path;
    size_t pos = 0;
    while (pos < text.size()) {
        Step step;
        if (text[pos] == '[') {
            size_t close = text.find(']', pos);
            if (close == std::string_view::npos || close == pos + 1) return std::nullopt;
            const char* first = text.data() + pos + 1;
            const char* last = text.data() + close;
            for (const char* p = first; p != last; ++p)
                if (*p < '0' || *p > '9') return std::nullopt;
            auto [end, ec] = std::from_chars(first, last, step.index);
            if (ec != std::errc() || end != last) return std::nullopt;  // overflow
            step.is_index = true;
            pos = close + 1;
        } else {
            // Only the first step goes without "."; a member step must name something.
            if (!path.steps_.empty()) {
                if (text[pos] != '.') return std::nullopt;
                ++pos;
            }
            size_t end = text.find_first_of(".[]", pos);
            if (end == std::string_view::npos) end = text.size();
            if (end == pos || (end < text.size() && text[end] == ']')) return std::nullopt;
            step.name = std::string(text.substr(pos, end - pos));
            pos = end;
        }
        path.steps_.push_back(std::move(step));
    }
    return path;
}

const Json* JsonStepInto(const Json& container, const JsonPath::Step& step) {
    if (step.is_index) {
        if (!container.is_array() || step.index >= container.size()) return nullptr;
        return &container[step.index];
    }
    if (!container.is_object()) return nullptr;
    auto it = container.find(step.name);
    return it == container.end() ? nullptr : &*it;
}

const Json* JsonPath::Find(const Json& root) const {
    const Json* at = &root;
    for (const Step& step : steps_)
        if (!(at = JsonStepInto(*at, step))) return nullptr;
    return at;
}

Json* JsonPath::Find(Json& root) const {
    return const_cast<Json*>(Find(static_cast<const Json&>(root)));
}

Json* JsonPath::FindParent(Json& root) const {
    if (steps_.empty()) return nullptr;
    Json* at = &root;
    for (size_t i = 0; i + 1 < steps_.size(); ++i)
        if (!(at = const_cast<Json*>(JsonStepInto(*at, steps_[i])))) return nullptr;
    return at;
}

}  // namespace vpsdesk::net
