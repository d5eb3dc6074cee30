#include "RequestFraming.h"

#include <strings.h>

#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>

namespace platformd {

namespace {

bool EqualsNoCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

int RequestFraming::Check(const std::string& method, const httplib::Headers& headers,
                          std::size_t max_body) {
    auto lengths = headers.equal_range("Content-Length");
    auto codings = headers.equal_range("Transfer-Encoding");
    bool has_length = lengths.first != lengths.second;
    bool has_coding = codings.first != codings.second;
    if (has_length && has_coding) return 400;
    if (has_coding) {
        if (std::next(codings.first) != codings.second) return 400;
        if (!EqualsNoCase(codings.first->second, "chunked")) return 400;
    }
    std::uint64_t length = 0;
    for (auto it = lengths.first; it != lengths.second; ++it) {
        const std::string& text = it->second;
        std::uint64_t value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc::result_out_of_range) return 413;
        if (ec != std::errc() || end != text.data() + text.size()) return 400;
        if (it != lengths.first && value != length) return 400;
        length = value;
    }
    if (length > max_body) return 413;
    // httplib reads a body for these methods only; any other body would be taken for the
    // next request.
    bool reads_body = method == "POST" || method == "PUT" || method == "PATCH" ||
                      method == "DELETE" || method == "PRI";
    if (!reads_body && (has_coding || length > 0)) return 400;
    auto encodings = headers.equal_range("Content-Encoding");
    for (auto it = encodings.first; it != encodings.second; ++it) {
        if (!EqualsNoCase(it->second, "identity")) return 415;
    }
    return 0;
}

}  // namespace platformd
