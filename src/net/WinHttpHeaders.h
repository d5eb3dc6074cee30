#pragma once
// The header block of a WinHttpRequest, exactly as it goes on the wire (UTF-8 here).
#include <string>
#include <string_view>

#include "net/WinHttpRequest.h"

namespace vpsdesk::net {

// The caller's lines, the default lines the block lacks, tidied names, the keep-alive
// line taken out, and the caller's cookies.
std::string WinHttpHeaderBlock(const WinHttpRequestParams& params);

// Every line of the block is a header: a name without spaces or control bytes, a colon,
// and a value without bare line breaks or zero bytes. Empty lines are allowed.
bool IsSendableHeaderBlock(std::string_view block);

}  // namespace vpsdesk::net
