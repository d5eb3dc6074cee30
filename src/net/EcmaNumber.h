#pragma once
// ECMAScript's Number-to-String (String(x)): the text form of every number read from a
// JSON reply, so 1000 reads "1000", 12.50 reads "12.5" and 1e21 reads "1e+21".
#include <string>

namespace vpsdesk::net {

// The shortest decimal text that reads back to `value`, plain for 1e-7 <= |value| < 1e21
// and in exponent form ("1.5e-7", "1e+21") outside; -0 gives "0", NaN "NaN" and the
// infinities "Infinity" and "-Infinity".
std::string EcmaNumberToString(double value);

}  // namespace vpsdesk::net
