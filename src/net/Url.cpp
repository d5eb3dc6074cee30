#include "net/Url.h"

#include "net/Text.h"

namespace vpsdesk::net {

std::string UrlHost(std::string_view url, bool keep_port) {
    std::string lowered = AsciiLower(url);
    if (!EndsWithText(lowered, "/")) lowered += "/";
    std::string host;
    if (StartsWithText(lowered, "https://")) {
        host = TextBetween(lowered, "https://", "/");
    } else {
        // Only a leading scheme counts: "http://" further on is part of the path or query.
        if (!StartsWithText(lowered, "http://")) lowered = "http://" + lowered;
        host = TextBetween(lowered, "http://", "/");
    }
    if (!keep_port) {
        size_t colon = host.find(':');
        if (colon != std::string::npos) host.resize(colon);
    }
    return host;
}

int UrlPort(std::string_view url) {
    std::string host = UrlHost(url, true);
    long colon = FindTextBackwards(host, ":", -1);
    if (colon < 0) return IsSecureUrl(url) ? 443 : 80;
    long long port = TextToInt(std::string_view(host).substr(static_cast<size_t>(colon)));
    // Out-of-range ports cannot be connected to; 0 makes the request fail cleanly.
    return (port < 0 || port > 65535) ? 0 : static_cast<int>(port);
}

std::string UrlPath(std::string_view url) {
    // The host is looked for after the scheme, so that a host such as "h" or "s" is not
    // found inside "https://".
    long after_scheme = StartsWithText(url, "https://", true)  ? 9
                        : StartsWithText(url, "http://", true) ? 8
                                                               : 1;
    long at = FindText(url, UrlHost(url, false), after_scheme, true);
    long slash = FindText(url, "/", at < 1 ? 1 : at, true);
    if (at < 0 || slash < 0) return "/";
    return std::string(url.substr(static_cast<size_t>(slash - 1)));
}

bool IsSecureUrl(std::string_view url) {
    return AsciiLower(url.substr(0, 8)) == "https://";
}

}  // namespace vpsdesk::net
