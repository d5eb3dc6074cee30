#pragma once
// One request to the platform as a plain value, and what came back: every feature builds
// these, and one function sends them, so tests can answer them from a script instead.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::platform {

struct PlatformRequest {
    bool post = false;
    std::string path;  // under the base URL, query included
    std::string form;  // the form body, values as they stand (not URL-encoded)
    std::optional<bool> no_redirect;
    std::string headers;  // extra header lines joined by "\r\n"; empty for none

    // The path without its query: the name the reply reading goes by.
    std::string_view ReplyPath() const;
    bool operator==(const PlatformRequest&) const = default;
};

// The reply as text, and whether the network failed before the platform could answer
// (as opposed to the platform answering, whatever it said).
struct PlatformResponse {
    std::string text;
    bool network_failed = false;
};

// Sends `request` to the platform at `base_url` and waits: the reply decoded from GBK
// (empty when the request failed). Blocks the calling thread, which may be any.
PlatformResponse SendPlatformRequest(const PlatformRequest& request, std::string_view base_url);

}  // namespace vpsdesk::platform
