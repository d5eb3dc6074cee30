#include "net/Text.h"

#include <algorithm>
#include <climits>

namespace vpsdesk::net {
namespace {

constexpr std::string_view kQuotePlaceholder = "#引号";
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualAt(std::string_view text, size_t pos, std::string_view what, bool ci) {
    if (pos + what.size() > text.size()) return false;
    if (!ci) return text.compare(pos, what.size(), what) == 0;
    for (size_t i = 0; i < what.size(); ++i)
        if (Lower(text[pos + i]) != Lower(what[i])) return false;
    return true;
}

// 0-based index or npos.
size_t Find0(std::string_view text, std::string_view what, size_t from, bool ci) {
    if (from > text.size()) return std::string_view::npos;
    if (!ci) return text.find(what, from);
    if (what.size() > text.size()) return std::string_view::npos;
    for (size_t i = from; i + what.size() <= text.size(); ++i)
        if (EqualAt(text, i, what, ci)) return i;
    return std::string_view::npos;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string UpperHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

long FindText(std::string_view text, std::string_view what, long start, bool case_insensitive) {
    if (start < 1) start = 1;
    size_t i = Find0(text, what, static_cast<size_t>(start - 1), case_insensitive);
    return i == std::string_view::npos ? -1 : static_cast<long>(i) + 1;
}

long FindTextBackwards(std::string_view text, std::string_view what, long start,
                       bool case_insensitive) {
    long size = static_cast<long>(text.size());
    long last = start < 0 ? size + start : start - 1;  // 0-based latest start of a match
    last = std::min(last, size - static_cast<long>(what.size()));
    for (long i = last; i >= 0; --i)
        if (EqualAt(text, static_cast<size_t>(i), what, case_insensitive)) return i + 1;
    return -1;
}

bool ContainsText(std::string_view text, std::string_view what, bool case_insensitive) {
    return Find0(text, what, 0, case_insensitive) != std::string_view::npos;
}

bool StartsWithText(std::string_view text, std::string_view prefix, bool case_insensitive) {
    return EqualAt(text, 0, prefix, case_insensitive);
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to,
                        bool case_insensitive) {
    if (from.empty()) return std::string(text);
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = Find0(text, from, pos, case_insensitive);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos)).append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start, bool case_insensitive) {
    std::string l = ReplaceText(left, kQuotePlaceholder, "\"");
    std::string r = ReplaceText(right, kQuotePlaceholder, "\"");
    long a = FindText(text, l, start, case_insensitive);
    if (a < 0) return {};
    size_t from = static_cast<size_t>(a - 1) + l.size();
    size_t b = Find0(text, r, from, case_insensitive);
    if (b == std::string_view::npos) return {};
    return std::string(text.substr(from, b - from));
}

std::string TextBefore(std::string_view text, std::string_view marker, long start,
                       bool case_insensitive) {
    long at = start < 0 ? FindTextBackwards(text, marker, start, case_insensitive)
                        : FindText(text, marker, start, case_insensitive);
    if (at < 0) return {};
    return std::string(text.substr(0, static_cast<size_t>(at - 1)));
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (separator.empty()) {
        items.emplace_back(text);
        return items;
    }
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(separator, pos);
        if (hit == std::string_view::npos) break;
        items.emplace_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
    if (pos < text.size()) items.emplace_back(text.substr(pos));
    return items;
}

std::string JoinText(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out.append(separator);
        out.append(items[i]);
    }
    return out;
}

std::string TrimText(std::string_view text) {
    for (;;) {
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace)) text.remove_prefix(kFullWidthSpace.size());
        else break;
    }
    for (;;) {
        if (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        else if (text.ends_with(kFullWidthSpace)) text.remove_suffix(kFullWidthSpace.size());
        else break;
    }
    return std::string(text);
}

std::string FullWidthToHalfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        auto b0 = static_cast<unsigned char>(text[i]);
        if (i + 2 < text.size() && (b0 == 0xEF || b0 == 0xE3)) {
            unsigned cp = ((b0 & 0x0Fu) << 12) |
                          ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
            bool wellFormed = (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80 &&
                              (static_cast<unsigned char>(text[i + 2]) & 0xC0) == 0x80;
            if (wellFormed && cp >= 0xFF01 && cp <= 0xFF5E) {
                out.push_back(static_cast<char>(cp - 0xFF01 + 0x21));
                i += 3;
                continue;
            }
            if (wellFormed && cp == 0x3000) {
                out.push_back(' ');
                i += 3;
                continue;
            }
        }
        out.push_back(text[i++]);
    }
    return out;
}

long long TextToInt(std::string_view input) {
    std::string text = FullWidthToHalfWidth(input);
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int d = text[i] - '0';
        if (value > (LLONG_MAX - d) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

}  // namespace vpsdesk::net
