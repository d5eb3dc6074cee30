#pragma once
// Why a WinHttpRequest failed, and the status text it reports for each reason. The texts
// are part of the engine's interface: callers compare them, so they never change.
#include <string_view>

namespace vpsdesk::net {

enum class WinHttpFailure {
    Unsupported = 700,  // libcurl lacks HTTP(S)
    BadUrl = 701,       // the URL cannot be split into scheme, host, port and path
    Session = 702,      // no transfer handle, or the proxy address is unusable
    Connection = 703,   // the thread's connection cache cannot be had
    Request = 704,      // the verb or the URL was refused
    Timeouts = 705,     // the time-out does not fit (too many seconds)
    Credentials = 707,  // a user name or password cannot go into basic credentials
    Certificates = -1,  // the certificate settings cannot be applied
    Cookies = 708,      // the engine's own cookie handling cannot be switched off
    Redirects = 709,    // redirects cannot be switched off
    Headers = 710,      // the header block holds a line that is no header
    Send = 711,         // the request did not go out: refused, unknown host, bad certificate
    NoResponse = 712,   // the request went out and no reply came
    Read = 713,         // the reply began and its body was cut short
};

std::string_view WinHttpStatusText(WinHttpFailure failure);

}  // namespace vpsdesk::net
