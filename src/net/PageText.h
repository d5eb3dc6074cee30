#pragma once
// An HTML reply as text: GBK unless the page declares another character set.
#include <string>

#include "net/ByteArray.h"

namespace vpsdesk::net {

// The character set a page's <meta ... charset=...> declares within its first 1024 bytes,
// as written there; empty when none is declared.
std::string DeclaredCharset(const ByteArray& bytes);

// The reply as GBK text, unless the page declares a character set that is neither exactly
// "gbk" nor exactly "gb2312" and iconv knows that name: then decoded from it. The text
// ends at its first zero character.
std::string PageText(const ByteArray& bytes);

}  // namespace vpsdesk::net
