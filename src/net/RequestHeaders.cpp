#include "net/RequestHeaders.h"

#include <new>
#include <vector>

#include "net/HeaderNames.h"
#include "net/Text.h"

namespace vpsdesk::net {
namespace {

constexpr std::string_view kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

bool IsCurlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsNamed(std::string_view line, std::string_view name_with_colon) {
    return StartsWithText(line, name_with_colon, true);
}

// libcurl sends a header list entry only when it has a name, a colon and a value that
// is not blank; anything else it drops silently (or reads as a removal).
bool CurlSendsAsIs(std::string_view line) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    for (size_t i = colon + 1; i < line.size(); ++i)
        if (!IsCurlSpace(line[i])) return true;
    return false;
}

}  // namespace

RequestHeaders BuildHeaders(std::string_view url, HttpVerb verb, const WebRequestOptions& options) {
    RequestHeaders out;
    std::string& block = out.block;
    block = options.headers.value_or("");
    if (options.normalize_headers.value_or(true)) block = NormalizeHeaderNames(block);

    if (ContainsText(block, "User-Agent:", true)) {
        out.agent = TrimText(TextBetween(block + "\r\n", "User-Agent:", "\r\n"));
        if (out.agent.empty()) {
            size_t colon = block.find(':');
            if (colon != std::string::npos) out.agent = TrimText(block.substr(colon + 1));
        }
        // A header value never spans lines.
        out.agent = out.agent.substr(0, out.agent.find_first_of("\r\n"));
    } else {
        out.agent = kDefaultAgent;
    }

    if (options.default_headers.value_or(true)) {
        auto has = [&block](std::string_view name) { return ContainsText(block, name, true); };
        if (block.empty()) block = "Accept: */*";
        if (!has("Accept:")) block += "\r\nAccept: */*";
        if (!has("Referer:")) block.append("\r\nReferer: ").append(url);
        if (!has("Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
        if (verb == HttpVerb::Post && !has("Content-Type:"))
            block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }

    const std::string& cookies = options.cookies_in ? *options.cookies_in : std::string();
    if (!cookies.empty())
        block.append(ContainsText(cookies, "Cookie:") ? "\r\n" : "\r\nCookie: ").append(cookies);
    return out;
}

CurlHeaders ToCurlHeaders(std::string_view block_gbk, std::string agent_gbk, HttpVerb verb,
                          bool drop_credentials) {
    std::vector<std::string> entries;
    std::string leading;  // unsendable lines before the first entry that can carry them
    size_t carrier = std::string::npos;
    bool has_agent = false;
    for (std::string& line : SplitText(block_gbk, "\r\n")) {
        if (line.empty()) continue;
        if (IsNamed(line, "User-Agent:")) has_agent = true;
        if (drop_credentials && (IsNamed(line, "Cookie:") || IsNamed(line, "Authorization:")))
            continue;
        if (!CurlSendsAsIs(line)) {
            if (carrier != std::string::npos)
                entries[carrier].append("\r\n").append(line);
            else
                leading.append(line).append("\r\n");
            continue;
        }
        // libcurl moves or replaces these two, so they cannot carry other lines.
        bool can_carry = !IsNamed(line, "Host:") && !IsNamed(line, "Content-Length:");
        if (can_carry) {
            line.insert(0, leading);
            leading.clear();
            carrier = entries.size();
        }
        entries.push_back(std::move(line));
    }
    if (!leading.empty() && !has_agent) {
        leading.resize(leading.size() - 2);
        agent_gbk.append("\r\n").append(leading);
    }

    // Blank entries only stop libcurl from adding its own line of that name.
    entries.emplace_back("Accept:");
    entries.emplace_back("Expect:");
    entries.emplace_back("Proxy-Connection:");
    if (verb != HttpVerb::Get) entries.emplace_back("Content-Type:");
    if (has_agent) entries.emplace_back("User-Agent:");

    CurlHeaders out;
    out.agent = std::move(agent_gbk);
    for (const std::string& entry : entries) {
        curl_slist* grown = curl_slist_append(out.list.get(), entry.c_str());
        if (!grown) throw std::bad_alloc();
        if (!out.list) out.list.reset(grown);  // later appends keep the same head
    }
    return out;
}

}  // namespace vpsdesk::net
