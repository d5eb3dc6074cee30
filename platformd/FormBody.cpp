#include "FormBody.h"

#include <algorithm>

#include "Text.h"

namespace platformd {

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

// Every piece between "&"s, empty ones included; an empty body has none.
std::vector<std::string_view> SplitAll(std::string_view body) {
    std::vector<std::string_view> pieces;
    if (body.empty()) return pieces;
    size_t pos = 0;
    for (size_t amp = body.find('&'); amp != std::string_view::npos; amp = body.find('&', pos)) {
        pieces.push_back(body.substr(pos, amp - pos));
        pos = amp + 1;
    }
    pieces.push_back(body.substr(pos));
    return pieces;
}

}  // namespace

FormBody::FormBody(std::string_view body, const std::vector<std::string_view>& fields) {
    for (std::string_view piece : SplitAll(body)) {
        const size_t eq = piece.find('=');
        const std::string_view name = piece.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : piece.substr(eq + 1);
        std::string decoded_name = GbkToUtf8(DecodeFormText(name));
        if (!fields.empty()) {
            const bool expected =
                std::find(fields.begin(), fields.end(), decoded_name) != fields.end();
            if (piece.empty() || !expected || Has(decoded_name)) {
                readable_ = false;
                pairs_.clear();
                raw_values_.clear();
                return;
            }
        } else if (piece.empty()) {
            continue;
        }
        pairs_.emplace_back(std::move(decoded_name), GbkToUtf8(DecodeFormText(value)));
        raw_values_.push_back(GbkToUtf8(value));
    }
}

std::string FormBody::Get(std::string_view name) const {
    for (const auto& [n, v] : pairs_) {
        if (n == name) return v;
    }
    return {};
}

std::string FormBody::Raw(std::string_view name) const {
    for (size_t i = 0; i < pairs_.size(); ++i) {
        if (pairs_[i].first == name) return raw_values_[i];
    }
    return {};
}

bool FormBody::Has(std::string_view name) const {
    for (const auto& pair : pairs_) {
        if (pair.first == name) return true;
    }
    return false;
}

std::string DecodeFormText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned v = 0;
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && ReadHex(text, i + 1, 2, v)) {
            out += static_cast<char>(v);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

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
