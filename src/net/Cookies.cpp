#include "net/Cookies.h"

#include <algorithm>
#include <vector>

#include "net/Text.h"

namespace vpsdesk::net {
namespace {

void TidyCookieText(std::string& text) {
    text = TrimText(text);
    if (EndsWithText(text, ";")) text += " ";
}

}  // namespace

std::string CookieName(std::string_view item) {
    size_t eq = item.find('=');
    return TrimText(eq == std::string_view::npos ? item : item.substr(0, eq));
}

std::string ListRemoveDuplicates(std::string_view text, std::string_view separator) {
    std::vector<std::string> kept;
    for (std::string& item : SplitText(text, separator))
        if (std::find(kept.begin(), kept.end(), item) == kept.end())
            kept.push_back(std::move(item));
    return JoinText(kept, separator);
}

std::string CookieMerge(std::string& old_cookies, std::string& new_cookies) {
    TidyCookieText(old_cookies);
    TidyCookieText(new_cookies);
    std::vector<std::string> merged = SplitText(new_cookies, "; ");
    std::vector<std::string> names;
    for (const std::string& item : merged) names.push_back(CookieName(item));
    for (std::string& item : SplitText(old_cookies, "; ")) {
        std::string name = CookieName(item);
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        merged.push_back(std::move(item));
    }
    std::erase_if(merged, [](const std::string& item) { return EndsWithText(item, "=deleted"); });
    return ListRemoveDuplicates(JoinText(merged, "; "), "; ");
}

std::string CollectReplyCookies(std::string_view reply_headers) {
    std::string out;
    if (reply_headers.find("Set-Cookie") == std::string_view::npos) return out;  // most replies
    for (const std::string& line : SplitText(reply_headers, "\r\n")) {
        if (TextBefore(line, ": ") != "Set-Cookie") continue;
        std::string item = line.find(';') == std::string::npos
                               ? TrimText(ReplaceText(line, "Set-Cookie:", "", true))
                               : TrimText(TextBetween(line, "Set-Cookie:", ";"));
        out += item + "; ";
    }
    if (out.size() >= 2) out.resize(out.size() - 2);
    return out;
}

}  // namespace vpsdesk::net
