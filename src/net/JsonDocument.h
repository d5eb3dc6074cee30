#pragma once
// One JSON value read from a platform reply, with reads and edits by path (see JsonPath:
// "status", "data.username", "data[0].id"). Nothing here throws: a read that finds
// nothing gives empty text, kind 0, the number 0, false, an empty list or a document
// without a root, and an edit that cannot be made returns false and changes nothing.
#include <cstddef>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::net {

class JsonDocument {
public:
    // TypeOf results; the features compare the numbers themselves.
    enum Kind : int {
        kNothing = 0,  // nothing at the path, or a JSON null
        kBoolean = 1,
        kNumber = 2,
        kObject = 4,
        kArray = 5,
        kString = 6,
        kOther = -1,
    };

    // Containers nested deeper than this are refused, by Parse and by every edit, so
    // that the recursive walks over a document stay within the stack.
    static constexpr int kMaxDepth = 512;

    JsonDocument();  // root is an empty object
    ~JsonDocument();
    JsonDocument(const JsonDocument& other);  // deep copy
    JsonDocument& operator=(const JsonDocument& other);
    JsonDocument(JsonDocument&& other) noexcept;
    JsonDocument& operator=(JsonDocument&& other) noexcept;

    // Strict JSON. Empty text leaves no root at all; any other text that is not JSON (or
    // nests too deeply) leaves a null root. True when the root is then neither.
    bool Parse(std::string_view text);
    // Compact JSON of the root: "null" for a null root, empty text without a root.
    std::string ToText() const;
    bool HasRoot() const { return root_ != nullptr; }

    int TypeOf(std::string_view path) const;
    // Plain text of the value (strings unquoted, numbers as EcmaNumberToString,
    // "[object Object]", arrays joined by ","), or its compact JSON when `as_json`.
    // Nothing there gives empty text either way; a null gives "null" only as JSON.
    std::string GetText(std::string_view path, bool as_json = false) const;
    // An independent deep copy of the value; no root when nothing is there.
    JsonDocument GetObject(std::string_view path) const;
    std::string GetJsonText(std::string_view path) const;
    double GetNumber(std::string_view path) const;  // 0 unless a number is there
    bool Exists(std::string_view path) const;      // a value other than null
    std::size_t Count(std::string_view path) const;  // elements of an array, else 0
    std::vector<std::string> Names(std::string_view path) const;
    // The string, number and boolean values in the container at `path`, as plain texts
    // in document order; nested containers are walked in place when `recursive`.
    std::vector<std::string> AllValues(std::string_view path, bool recursive) const;

    void Clear();  // root becomes an empty object

    // Edits store at an existing object's member (added at the end when new) or at an
    // existing array's element (index up to its size; the size appends). The empty path
    // replaces the root.
    bool SetText(std::string_view path, std::string_view text);
    bool SetNumber(std::string_view path, double number);
    // Empty `json` means "{}". An object stored over an object is merged into it, and
    // an array over an array is appended to it (members likewise, all the way down);
    // any other value replaces what was there.
    bool SetJson(std::string_view path, std::string_view json);
    // Removes the member, or the array element, named by `path`.
    bool Delete(std::string_view path);

    // A value at `path` that is not an array is first replaced by an empty array.
    // `value` is a string, or JSON text when `is_json` (empty meaning "{}").
    bool ArrayAdd(std::string_view path, std::string_view value, bool is_json = false,
                  bool at_front = false);
    // Replaces element `index`; `index` equal to the size appends.
    bool ArraySet(std::string_view path, long long index, std::string_view value,
                  bool is_json = false);
    bool ArrayRemove(std::string_view path, long long index);
    JsonDocument ArrayGetObject(std::string_view path, long long index) const;
    std::string ArrayGetText(std::string_view path, long long index, bool as_json = false) const;

private:
    static JsonDocument CopyOf(const nlohmann::ordered_json* value);
    const nlohmann::ordered_json* Find(std::string_view path) const;
    const nlohmann::ordered_json* FindElement(std::string_view path, long long index) const;
    nlohmann::ordered_json* FindArray(std::string_view path, std::size_t* steps);
    bool Store(std::string_view path, nlohmann::ordered_json value, int value_depth,
               bool merge);

    std::unique_ptr<nlohmann::ordered_json> root_;  // null: no root (empty text parsed)
};

// Parses `reply` with its line breaks removed (the caller's text loses them too) and
// reads `path`: strings as plain text, numbers and booleans as their JSON text, anything
// else as compact JSON ("null" for a null, empty text for nothing). "JSON解析失败" when
// the reply is not JSON or is a bare null.
std::string JsonReadValue(std::string& reply, std::string_view path);

// Whether JsonReadValue finds a document in `reply` rather than giving "JSON解析失败":
// a reply that is no document (a failed request, an error page) must change nothing.
bool JsonReadable(std::string reply);

}  // namespace vpsdesk::net
