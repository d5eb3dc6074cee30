#include "net/ThreadConverter.h"

#include <cstring>
#include <memory>
#include <vector>

namespace vpsdesk::net {
namespace {

const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

}  // namespace

struct ThreadConverter::Kept {
    Kept(const char* to_name, const char* from_name, iconv_t open)
        : to(to_name), from(from_name), cd(open) {}
    ~Kept() { iconv_close(cd); }
    Kept(const Kept&) = delete;
    Kept& operator=(const Kept&) = delete;

    const char* to;
    const char* from;
    iconv_t cd;
    bool lent = true;
};

ThreadConverter::ThreadConverter(const char* to, const char* from) {
    // Kept by address, so that lending one out survives the list growing.
    thread_local std::vector<std::unique_ptr<Kept>> kept;
    for (const std::unique_ptr<Kept>& k : kept) {
        if (std::strcmp(k->to, to) != 0 || std::strcmp(k->from, from) != 0) continue;
        if (k->lent) break;
        iconv(k->cd, nullptr, nullptr, nullptr, nullptr);
        k->lent = true;
        kept_ = k.get();
        cd_ = k->cd;
        return;
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == kFailed) return;
    cd_ = cd;
    for (const std::unique_ptr<Kept>& k : kept)
        if (std::strcmp(k->to, to) == 0 && std::strcmp(k->from, from) == 0) return;
    kept.push_back(std::make_unique<Kept>(to, from, cd));
    kept_ = kept.back().get();
}

ThreadConverter::~ThreadConverter() {
    if (kept_)
        kept_->lent = false;
    else if (cd_)
        iconv_close(cd_);
}

}  // namespace vpsdesk::net
