#include "os/ProfileDocument.h"

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

// Hands each line to `visit` in order until it returns false. Lines are parsed as they are
// reached and never stored, so a large file costs no memory and a key near its start is
// found without reading the rest.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit) {
    for (size_t pos = 0; pos < bytes.size();) {
        const Line line = ParseLine(bytes, pos);
        pos = line.next;
        if (!visit(line)) return;
    }
}

// Where `key` stands in the first section called `section`.
struct SectionScan {
    bool found = false;       // the section is there
    std::optional<Line> key;  // the key's first line in it
    size_t append_at = 0;     // just after the section's last non-blank line
};

SectionScan ScanSection(std::string_view bytes, std::string_view section, std::string_view key) {
    SectionScan scan;
    bool inside = false;
    ForEachLine(bytes, [&](const Line& line) {
        if (line.kind == LineKind::kSection) {
            if (inside) return false;  // only the first section of the name counts
            if (!SameName(line.name, section)) return true;
            inside = scan.found = true;
            scan.append_at = line.next;
            return true;
        }
        if (!inside) return true;
        if (line.kind == LineKind::kKey && SameName(line.name, key)) {
            scan.key = line;
            return false;
        }
        if (line.kind != LineKind::kBlank) scan.append_at = line.next;
        return true;
    });
    return scan;
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
    const SectionScan scan = ScanSection(bytes, section_gbk, key_gbk);
    if (!scan.key) return std::nullopt;
    return ReadValue(scan.key->value);
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

std::vector<std::optional<std::string>> ProfileDocument::GetMany(
    std::string_view section, std::span<const std::string_view> keys) const {
    std::vector<std::optional<std::string>> values(keys.size());
    std::vector<std::optional<std::string>> keys_gbk(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) keys_gbk[i] = ExactGbk(Trim(keys[i]));
    const std::optional<std::string> section_gbk = ExactGbk(Trim(section));
    if (!section_gbk) return values;
    // The rules of ScanSection, for every key at once: the first section of the name, the
    // first line of each key in it.
    bool inside = false;
    ForEachLine(bytes_, [&](const Line& line) {
        if (line.kind == LineKind::kSection) {
            if (inside) return false;
            inside = SameName(line.name, *section_gbk);
            return true;
        }
        if (!inside || line.kind != LineKind::kKey) return true;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys_gbk[i] && !values[i] && SameName(line.name, *keys_gbk[i]))
                values[i] = ReadValue(line.value);
        return true;
    });
    return values;
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

    // The edit is made in place and undone when it does not read back: copying a large
    // file for every key would cost more than the edit.
    const std::string eol(LineEnding(bytes_));
    const SectionScan scan = ScanSection(bytes_, *section_gbk, *key_gbk);
    size_t at = 0;
    size_t removed = 0;
    std::string inserted;
    if (!scan.found) {
        at = bytes_.size();
        inserted = std::string(LastLineCompletion(bytes_, eol)) + "[" + *section_gbk + "]" + eol +
                   *key_gbk + "=" + *value_gbk + eol;
    } else if (scan.key) {
        at = scan.key->start;
        removed = scan.key->content_end - scan.key->start;
        inserted = std::string(scan.key->name) + "=" + *value_gbk;
    } else {
        at = scan.append_at;
        // Only the file's last line can be unended.
        inserted = std::string(LastLineCompletion(std::string_view(bytes_).substr(0, at), eol)) +
                   *key_gbk + "=" + *value_gbk + eol;
    }
    const std::string replaced = bytes_.substr(at, removed);
    bytes_.replace(at, removed, inserted);
    // Whatever the file held before, the value must read back as a fresh file would give it.
    if (FindValue(bytes_, *section_gbk, *key_gbk) != ReadValue(Trim(*value_gbk))) {
        bytes_.replace(at, inserted.size(), replaced);
        return false;
    }
    return true;
}

}  // namespace vpsdesk::os
