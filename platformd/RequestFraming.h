#pragma once
// Whether a request head says unambiguously where its body ends, and that the body is
// one this server will read. Checked before any body byte is read.
#include <httplib.h>

#include <cstddef>
#include <string>

namespace platformd {

class RequestFraming {
  public:
    // 0 when the head may be served; otherwise the status to refuse it with: 400 for
    // framing that two parsers could read differently (several lengths, a length beside
    // Transfer-Encoding, a coding other than chunked, a body on a method whose body is
    // never read), 413 for a declared length above `max_body`, 415 for a compressed body,
    // whose inflated size the length does not bound.
    static int Check(const std::string& method, const httplib::Headers& headers,
                     std::size_t max_body);
};

}  // namespace platformd
