#pragma once
// GBK (code page 936) is the platform's wire and file encoding; inside the program every
// text is UTF-8. These are the only two crossings.
#include <string>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::net {

// Decodes GBK bytes. An invalid or truncated sequence becomes U+FFFD and decoding goes on
// with the next byte, so no input can stop or loop the conversion.
std::string GbkToUtf8(std::string_view gbk);

// Encodes UTF-8 text as GBK. A character GBK cannot hold, and every byte of invalid UTF-8,
// becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

// Reply bytes to text: the bytes up to the first zero byte, decoded as GBK.
std::string ReplyText(const ByteArray& bytes);

}  // namespace vpsdesk::net
