#include "net/JsonWriter.h"

#include <cmath>

#include "net/EcmaNumber.h"
#include "net/Text.h"

namespace vpsdesk::net {
namespace {

using Json = nlohmann::ordered_json;

// Decodes one UTF-8 character at `pos`; returns its length, or 0 when the bytes there
// are not well-formed UTF-8 (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    size_t len;
    char32_t min;
    if ((lead & 0xE0) == 0xC0) { len = 2; min = 0x80; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { len = 3; min = 0x800; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { len = 4; min = 0x10000; cp = lead & 0x07; }
    else return 0;
    if (text.size() - pos < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool NeedsUnicodeEscape(char32_t cp) {
    return cp <= 0x1F || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD ||
           (cp >= 0x600 && cp <= 0x604) || cp == 0x70F || cp == 0x17B4 || cp == 0x17B5 ||
           (cp >= 0x200C && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202F) ||
           (cp >= 0x2060 && cp <= 0x206F) || cp == 0xFEFF || (cp >= 0xFFF0 && cp <= 0xFFFF);
}

void AppendUnicodeEscape(char32_t cp, std::string& out) {
    // Only code points up to U+FFFF get here. JSON writers spell the digits in lower case.
    const char unit[] = {static_cast<char>((cp >> 8) & 0xFF), static_cast<char>(cp & 0xFF)};
    out += "\\u";
    out += AsciiLower(UpperHex(std::string_view(unit, 2)));
}

}  // namespace

double JsonWriter::NumberOf(const Json& value) {
    switch (value.type()) {
        case Json::value_t::number_integer:
            return static_cast<double>(value.get_ref<const Json::number_integer_t&>());
        case Json::value_t::number_unsigned:
            return static_cast<double>(value.get_ref<const Json::number_unsigned_t&>());
        case Json::value_t::number_float:
            return value.get_ref<const Json::number_float_t&>();
        default:
            return 0;
    }
}

void JsonWriter::AppendString(std::string_view text, std::string& out) {
    out += '"';
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        size_t len = DecodeUtf8(text, pos, cp);
        if (len == 0) {
            AppendUnicodeEscape(0xFFFD, out);
            ++pos;
            continue;
        }
        switch (cp) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            default:
                if (NeedsUnicodeEscape(cp)) AppendUnicodeEscape(cp, out);
                else out.append(text.substr(pos, len));
        }
        pos += len;
    }
    out += '"';
}

void JsonWriter::AppendCompact(const Json& value, std::string& out) {
    switch (value.type()) {
        case Json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [name, member] : value.get_ref<const Json::object_t&>()) {
                if (!first) out += ',';
                first = false;
                AppendString(name, out);
                out += ':';
                AppendCompact(member, out);
            }
            out += '}';
            break;
        }
        case Json::value_t::array: {
            out += '[';
            for (size_t i = 0; i < value.size(); ++i) {
                if (i) out += ',';
                AppendCompact(value[i], out);
            }
            out += ']';
            break;
        }
        case Json::value_t::string:
            AppendString(value.get_ref<const Json::string_t&>(), out);
            break;
        case Json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            break;
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float: {
            double number = NumberOf(value);
            out += std::isfinite(number) ? EcmaNumberToString(number) : "null";
            break;
        }
        default:  // null; binary and discarded values never get into a document
            out += "null";
    }
}

std::string JsonWriter::Compact(const Json& value) {
    std::string out;
    AppendCompact(value, out);
    return out;
}

void JsonWriter::AppendPlain(const Json& value, std::string& out) {
    switch (value.type()) {
        case Json::value_t::object:
            out += "[object Object]";
            break;
        case Json::value_t::array:
            for (size_t i = 0; i < value.size(); ++i) {
                if (i) out += ',';
                AppendPlain(value[i], out);
            }
            break;
        case Json::value_t::string:
            out += value.get_ref<const Json::string_t&>();
            break;
        case Json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            break;
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            out += EcmaNumberToString(NumberOf(value));
            break;
        default:
            break;
    }
}

std::string JsonWriter::Plain(const Json& value) {
    std::string out;
    AppendPlain(value, out);
    return out;
}

}  // namespace vpsdesk::net
