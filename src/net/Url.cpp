#include "net/Url.h"

#include <utility>

#include "net/Text.h"

namespace vpsdesk::net {

namespace {

std::string HostWithPort(std::string_view url) {
    std::string lowered = AsciiLower(url);
    if (!EndsWithText(lowered, "/")) lowered += "/";
    if (StartsWithText(lowered, "https://")) return TextBetween(lowered, "https://", "/");
    // Only a leading scheme counts: "http://" further on is part of the path or query.
    if (!StartsWithText(lowered, "http://")) lowered = "http://" + lowered;
    return TextBetween(lowered, "http://", "/");
}

std::string WithoutPort(std::string host) {
    size_t colon = host.find(':');
    if (colon != std::string::npos) host.resize(colon);
    return host;
}

int PortOf(std::string_view url, std::string_view host_with_port) {
    long colon = FindTextBackwards(host_with_port, ":", -1);
    if (colon < 0) return IsSecureUrl(url) ? 443 : 80;
    long long port = TextToInt(host_with_port.substr(static_cast<size_t>(colon)));
    // Out-of-range ports cannot be connected to; 0 makes the request fail cleanly.
    return (port < 0 || port > 65535) ? 0 : static_cast<int>(port);
}

std::string PathAfter(std::string_view url, std::string_view host) {
    // The host is looked for after the scheme, so that a host such as "h" or "s" is not
    // found inside "https://".
    long after_scheme = StartsWithText(url, "https://", true)  ? 9
                        : StartsWithText(url, "http://", true) ? 8
                                                               : 1;
    long at = FindText(url, host, after_scheme, true);
    long slash = FindText(url, "/", at < 1 ? 1 : at, true);
    if (at < 0 || slash < 0) return "/";
    return std::string(url.substr(static_cast<size_t>(slash - 1)));
}

}  // namespace

std::string UrlHost(std::string_view url, bool keep_port) {
    std::string host = HostWithPort(url);
    return keep_port ? host : WithoutPort(std::move(host));
}

int UrlPort(std::string_view url) {
    return PortOf(url, HostWithPort(url));
}

std::string UrlPath(std::string_view url) {
    return PathAfter(url, WithoutPort(HostWithPort(url)));
}

UrlParts SplitUrl(std::string_view url) {
    UrlParts parts;
    const std::string host_with_port = HostWithPort(url);
    parts.host = WithoutPort(host_with_port);
    parts.port = PortOf(url, host_with_port);
    parts.path = PathAfter(url, parts.host);
    parts.secure = IsSecureUrl(url);
    return parts;
}

bool IsSecureUrl(std::string_view url) {
    return AsciiLower(url.substr(0, 8)) == "https://";
}

}  // namespace vpsdesk::net
