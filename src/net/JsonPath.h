#pragma once
// Paths into a JSON document: "status", "data.username", "data[0].id", "[0].id".
// Member steps are separated by "."; index steps are "[n]" with a zero-based decimal
// index and no "." in front; the empty path names the root. A malformed path names
// nothing, so every read through it finds nothing and every write through it fails.
#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::net {

class JsonPath {
public:
    struct Step {
        std::string name;  // member steps
        std::size_t index = 0;  // index steps
        bool is_index = false;
    };

    // The steps of `text`, or nothing when it is malformed ("a..b", "a[", "[x]", "[-1]").
    static std::optional<JsonPath> Parse(std::string_view text);

    const std::vector<Step>& Steps() const { return steps_; }
    bool IsRoot() const { return steps_.empty(); }

    // The value the steps lead to from `root`, or null when a step finds nothing: a
    // missing member, an index past the end, a member of a non-object, an index into a
    // non-array (a JSON null included). Never creates anything.
    const nlohmann::ordered_json* Find(const nlohmann::ordered_json& root) const;
    nlohmann::ordered_json* Find(nlohmann::ordered_json& root) const;

    // The same walk for all steps but the last; null at the root path.
    nlohmann::ordered_json* FindParent(nlohmann::ordered_json& root) const;

private:
    std::vector<Step> steps_;
};

// The value `step` names inside `container`, or null.
const nlohmann::ordered_json* JsonStepInto(const nlohmann::ordered_json& container,
                                           const JsonPath::Step& step);

}  // namespace vpsdesk::net
