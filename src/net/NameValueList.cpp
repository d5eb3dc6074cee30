#include "net/NameValueList.h"

#include <algorithm>

#include "net/Gbk.h"
#include "net/Text.h"

namespace vpsdesk::net {

std::string PercentEncodeForm(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == 0) continue;
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.' || c == '_' || c == '\'' || c == '(' || c == ')' ||
                    c == '*';
        if (keep) {
            out.push_back(ch);
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out += UpperHex(std::string_view(&ch, 1));
        }
    }
    return out;
}

void NameValueList::Add(std::string_view name, std::string_view value, bool utf8) {
    entries_.push_back({std::string(name), std::string(value), utf8});
}

std::string NameValueList::BuildForm(bool encode) const {
    std::string out;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i) out += '&';
        const Entry& e = entries_[i];
        out += encode ? PercentEncodeForm(e.name) : e.name;
        out += '=';
        out += encode ? PercentEncodeForm(e.value) : e.value;
    }
    return out;
}

ByteArray NameValueList::BuildFormBytes(bool encode) const {
    std::string out;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i) out += '&';
        const Entry& e = entries_[i];
        std::string pair = (encode ? PercentEncodeForm(e.name) : e.name) + "=" +
                           (encode ? PercentEncodeForm(e.value) : e.value);
        out += e.utf8 ? pair : Utf8ToGbk(pair);
    }
    return ToBytes(out);
}

std::string NameValueList::BuildHeaders(bool encode) const {
    std::string out;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i) out += "\r\n";
        const Entry& e = entries_[i];
        out += e.name + ": " + (encode ? PercentEncodeForm(e.value) : e.value);
    }
    return out;
}

std::string NameValueList::BuildJson() const {
    std::string out = "{";
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i) out += ',';
        out += "\"" + entries_[i].name + "\":\"" + ReplaceText(entries_[i].value, "\"", "\\\"") +
               "\"";
    }
    return out + "}";
}

std::string NameValueList::Get(std::string_view name) const {
    for (const Entry& e : entries_)
        if (e.name == name) return e.value;
    return {};
}

void NameValueList::Set(std::string_view name, std::string_view value) {
    for (Entry& e : entries_) {
        if (e.name == name) {
            e.value = value;
            return;
        }
    }
    Add(name, value);
}

void NameValueList::Remove(std::string_view name) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.name == name; });
    if (it != entries_.end()) entries_.erase(it);
}

void NameValueList::Clear() { entries_.clear(); }

std::vector<std::string> NameValueList::Names() const {
    std::vector<std::string> out;
    for (const Entry& e : entries_) out.push_back(e.name);
    return out;
}

std::vector<std::string> NameValueList::Values() const {
    std::vector<std::string> out;
    for (const Entry& e : entries_) out.push_back(e.value);
    return out;
}

void NameValueList::LoadForm(std::string_view text, bool utf8) {
    for (const std::string& piece : SplitText(text, "&")) {
        size_t eq = piece.find('=');
        if (eq == std::string::npos) Add("", piece, utf8);
        else Add(std::string_view(piece).substr(0, eq), std::string_view(piece).substr(eq + 1), utf8);
    }
}

}  // namespace vpsdesk::net
