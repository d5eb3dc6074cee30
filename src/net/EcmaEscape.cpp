#include "net/EcmaEscape.h"

#include <algorithm>
#include <utility>

#include "net/Charset.h"
#include "net/Text.h"

namespace vpsdesk::net {
namespace {

constexpr char16_t kReplacementUnit = 0xFFFD;

// Line breaks cannot stand inside a literal and apostrophes would end it, so the reply
// decoder parks them in these stand-ins and brings them back afterwards.
constexpr std::string_view kCrLfMark = "{$}";
constexpr std::string_view kLfMark = "{//n//}";
constexpr std::string_view kApostropheMark = "\xE2\x80\x99";  // U+2019

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsLineTerminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// The `count` hex digits at `at`, or nothing when there are fewer.
// The escapes that stand for one fixed character.
std::optional<char16_t> SingleCharacterEscape(char16_t e) {
    switch (e) {
        case u'b': return u'\b';
        case u't': return u'\t';
        case u'n': return u'\n';
        case u'v': return u'\v';
        case u'f': return u'\f';
        case u'r': return u'\r';
        default: return std::nullopt;
    }
}

std::optional<char16_t> HexAt(std::u16string_view s, size_t at, size_t count) {
    if (at > s.size() || s.size() - at < count) return std::nullopt;
    unsigned value = 0;
    for (size_t i = 0; i < count; ++i) {
        int d = HexValue(s[at + i]);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<char16_t>(value);
}

bool IsOctalDigit(char16_t c) {
    return c >= u'0' && c <= u'7';
}

bool StaysUnescaped(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    return std::u16string_view(u"@*_+-./").find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::string bytes = Transcode("UTF-16LE", "UTF-8", utf8, "\xFD\xFF",
                                  [](std::string_view) { return 1; });
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    // iconv refuses unpaired surrogates, so settle them first.
    std::string bytes;
    bytes.reserve(utf16.size() * 2);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char16_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
            c = utf16[++i];
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacementUnit;
        }
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return Transcode("UTF-8", "UTF-16LE", bytes, "\xEF\xBF\xBD",
                     [](std::string_view) { return 2; });
}

std::optional<std::u16string> ReadQuotedLiteral(std::u16string_view body, bool bare_apostrophe) {
    std::u16string out;
    out.reserve(body.size());
    size_t i = 0;
    while (i < body.size()) {
        char16_t c = body[i++];
        if (IsLineTerminator(c) || (c == u'\'' && !bare_apostrophe)) return std::nullopt;
        if (c != u'\\') {
            out.push_back(c);
            continue;
        }
        if (i == body.size()) return std::nullopt;
        char16_t e = body[i++];
        if (std::optional<char16_t> single = SingleCharacterEscape(e)) {
            out.push_back(*single);
            continue;
        }
        switch (e) {
            case u'x':
            case u'u': {
                size_t digits = e == u'x' ? 2 : 4;
                std::optional<char16_t> unit = HexAt(body, i, digits);
                if (!unit) return std::nullopt;
                out.push_back(*unit);
                i += digits;
                break;
            }
            default:
                if (IsLineTerminator(e)) return std::nullopt;
                if (IsOctalDigit(e)) {
                    // \0-\377: a lead digit 0-3 takes two more digits, 4-7 one more.
                    unsigned value = e - u'0';
                    size_t more = e <= u'3' ? 2 : 1;
                    for (; more > 0 && i < body.size() && IsOctalDigit(body[i]); --more)
                        value = value * 8 + (body[i++] - u'0');
                    out.push_back(static_cast<char16_t>(value));
                } else {
                    out.push_back(e);
                }
        }
    }
    return out;
}

std::string EcmaEscape(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char16_t c : text) {
        if (StaysUnescaped(c)) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x100) {
            const char byte = static_cast<char>(c);
            out.push_back('%');
            out += UpperHex(std::string_view(&byte, 1));
        } else {
            const char unit[] = {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
            out.append("%u");
            out += UpperHex(std::string_view(unit, 2));
        }
    }
    return out;
}

std::u16string EcmaUnescape(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char16_t c = text[i++];
        if (c == u'%') {
            if (i < text.size() && text[i] == u'u') {
                if (std::optional<char16_t> unit = HexAt(text, i + 1, 4)) {
                    out.push_back(*unit);
                    i += 5;
                    continue;
                }
            }
            if (std::optional<char16_t> unit = HexAt(text, i, 2)) {
                out.push_back(*unit);
                i += 2;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::string DecodeUnicodeEscapes(std::string_view text) {
    std::string work = ReplaceText(text, "\r\n", kCrLfMark);
    work = ReplaceText(work, "\n", kLfMark);
    if (!work.empty() && work.front() == '\r') work.erase(0, 1);
    work = ReplaceText(work, "\\u", "%u");
    work = ReplaceText(work, "'", kApostropheMark);

    std::optional<std::u16string> value = ReadQuotedLiteral(Utf8ToUtf16(work));
    // Not a literal body (a stray CR, a trailing backslash, a broken \x): there is
    // nothing decoded to give, and the caller is better served by the reply as it came
    // than by an empty or garbled one.
    if (!value) return std::string(text);

    std::string out = Utf16ToUtf8(EcmaUnescape(*value));
    out = ReplaceText(out, kApostropheMark, "'");
    out = ReplaceText(out, kCrLfMark, "\r\n");
    return ReplaceText(out, kLfMark, "\n");
}

std::string EscapeText(std::string_view text, bool keep_brackets, bool keep_punctuation,
                       std::optional<std::string> u_prefix) {
    // An apostrophe is part of the value (a name may hold one), never the end of it.
    std::optional<std::u16string> value = ReadQuotedLiteral(Utf8ToUtf16(text), true);
    if (!value) return {};

    // A literal "%" comes out as "%25", so every "%XX" below is an escape of its own.
    std::string out = ReplaceText(EcmaEscape(*value), "%27", "'");
    if (keep_brackets) {
        static constexpr std::pair<std::string_view, std::string_view> kBrackets[] = {
            {"%7B", "{"}, {"%7D", "}"}, {"%5B", "["}, {"%5D", "]"}, {"%28", "("}, {"%29", ")"}};
        for (const auto& [from, to] : kBrackets) out = ReplaceText(out, from, to);
    }
    if (keep_punctuation) {
        static constexpr std::pair<std::string_view, std::string_view> kPunctuation[] = {
            {"%3A", ":"}, {"%2C", ","}, {"%22", "\""}};
        for (const auto& [from, to] : kPunctuation) out = ReplaceText(out, from, to);
    }
    if (u_prefix && *u_prefix != "%u" && !TrimText(*u_prefix).empty())
        out = ReplaceText(out, "%u", *u_prefix);
    return out;
}

}  // namespace vpsdesk::net
