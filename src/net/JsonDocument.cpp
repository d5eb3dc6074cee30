#include "net/JsonDocument.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "net/JsonPath.h"
#include "net/JsonWriter.h"

namespace vpsdesk::net {
namespace {

using Json = nlohmann::ordered_json;

// The deepest container nesting in `text`, counted on brackets outside strings, or -1
// once it passes `limit`. Exact for well-formed JSON, and the parser only builds
// containers for a well-formed prefix, so checking this first keeps every document
// within the limit however the text goes on.
int NestingDepth(std::string_view text, int limit) {
    int depth = 0, deepest = 0;
    bool in_string = false, escaped = false;
    for (char c : text) {
        if (in_string) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return -1;
            if (depth > deepest) deepest = depth;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// `text` as a JSON value no deeper than `limit`, with its depth.
std::optional<Json> ParseJson(std::string_view text, int limit, int& depth) {
    depth = NestingDepth(text, limit);
    if (depth < 0) return std::nullopt;
    Json value = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) return std::nullopt;
    return value;
}

// A value handed to an edit: a string, or JSON text where empty means "{}".
std::optional<Json> EditValue(std::string_view text, bool is_json, int limit, int& depth) {
    depth = 0;
    if (!is_json) return Json(std::string(text));
    return ParseJson(text.empty() ? std::string_view("{}") : text, limit, depth);
}

// Same-kind containers combine (object members recursively, array elements appended);
// anything else is replaced, except that a number member already in an object is kept:
// stored counters must not be overwritten by a merge.
void MergeInto(Json& target, Json&& source) {
    if (target.is_object() && source.is_object()) {
        for (auto& [name, member] : source.get_ref<Json::object_t&>()) {
            auto it = target.find(name);
            if (it == target.end()) target.emplace(name, std::move(member));
            else if (!it->is_number()) MergeInto(*it, std::move(member));
        }
    } else if (target.is_array() && source.is_array()) {
        for (Json& element : source) target.push_back(std::move(element));
    } else {
        target = std::move(source);
    }
}

void CollectValues(const Json& container, bool recursive, std::vector<std::string>& out) {
    for (const Json& value : container) {
        if (value.is_string() || value.is_number() || value.is_boolean())
            out.push_back(JsonWriter::Plain(value));
        else if (recursive && value.is_structured())
            CollectValues(value, true, out);
    }
}

bool ValidIndex(long long index) { return index >= 0; }

std::string TextOf(const Json* value, bool as_json) {
    if (!value) return {};
    return as_json ? JsonWriter::Compact(*value) : JsonWriter::Plain(*value);
}

}  // namespace

JsonDocument::JsonDocument() : root_(std::make_unique<Json>(Json::object())) {}
JsonDocument::~JsonDocument() = default;
JsonDocument::JsonDocument(const JsonDocument& other)
    : root_(other.root_ ? std::make_unique<Json>(*other.root_) : nullptr) {}
JsonDocument& JsonDocument::operator=(const JsonDocument& other) {
    if (this != &other) root_ = other.root_ ? std::make_unique<Json>(*other.root_) : nullptr;
    return *this;
}
JsonDocument::JsonDocument(JsonDocument&& other) noexcept = default;
JsonDocument& JsonDocument::operator=(JsonDocument&& other) noexcept = default;

bool JsonDocument::Parse(std::string_view text) {
    if (text.empty()) {
        root_.reset();
        return false;
    }
    int depth = 0;
    std::optional<Json> value = ParseJson(text, kMaxDepth, depth);
    root_ = std::make_unique<Json>(value ? std::move(*value) : Json(nullptr));
    return !root_->is_null();
}

std::string JsonDocument::ToText() const {
    return root_ ? JsonWriter::Compact(*root_) : std::string();
}

const Json* JsonDocument::Find(std::string_view path) const {
    if (!root_) return nullptr;
    std::optional<JsonPath> parsed = JsonPath::Parse(path);
    return parsed ? parsed->Find(*root_) : nullptr;
}

const Json* JsonDocument::FindElement(std::string_view path, long long index) const {
    const Json* array = Find(path);
    if (!array || !ValidIndex(index)) return nullptr;
    return JsonStepInto(*array, JsonPath::Step{{}, static_cast<size_t>(index), true});
}

int JsonDocument::TypeOf(std::string_view path) const {
    const Json* value = Find(path);
    if (!value) return kNothing;
    switch (value->type()) {
        case Json::value_t::null: return kNothing;
        case Json::value_t::boolean: return kBoolean;
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float: return kNumber;
        case Json::value_t::object: return kObject;
        case Json::value_t::array: return kArray;
        case Json::value_t::string: return kString;
        default: return kOther;
    }
}

std::string JsonDocument::GetText(std::string_view path, bool as_json) const {
    return TextOf(Find(path), as_json);
}

std::string JsonDocument::GetJsonText(std::string_view path) const {
    return TextOf(Find(path), true);
}

JsonDocument JsonDocument::CopyOf(const Json* value) {
    JsonDocument copy;
    copy.root_ = value ? std::make_unique<Json>(*value) : nullptr;
    return copy;
}

JsonDocument JsonDocument::GetObject(std::string_view path) const {
    return CopyOf(Find(path));
}

double JsonDocument::GetNumber(std::string_view path) const {
    const Json* value = Find(path);
    return value ? JsonWriter::NumberOf(*value) : 0;
}

bool JsonDocument::Exists(std::string_view path) const {
    const Json* value = Find(path);
    return value && !value->is_null();
}

size_t JsonDocument::Count(std::string_view path) const {
    const Json* value = Find(path);
    return value && value->is_array() ? value->size() : 0;
}

std::vector<std::string> JsonDocument::Names(std::string_view path) const {
    std::vector<std::string> names;
    const Json* value = Find(path);
    if (value && value->is_object())
        for (const auto& member : value->get_ref<const Json::object_t&>())
            names.push_back(member.first);
    return names;
}

std::vector<std::string> JsonDocument::AllValues(std::string_view path, bool recursive) const {
    std::vector<std::string> values;
    const Json* value = Find(path);
    if (value && value->is_structured()) CollectValues(*value, recursive, values);
    return values;
}

void JsonDocument::Clear() { root_ = std::make_unique<Json>(Json::object()); }

bool JsonDocument::Store(std::string_view path, Json value, int value_depth, bool merge) {
    std::optional<JsonPath> parsed = JsonPath::Parse(path);
    if (!parsed) return false;
    const std::vector<JsonPath::Step>& steps = parsed->Steps();
    if (static_cast<long long>(steps.size()) + value_depth > kMaxDepth) return false;

    Json* slot = nullptr;
    if (steps.empty()) {
        if (!root_) root_ = std::make_unique<Json>();
        slot = root_.get();
    } else {
        Json* parent = root_ ? parsed->FindParent(*root_) : nullptr;
        if (!parent) return false;
        const JsonPath::Step& last = steps.back();
        if (last.is_index) {
            if (!parent->is_array() || last.index > parent->size()) return false;
            if (last.index == parent->size()) {
                parent->push_back(std::move(value));
                return true;
            }
            slot = &(*parent)[last.index];
        } else {
            if (!parent->is_object()) return false;
            auto it = parent->find(last.name);
            if (it == parent->end()) {
                parent->emplace(last.name, std::move(value));
                return true;
            }
            slot = &*it;
        }
    }
    if (merge) MergeInto(*slot, std::move(value));
    else *slot = std::move(value);
    return true;
}

bool JsonDocument::SetText(std::string_view path, std::string_view text) {
    return Store(path, Json(std::string(text)), 0, false);
}

bool JsonDocument::SetNumber(std::string_view path, double number) {
    return Store(path, Json(number), 0, false);
}

bool JsonDocument::SetJson(std::string_view path, std::string_view json) {
    int depth = 0;
    std::optional<Json> value = EditValue(json, true, kMaxDepth, depth);
    return value && Store(path, std::move(*value), depth, true);
}

bool JsonDocument::Delete(std::string_view path) {
    std::optional<JsonPath> parsed = JsonPath::Parse(path);
    if (!parsed || parsed->IsRoot() || !root_) return false;
    Json* parent = parsed->FindParent(*root_);
    if (!parent) return false;
    const JsonPath::Step& last = parsed->Steps().back();
    if (last.is_index) {
        if (!parent->is_array() || last.index >= parent->size()) return false;
        parent->erase(last.index);
        return true;
    }
    return parent->is_object() && parent->erase(last.name) > 0;
}

Json* JsonDocument::FindArray(std::string_view path, size_t* steps) {
    std::optional<JsonPath> parsed = JsonPath::Parse(path);
    if (!parsed || !root_) return nullptr;
    *steps = parsed->Steps().size();
    Json* value = parsed->Find(*root_);
    return value && value->is_array() ? value : nullptr;
}

bool JsonDocument::ArrayAdd(std::string_view path, std::string_view value, bool is_json,
                            bool at_front) {
    int depth = 0;
    std::optional<Json> element = EditValue(value, is_json, kMaxDepth, depth);
    if (!element) return false;
    size_t steps = 0;
    Json* array = FindArray(path, &steps);
    if (!array) {
        Json fresh = Json::array();
        fresh.push_back(std::move(*element));
        return Store(path, std::move(fresh), depth + 1, false);
    }
    if (static_cast<long long>(steps) + 1 + depth > kMaxDepth) return false;
    auto& elements = array->get_ref<Json::array_t&>();
    elements.insert(at_front ? elements.begin() : elements.end(), std::move(*element));
    return true;
}

bool JsonDocument::ArraySet(std::string_view path, long long index, std::string_view value,
                            bool is_json) {
    int depth = 0;
    std::optional<Json> element = EditValue(value, is_json, kMaxDepth, depth);
    size_t steps = 0;
    Json* array = FindArray(path, &steps);
    if (!element || !array || !ValidIndex(index)) return false;
    if (static_cast<long long>(steps) + 1 + depth > kMaxDepth) return false;
    size_t at = static_cast<size_t>(index);
    if (at > array->size()) return false;
    if (at == array->size()) array->push_back(std::move(*element));
    else (*array)[at] = std::move(*element);
    return true;
}

bool JsonDocument::ArrayRemove(std::string_view path, long long index) {
    size_t steps = 0;
    Json* array = FindArray(path, &steps);
    if (!array || !ValidIndex(index) || static_cast<size_t>(index) >= array->size()) return false;
    array->erase(static_cast<size_t>(index));
    return true;
}

JsonDocument JsonDocument::ArrayGetObject(std::string_view path, long long index) const {
    return CopyOf(FindElement(path, index));
}

std::string JsonDocument::ArrayGetText(std::string_view path, long long index,
                                       bool as_json) const {
    return TextOf(FindElement(path, index), as_json);
}

std::string JsonReadValue(std::string& reply, std::string_view path) {
    std::erase(reply, '\r');
    std::erase(reply, '\n');
    JsonDocument doc;
    if (!doc.Parse(reply)) return "JSON解析失败";
    switch (doc.TypeOf(path)) {
        case JsonDocument::kBoolean: return doc.GetJsonText(path);
        case JsonDocument::kNumber: return doc.GetText(path);
        case JsonDocument::kString: return doc.GetText(path, false);
        default: return doc.GetText(path, true);
    }
}

bool JsonReadable(std::string reply) {
    std::erase(reply, '\r');
    std::erase(reply, '\n');
    JsonDocument doc;
    return doc.Parse(reply);
}

}  // namespace vpsdesk::net
