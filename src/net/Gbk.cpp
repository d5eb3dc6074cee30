#include "net/Gbk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "net/Charset.h"

namespace vpsdesk::net {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Code points as glibc's wide characters (UCS-4 in the machine's byte order).
static_assert(sizeof(wchar_t) == 4);
constexpr const char* kWide = "WCHAR_T";

std::string_view BytesOf(const std::wstring& wide) {
    return {reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)};
}

// glibc reads the obsolete UTF-8 forms of values past U+10FFFF (four to six bytes, never
// overlong) as characters: the length of the form it read as `c`, 0 for a code point.
std::size_t ObsoleteFormLength(std::uint32_t c) {
    return c <= 0x10FFFF ? 0 : c <= 0x1FFFFF ? 4 : c <= 0x3FFFFFF ? 5 : 6;
}

// GBK keeps ASCII as it is, and most text a request carries is ASCII.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// U+E0000..U+E007F, the tag characters.
bool IsTagCharacter(std::uint32_t c) {
    return c >= 0xE0000 && c <= 0xE007F;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    return Transcode("UTF-8", "CP936", gbk, kReplacement, [](std::string_view) { return 1; });
}

// Two single-step conversions through wide characters. The direct one would chain two
// steps, and glibc then converts a whole buffer again for every character GBK lacks.
std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    const std::wstring question(1, L'?');
    // Overlong forms, surrogates and stray bytes are refused here, each byte on its own.
    const std::string wide_bytes =
        Transcode(kWide, "UTF-8", utf8, BytesOf(question), [](std::string_view) { return 1; });
    std::wstring wide;
    wide.reserve(wide_bytes.size() / sizeof(wchar_t));
    for (std::size_t i = 0; i + sizeof(wchar_t) <= wide_bytes.size(); i += sizeof(wchar_t)) {
        wchar_t c = 0;
        std::memcpy(&c, wide_bytes.data() + i, sizeof c);
        const auto code = static_cast<std::uint32_t>(c);
        if (std::size_t n = ObsoleteFormLength(code)) {
            wide.append(n, L'?');  // not UTF-8: every byte becomes "?"
        } else {
            // GBK lacks them, but glibc drops them without a word instead of refusing them.
            wide.push_back(IsTagCharacter(code) ? L'?' : c);
        }
    }
    return Transcode("CP936", kWide, BytesOf(wide), "?",
                     [](std::string_view) { return sizeof(wchar_t); });
}

std::string ReplyText(const ByteArray& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<std::size_t>(end - bytes.begin())));
}

}  // namespace vpsdesk::net
