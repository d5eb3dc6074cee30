#include "os/ProfileDocument.h"

#include <vector>

#include "net/Gbk.h"

namespace vpsdesk::os {
namespace {

enum class LineKind { kBlank, kSection, kKey };

// One line of the file, as byte offsets into it. `content_end` excludes the line ending.
struct Line {
    size_t start = 0;
    size_t content_end = 0;
    size_t next = 0;
    LineKind kind = LineKind::kBlank;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key lines only, trimmed
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// GBK lead bytes are 0x81-0xFE; the byte after one belongs to the same character, and a
// trail byte can be '[' ']' or an ASCII letter, so structure and case are only looked at
// on character starts.
bool IsLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x81;
}

size_t CharLength(std::string_view s, size_t i) {
    return IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        size_t n = CharLength(a, i);
        if (n == 2) {
            if (a.compare(i, 2, b.substr(i, 2)) != 0) return false;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

size_t FindChar(std::string_view s, char wanted) {
    for (size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (s[i] == wanted) return i;
    return std::string_view::npos;
}

Line ParseLine(std::string_view bytes, size_t start) {
    Line line;
    line.start = start;
    size_t newline = bytes.find('\n', start);
    line.next = newline == std::string_view::npos ? bytes.size() : newline + 1;
    line.content_end = newline == std::string_view::npos ? bytes.size() : newline;
    if (line.content_end > start && bytes[line.content_end - 1] == '\r') --line.content_end;

    std::string_view text = Trim(bytes.substr(start, line.content_end - start));
    if (text.empty()) return line;
    if (text.front() == '[') {
        line.kind = LineKind::kSection;
        text.remove_prefix(1);
        line.name = Trim(text.substr(0, FindChar(text, ']')));
        return line;
    }
    line.kind = LineKind::kKey;
    size_t eq = text.find('=');  // '=' is below every trail byte
    line.name = Trim(text.substr(0, eq));
    if (eq != std::string_view::npos) line.value = Trim(text.substr(eq + 1));
    return line;
}

std::vector<Line> ParseLines(std::string_view bytes) {
    std::vector<Line> lines;
    for (size_t pos = 0; pos < bytes.size();) {
        lines.push_back(ParseLine(bytes, pos));
        pos = lines.back().next;
    }
    return lines;
}

// Index of the first line of the body of the first section called `section`, and the
// index one past its last line; nullopt when there is no such section.
struct SectionSpan {
    size_t header;
    size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::kSection || !SameName(lines[i].name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::kSection) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, SectionSpan span,
                              std::string_view key) {
    for (size_t i = span.header + 1; i < span.end; ++i)
        if (lines[i].kind == LineKind::kKey && SameName(lines[i].name, key)) return i;
    return std::nullopt;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view CutAtCharacter(std::string_view value, size_t limit) {
    size_t end = 0;
    while (end < value.size()) {
        size_t n = CharLength(value, end);
        if (end + n > limit) break;
        end += n;
    }
    return value.substr(0, end);
}

// What ends the file's last line before something is appended after it: nothing when it
// is ended already, the missing LF after a lone CR (a separate line ending would leave
// that CR in the line, in its value or section name), else a whole line ending.
std::string_view LastLineCompletion(std::string_view bytes, std::string_view eol) {
    if (bytes.empty() || bytes.back() == '\n') return {};
    if (bytes.back() == '\r') return "\n";
    return eol;
}

std::string_view LineEnding(std::string_view bytes) {
    size_t newline = bytes.find('\n');
    if (newline != std::string_view::npos && (newline == 0 || bytes[newline - 1] != '\r'))
        return "\n";
    return "\r\n";
}

// GBK bytes of `text`, or nullopt when a character has no GBK form.
std::optional<std::string> ExactGbk(std::string_view text) {
    std::string gbk = net::Utf8ToGbk(text);
    if (net::GbkToUtf8(gbk) != text) return std::nullopt;
    return gbk;
}

bool HasLineBreakOrZero(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A stored value as a read gives it back.
std::string ReadValue(std::string_view stored) {
    return net::GbkToUtf8(CutAtCharacter(StripQuotes(stored), ProfileDocument::kValueByteLimit));
}

std::optional<std::string> FindValue(std::string_view bytes, std::string_view section_gbk,
                                     std::string_view key_gbk) {
    std::vector<Line> lines = ParseLines(bytes);
    std::optional<SectionSpan> span = FindSection(lines, section_gbk);
    if (!span) return std::nullopt;
    std::optional<size_t> index = FindKey(lines, *span, key_gbk);
    if (!index) return std::nullopt;
    return ReadValue(lines[*index].value);
}

}  // namespace

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
    // A name GBK cannot hold is in no file; encoded with "?" it would find another key.
    std::optional<std::string> section_gbk = ExactGbk(Trim(section));
    std::optional<std::string> key_gbk = ExactGbk(Trim(key));
    if (!section_gbk || !key_gbk) return std::nullopt;
    return FindValue(bytes_, *section_gbk, *key_gbk);
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreakOrZero(section) || HasLineBreakOrZero(key) ||
        HasLineBreakOrZero(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[')
        return false;
    std::optional<std::string> section_gbk = ExactGbk(section);
    std::optional<std::string> key_gbk = ExactGbk(key);
    std::optional<std::string> value_gbk = ExactGbk(value);
    if (!section_gbk || !key_gbk || !value_gbk) return false;

    std::string edited = bytes_;
    const std::string eol(LineEnding(edited));
    std::vector<Line> lines = ParseLines(edited);
    std::optional<SectionSpan> span = FindSection(lines, *section_gbk);
    if (!span) {
        edited += LastLineCompletion(edited, eol);
        edited += "[" + *section_gbk + "]" + eol + *key_gbk + "=" + *value_gbk + eol;
    } else if (std::optional<size_t> index = FindKey(lines, *span, *key_gbk)) {
        const Line& line = lines[*index];
        edited.replace(line.start, line.content_end - line.start,
                       std::string(line.name) + "=" + *value_gbk);
    } else {
        size_t last = span->header;
        for (size_t i = span->header + 1; i < span->end; ++i)
            if (lines[i].kind != LineKind::kBlank) last = i;
        const size_t at = lines[last].next;
        // Only the file's last line can be unended.
        std::string insert(LastLineCompletion(std::string_view(edited).substr(0, at), eol));
        edited.insert(at, insert + *key_gbk + "=" + *value_gbk + eol);
    }
    // Whatever the file held before, the value must read back as a fresh file would give it.
    if (FindValue(edited, *section_gbk, *key_gbk) != ReadValue(Trim(*value_gbk))) return false;
    bytes_ = std::move(edited);
    return true;
}

}  // namespace vpsdesk::os
