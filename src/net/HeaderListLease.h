#pragma once
// The libcurl header list for one request. Platform requests send the same lines again and
// again, so each thread keeps the list of its last request and lends it to the next one
// that asks for the same lines; any other request builds its own.
#include <string>
#include <string_view>

#include "net/RequestHeaders.h"

namespace vpsdesk::net {

class HeaderListLease {
  public:
    // As ToCurlHeaders(block_gbk, agent_gbk, verb, drop_credentials).
    HeaderListLease(std::string_view block_gbk, std::string_view agent_gbk, HttpVerb verb,
                    bool drop_credentials);
    ~HeaderListLease();
    HeaderListLease(const HeaderListLease&) = delete;
    HeaderListLease& operator=(const HeaderListLease&) = delete;

    const CurlHeaders& Get() const { return *headers_; }

  private:
    struct Kept;
    Kept* kept_ = nullptr;  // the thread's list, or null for one of this request's own
    CurlHeaders own_;
    const CurlHeaders* headers_ = nullptr;
};

}  // namespace vpsdesk::net
