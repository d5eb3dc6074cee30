#pragma once
// Turning a platform reply into text. Result codes, data documents and status documents
// are then read by each feature from this text.
#include <string>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::platform {

// True for the request paths whose replies carry "\u" escapes: the two logins and the
// registration code request.
bool ReplyCarriesEscapes(std::string_view request_path);

// The reply bytes up to the first zero byte, decoded from GBK; for the paths above the
// "\u" escapes are decoded too. `request_path` is the path under the base URL, e.g.
// "/user/loginpost"; a full URL is accepted as well.
std::string ReadPlatformReply(const net::ByteArray& reply, std::string_view request_path);

}  // namespace vpsdesk::platform
