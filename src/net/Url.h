#pragma once
// Splitting a request URL the way the request engine addresses it.
#include <string>
#include <string_view>

namespace vpsdesk::net {

// The host in lower case, without the port unless `keep_port`. A URL without a scheme is
// taken as plain HTTP.
std::string UrlHost(std::string_view url, bool keep_port = false);
// The port written in the URL, else 443 for "https" URLs and 80 otherwise.
int UrlPort(std::string_view url);
// Everything from the first "/" after the host, query included, or "/".
std::string UrlPath(std::string_view url);
// The first 8 characters, lower-cased, are "https://".
bool IsSecureUrl(std::string_view url);

// All four at once, as the functions above give them.
struct UrlParts {
    std::string host;
    int port = 0;
    std::string path;
    bool secure = false;
};
UrlParts SplitUrl(std::string_view url);

}  // namespace vpsdesk::net
