#pragma once
// The few text rules the platform needs of its own: the wire is GBK (code page 936), the
// store is UTF-8, and numbers in forms and queries are read the lenient way customers
// type them.
#include <string>
#include <string_view>
#include <vector>

namespace platformd {

// Each byte iconv cannot read as GBK becomes U+FFFD and reading goes on after it.
std::string GbkToUtf8(std::string_view gbk);

// Each character GBK cannot hold becomes "?", and so does each byte that is not UTF-8.
std::string Utf8ToGbk(std::string_view utf8);

// Full-width digits, signs and spaces count as their ASCII forms. Then optional spaces or
// tabs, an optional sign and the leading decimal digits; 0 when there are none. A value
// past the range of long long gives the nearest end of it.
long long ReadInteger(std::string_view text);

// The pieces between separators: an empty text has none, two separators in a row give an
// empty piece, and an empty piece after the last separator is dropped.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// Every `from`, left to right, replaced by `to`; replaced text is not searched again.
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

}  // namespace platformd
