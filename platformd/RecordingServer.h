#pragma once
// cpp-httplib's SSLServer with its connection loop replaced by one that keeps the bytes
// each request arrived as. httplib files headers in a sorted map, which loses their order
// and spelling; the request log and the tests that check the client's header blocks need
// the lines exactly as sent. Parsing, routing and replies stay httplib's.
//
// The loop also holds the connection to a server's limits: the TLS handshake and each
// request head must arrive within the head time; a head or body over its size is refused
// without being read on; and after a request it could not frame, the connection closes,
// so leftover bytes are never taken for a request of their own.
#include <httplib.h>

#include <chrono>
#include <string>

namespace platformd {

class RecordingServer : public httplib::SSLServer {
  public:
    RecordingServer(X509* cert, EVP_PKEY* key);
    ~RecordingServer() override;
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;

    // Stops listening and ends every connection's wait for its next request at once.
    void Stop();

    // The raw bytes (request line, header lines, body) of the request that the calling
    // handler thread is serving.
    static const std::string& CurrentRawRequest();
    void SetHeadTimeout(std::chrono::milliseconds timeout) { head_timeout_ = timeout; }

  private:
    bool process_and_close_socket(socket_t sock) override;
    HandlerResponse BeforeBody(const httplib::Request& req, httplib::Response& res);
    HandlerResponse OnError(httplib::Response& res);

    std::chrono::milliseconds head_timeout_{10000};
    // Readable once Stop() ran: the connections wait on it beside their sockets, so an idle
    // one sleeps until its client sends or the server stops, without waking in between.
    int wake_fd_ = -1;
};

}  // namespace platformd
