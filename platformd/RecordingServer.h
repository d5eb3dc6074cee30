#pragma once
// cpp-httplib's SSLServer with its connection loop replaced by one that keeps the bytes
// each request arrived as. httplib files headers in a sorted map, which loses their order
// and spelling; the request log and the tests that check the client's header blocks need
// the lines exactly as sent. Parsing, routing and replies stay httplib's.
#include <httplib.h>

#include <string>

namespace platformd {

class RecordingServer : public httplib::SSLServer {
  public:
    RecordingServer(X509* cert, EVP_PKEY* key) : httplib::SSLServer(cert, key) {}

    // The raw bytes (request line, header lines, body) of the request that the calling
    // handler thread is serving.
    static const std::string& CurrentRawRequest();

  private:
    bool process_and_close_socket(socket_t sock) override;
};

}  // namespace platformd
