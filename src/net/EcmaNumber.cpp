#include "net/EcmaNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace vpsdesk::net {

std::string EcmaNumberToString(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";  // also -0

    // The library's shortest round-trip form supplies the digits and the exponent; only
    // the layout differs from ECMAScript's.
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific);
    if (ec != std::errc()) return "NaN";  // cannot happen with 64 bytes
    std::string_view sci(buf, static_cast<size_t>(end - buf));
    size_t e_pos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e_pos))
        if (c != '.') digits += c;
    int exponent = std::atoi(std::string(sci.substr(e_pos + 1)).c_str());

    const int k = static_cast<int>(digits.size());
    const int n = exponent + 1;  // position of the decimal point after the first n digits
    std::string out = value < 0 ? "-" : "";
    if (k <= n && n <= 21) {
        out += digits;
        out.append(static_cast<size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        out += digits.substr(0, static_cast<size_t>(n));
        out += '.';
        out += digits.substr(static_cast<size_t>(n));
    } else if (-6 < n && n <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-n), '0');
        out += digits;
    } else {
        out += digits[0];
        if (k > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += n - 1 < 0 ? "e-" : "e+";
        out += std::to_string(std::abs(n - 1));
    }
    return out;
}

}  // namespace vpsdesk::net
