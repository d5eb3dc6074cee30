#include "Text.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platformd {
namespace {

// UCS-4 in the machine's byte order, which glibc also calls WCHAR_T: converting from it
// to GBK is a single step, so a character GBK lacks costs no reconversion of the buffer.
static_assert(sizeof(wchar_t) == 4);
constexpr const char* kUcs4 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

// One descriptor of each loadable module (GBK, UTF-32) held open for the life of the
// process, so that the conversions of concurrent requests never load and unload a module
// under each other (glibc's own lock for that is one the thread checker cannot see).
void KeepModulesLoaded() {
    static const iconv_t held[] = {iconv_open("UTF-8", "CP936"), iconv_open(kUcs4, "UTF-8")};
    (void)held;
}

// One iconv conversion in which each rejected sequence becomes `bad` and the next `skip`
// bytes are stepped over, so no input can stop or loop it. Empty when iconv lacks it.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    std::size_t skip) {
    std::string out;
    if (in.empty()) return out;
    KeepModulesLoaded();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    char buf[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        const std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        out.append(bad);
        const std::size_t n = std::min(skip, left);
        src += n;
        left -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

std::string_view BytesOf(const wchar_t& c) {
    return {reinterpret_cast<const char*>(&c), sizeof c};
}

// U+E0000..U+E007F: GBK has none of them, yet iconv drops them without refusing.
bool IsTag(wchar_t c) {
    return c >= 0xE0000 && c <= 0xE007F;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    return Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToGbk(std::string_view utf8) {
    static constexpr wchar_t kQuestion = L'?';
    // Strict UTF-8 to code points first: a stray byte, an overlong form, a surrogate or a
    // value past U+10FFFF is refused byte by byte.
    std::string ucs4 = Convert(kUcs4, "UTF-8", utf8, BytesOf(kQuestion), 1);
    for (std::size_t i = 0; i + sizeof(wchar_t) <= ucs4.size(); i += sizeof(wchar_t)) {
        wchar_t c = 0;
        std::memcpy(&c, ucs4.data() + i, sizeof c);
        if (IsTag(c)) std::memcpy(ucs4.data() + i, &kQuestion, sizeof c);
    }
    return Convert("CP936", "WCHAR_T", ucs4, "?", sizeof(wchar_t));
}

long long ReadInteger(std::string_view text) {
    // The full-width forms that can take part in a number, each three bytes of UTF-8.
    static constexpr std::pair<std::string_view, char> kFullWidth[] = {
        {"\xE3\x80\x80", ' '}, {"\xEF\xBC\x8B", '+'}, {"\xEF\xBC\x8D", '-'},
        {"\xEF\xBC\x90", '0'}, {"\xEF\xBC\x91", '1'}, {"\xEF\xBC\x92", '2'},
        {"\xEF\xBC\x93", '3'}, {"\xEF\xBC\x94", '4'}, {"\xEF\xBC\x95", '5'},
        {"\xEF\xBC\x96", '6'}, {"\xEF\xBC\x97", '7'}, {"\xEF\xBC\x98", '8'},
        {"\xEF\xBC\x99", '9'}};
    std::string ascii;
    for (std::size_t i = 0; i < text.size();) {
        const auto* hit = std::find_if(std::begin(kFullWidth), std::end(kFullWidth),
                                       [&](const auto& f) { return text.substr(i).starts_with(f.first); });
        if (hit == std::end(kFullWidth)) {
            ascii.push_back(text[i++]);
        } else {
            ascii.push_back(hit->second);
            i += hit->first.size();
        }
    }
    std::string_view s = ascii;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    // The sign is read above, so the digits parse as an unsigned magnitude.
    unsigned long long magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
    if (end == s.data()) return 0;
    const auto limit = static_cast<unsigned long long>(LLONG_MAX);
    if (ec == std::errc::result_out_of_range || magnitude > limit) {
        return negative ? LLONG_MIN : LLONG_MAX;
    }
    const auto value = static_cast<long long>(magnitude);
    return negative ? -value : value;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) return {std::string(text)};
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(separator, pos)) != std::string_view::npos;
         pos = hit + separator.size()) {
        pieces.emplace_back(text.substr(pos, hit - pos));
    }
    if (pos < text.size()) pieces.emplace_back(text.substr(pos));
    return pieces;
}

std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string_view::npos;
         pos = hit + from.size()) {
        out.append(text.substr(pos, hit - pos)).append(to);
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace platformd
