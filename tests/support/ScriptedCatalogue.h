#pragma once
// A stand-in for the platform behind the shop's requests: a reply per path (and form, when
// one path is asked twice with different bodies), and a record of what was sent, in order.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shop/CatalogueRequest.h"

namespace vpsdesk::test {

class ScriptedCatalogue {
  public:
    // The reply to `path`, or to `path` with exactly `form` when one is given.
    void Reply(std::string path, std::string text, std::string form = {}) {
        replies_[{std::move(path), std::move(form)}] = std::move(text);
    }
    void FailNetwork() { network_failed_ = true; }

    shop::CatalogueSender Sender() {
        return [this](const shop::CatalogueRequest& request) {
            sent_.push_back(request);
            shop::CatalogueReply reply;
            reply.network_failed = network_failed_;
            if (auto it = replies_.find({request.path, request.form}); it != replies_.end())
                reply.text = it->second;
            else if (auto any = replies_.find({request.path, ""}); any != replies_.end())
                reply.text = any->second;
            return reply;
        };
    }

    const std::vector<shop::CatalogueRequest>& Sent() const { return sent_; }
    // "POST /path form" per request, for comparing the whole sequence at once.
    std::vector<std::string> SentLines() const {
        std::vector<std::string> lines;
        for (const auto& r : sent_)
            lines.push_back((r.post ? "POST " : "GET ") + r.path + (r.post ? " " + r.form : ""));
        return lines;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string> replies_;
    std::vector<shop::CatalogueRequest> sent_;
    bool network_failed_ = false;
};

}  // namespace vpsdesk::test
