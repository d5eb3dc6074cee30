#include "net/ReplyStatus.h"

#include "net/Text.h"

namespace vpsdesk::net {

int ReplyStatus(std::string_view reply_headers) {
    if (!StartsWithText(reply_headers, "HTTP/", true)) return 0;
    const size_t space = reply_headers.find(' ');
    if (space == std::string_view::npos) return 0;
    int code = 0;
    size_t digits = 0;
    for (size_t i = space + 1;
         i < reply_headers.size() && reply_headers[i] >= '0' && reply_headers[i] <= '9'; ++i) {
        if (++digits > 3) return 0;
        code = code * 10 + (reply_headers[i] - '0');
    }
    return digits == 3 ? code : 0;
}

}  // namespace vpsdesk::net
