#include "net/HeaderListLease.h"

namespace vpsdesk::net {

struct HeaderListLease::Kept {
    std::string block_gbk;
    std::string agent_gbk;
    HttpVerb verb = HttpVerb::Get;
    bool drop_credentials = false;
    CurlHeaders headers;
    bool lent = false;  // a request made while another is under way builds its own
};

HeaderListLease::HeaderListLease(std::string_view block_gbk, std::string_view agent_gbk,
                                 HttpVerb verb, bool drop_credentials) {
    thread_local Kept kept;
    if (kept.lent) {
        own_ = ToCurlHeaders(block_gbk, std::string(agent_gbk), verb, drop_credentials);
        headers_ = &own_;
        return;
    }
    if (!kept.headers.list || kept.block_gbk != block_gbk || kept.agent_gbk != agent_gbk ||
        kept.verb != verb || kept.drop_credentials != drop_credentials) {
        // Emptied first, so that a failure half-way leaves no list under the wrong key.
        kept.headers = CurlHeaders();
        kept.block_gbk = block_gbk;
        kept.agent_gbk = agent_gbk;
        kept.verb = verb;
        kept.drop_credentials = drop_credentials;
        kept.headers = ToCurlHeaders(block_gbk, std::string(agent_gbk), verb, drop_credentials);
    }
    kept.lent = true;
    kept_ = &kept;
    headers_ = &kept.headers;
}

HeaderListLease::~HeaderListLease() {
    if (kept_) kept_->lent = false;
}

}  // namespace vpsdesk::net
