#pragma once
// The status code of a reply, read from the header block WebRequest hands back.
#include <string_view>

namespace vpsdesk::net {

// The code of the status line that starts `reply_headers`, such as "HTTP/1.1 200 OK" or
// "HTTP/2 404"; 0 when the block does not start with one (no reply came at all).
int ReplyStatus(std::string_view reply_headers);

}  // namespace vpsdesk::net
