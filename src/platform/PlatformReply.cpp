#include "platform/PlatformReply.h"

#include <array>

#include "net/EcmaEscape.h"
#include "net/Gbk.h"
#include "net/Text.h"
#include "net/Url.h"

namespace vpsdesk::platform {

bool ReplyCarriesEscapes(std::string_view request_path) {
    static constexpr std::array<std::string_view, 3> kPaths = {
        "/user/loginpost", "/user/khdloginpd", "/user/data/Register?act=yzm"};
    std::string path = net::StartsWithText(request_path, "http", true) ? net::UrlPath(request_path)
                                                                       : std::string(request_path);
    for (std::string_view p : kPaths)
        if (path == p) return true;
    return false;
}

std::string ReadPlatformReply(const net::ByteArray& reply, std::string_view request_path) {
    std::string text = net::ReplyText(reply);
    if (ReplyCarriesEscapes(request_path)) text = net::DecodeUnicodeEscapes(text);
    return text;
}

}  // namespace vpsdesk::platform
