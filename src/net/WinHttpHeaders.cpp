#include "net/WinHttpHeaders.h"

#include <array>
#include <utility>

#include "net/HeaderNames.h"
#include "net/Text.h"

namespace vpsdesk::net {
namespace {

// Searched for (case-insensitive), and the line added when the search fails, in order.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kDefaultLines = {{
    {"User-Agent: ",
     "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*"},
    {"Accept-Encoding: ", "Accept-Encoding: identity"},
    {"Accept-Language: ", "Accept-Language: zh-cn"},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded"},
    {"Cache-Control: ", "Cache-Control: no-cache"},
}};

bool HasLineNamed(std::string_view block, std::string_view name) {
    for (const std::string& line : SplitText(block, "\r\n"))
        if (StartsWithText(line, name, true)) return true;
    return false;
}

// A persistent connection is libcurl's business; a "keep-alive" line (in this exact case)
// from the caller is taken out, as long as the first Connection line says so.
std::string WithoutKeepAlive(std::string block) {
    if (!ContainsText(block, "Connection")) return block;
    for (const std::string& line : SplitText(block, "\r\n")) {
        if (!StartsWithText(line, "Connection")) continue;
        constexpr std::string_view kPrefix = "Connection: ";
        if (StartsWithText(line, kPrefix) && line.substr(kPrefix.size()) == "keep-alive")
            return ReplaceText(block, "Connection: keep-alive\r\n", "");
        break;
    }
    return block;
}

bool IsNameByte(unsigned char c) {
    return c > 0x20 && c != 0x7F && c != ':';
}

std::string BuildBlock(const WinHttpRequestParams& params) {
    std::string block = params.headers.empty() ? std::string() : params.headers + "\r\n";
    if (params.default_headers) {
        for (const auto& [searched, line] : kDefaultLines) {
            if (searched == "Content-Type:" && params.method != HttpVerb::Post) continue;
            if (!ContainsText(block, searched, true)) block.append(line).append("\r\n");
        }
    }
    if (params.normalize_headers) block = NormalizeHeaderNames(block);
    block = WithoutKeepAlive(std::move(block));

    const std::string cookies = params.cookies_in ? *params.cookies_in : std::string();
    if (!cookies.empty() && !HasLineNamed(block, "Cookie:")) {
        block.append(ContainsText(cookies, "Cookie:", true) ? "\r\n" : "\r\nCookie: ")
            .append(cookies)
            .append("\r\n");
    }
    return block;
}

}  // namespace

std::string WinHttpHeaderBlock(const WinHttpRequestParams& params) {
    // Callers send the same lines again and again; each thread keeps its last block.
    struct Last {
        std::string headers, cookies, block;
        bool default_headers = false, normalize_headers = false, post = false, valid = false;
    };
    thread_local Last last;
    const std::string_view cookies = params.cookies_in ? *params.cookies_in : std::string_view();
    const bool post = params.method == HttpVerb::Post;
    if (!last.valid || last.headers != params.headers || last.cookies != cookies ||
        last.default_headers != params.default_headers ||
        last.normalize_headers != params.normalize_headers || last.post != post) {
        last.valid = false;  // stays so if building throws half-way
        last.block = BuildBlock(params);
        last.headers = params.headers;
        last.cookies = cookies;
        last.default_headers = params.default_headers;
        last.normalize_headers = params.normalize_headers;
        last.post = post;
        last.valid = true;
    }
    return last.block;
}

bool IsSendableHeaderBlock(std::string_view block) {
    for (const std::string& line : SplitText(block, "\r\n")) {
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0) return false;
        for (size_t i = 0; i < colon; ++i)
            if (!IsNameByte(static_cast<unsigned char>(line[i]))) return false;
        if (line.find_first_of(std::string_view("\r\n\0", 3), colon) != std::string::npos)
            return false;
    }
    return true;
}

}  // namespace vpsdesk::net
