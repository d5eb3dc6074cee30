#include "FormBody.h"

#include "Text.h"


namespace platformd {

FormBody::FormBody(std::string_view gbk_body, const std::vector<std::string_view>& fields) {
    if (fields.empty() || !ParseInOrder(gbk_body, fields)) {
        pairs_.clear();
        ParseLoose(gbk_body);
    }
}

std::string FormBody::Get(std::string_view name) const {
    for (const auto& [n, v] : pairs_) {
        if (n == name) return v;
    }
    return {};
}

bool FormBody::Has(std::string_view name) const {
    for (const auto& pair : pairs_) {
        if (pair.first == name) return true;
    }
    return false;
}

bool FormBody::ParseInOrder(std::string_view body, const std::vector<std::string_view>& fields) {
    size_t pos = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string head = std::string(fields[i]) + "=";
        if (body.substr(pos, head.size()) != head) return false;
        pos += head.size();
        size_t end = body.size();
        if (i + 1 < fields.size()) {
            std::string next(1, '&');
            next.append(fields[i + 1]).append(1, '=');
            end = body.find(next, pos);
            if (end == std::string_view::npos) return false;
        }
        AddPair(fields[i], body.substr(pos, end - pos));
        pos = end;
        if (i + 1 < fields.size()) ++pos;  // the "&"
    }
    return true;
}

void FormBody::ParseLoose(std::string_view body) {
    size_t pos = 0;
    while (pos < body.size()) {
        size_t amp = body.find('&', pos);
        std::string_view pair =
            body.substr(pos, amp == std::string_view::npos ? body.npos : amp - pos);
        if (!pair.empty()) {
            size_t eq = pair.find('=');
            if (eq == std::string_view::npos) {
                AddPair(pair, {});
            } else {
                AddPair(pair.substr(0, eq), pair.substr(eq + 1));
            }
        }
        if (amp == std::string_view::npos) break;
        pos = amp + 1;
    }
}

void FormBody::AddPair(std::string_view name, std::string_view value) {
    pairs_.emplace_back(GbkToUtf8(name), GbkToUtf8(value));
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ReadHex(std::string_view text, size_t pos, size_t digits, unsigned& out) {
    if (pos + digits > text.size()) return false;
    out = 0;
    for (size_t i = 0; i < digits; ++i) {
        int v = HexValue(text[pos + i]);
        if (v < 0) return false;
        out = out * 16 + static_cast<unsigned>(v);
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string UnescapeScriptText(std::string_view escaped) {
    std::string text = ReplaceText(escaped, "%25u", "%u");
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned v = 0;
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'u' &&
            ReadHex(text, i + 2, 4, v)) {
            i += 6;
            unsigned low = 0;
            if (v >= 0xD800 && v < 0xDC00 && i + 6 <= text.size() && text[i] == '%' &&
                text[i + 1] == 'u' && ReadHex(text, i + 2, 4, low) && low >= 0xDC00 &&
                low < 0xE000) {
                v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            } else if (v >= 0xD800 && v < 0xE000) {
                v = 0xFFFD;  // a lone surrogate has no UTF-8 form
            }
            AppendUtf8(out, v);
        } else if (text[i] == '%' && ReadHex(text, i + 1, 2, v)) {
            AppendUtf8(out, v);
            i += 3;
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

}  // namespace platformd
