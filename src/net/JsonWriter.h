#pragma once
// Text forms of JSON values: compact JSON with a fixed escape set, and the plain text
// ECMAScript's String() gives for a value.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace vpsdesk::net {

class JsonWriter {
public:
    // Compact JSON: no whitespace, members and elements in order, numbers as
    // EcmaNumberToString (NaN and the infinities as null). Strings escape \" \\ \b \t \n
    // \f \r, and as \uXXXX with lower-case hex the control and invisible formatting
    // characters (U+0000-001F, 007F-009F, 00AD, 0600-0604, 070F, 17B4, 17B5, 200C-200F,
    // 2028-202F, 2060-206F, FEFF, FFF0-FFFF); all other characters stay UTF-8. Bytes
    // that are not UTF-8 are written as \ufffd so the result always reads back.
    static std::string Compact(const nlohmann::ordered_json& value);

    // Plain text: strings unquoted, numbers as EcmaNumberToString, "true"/"false",
    // "[object Object]" for objects, arrays as their elements' plain texts joined by ","
    // with null elements empty; a null gives empty text.
    static std::string Plain(const nlohmann::ordered_json& value);

    // Every JSON number, integer or not, as a double: large integers round as ECMAScript
    // numbers do.
    static double NumberOf(const nlohmann::ordered_json& value);

private:
    static void AppendString(std::string_view text, std::string& out);
    static void AppendCompact(const nlohmann::ordered_json& value, std::string& out);
    static void AppendPlain(const nlohmann::ordered_json& value, std::string& out);
};

}  // namespace vpsdesk::net
