#include "net/EasyLease.h"

namespace vpsdesk::net {
namespace {

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// Leaves the handle holding nothing of the transfer it ran. The list of cookie files that
// CURLOPT_COOKIEFILE keeps is freed by switching the store off first: libcurl 7.88's
// curl_easy_reset forgets that list without freeing it.
void Clear(CURL* easy) {
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, nullptr);
    curl_easy_reset(easy);
}

}  // namespace

void EasyLease::EasyDeleter::operator()(CURL* easy) const {
    Clear(easy);
    curl_easy_cleanup(easy);
}

struct EasyLease::Thread {
    std::unique_ptr<CURLM, MultiDeleter> multi{curl_multi_init()};
    std::unique_ptr<CURL, EasyDeleter> easy;  // declared after `multi`: destroyed first
    bool busy = false;
};

EasyLease::Thread& EasyLease::ThisThread() {
    thread_local Thread handles;
    return handles;
}

EasyLease::EasyLease() : thread_(ThisThread()) {
    if (thread_.busy) {
        spare_.reset(curl_easy_init());
        easy_ = spare_.get();
        return;
    }
    if (!thread_.easy) thread_.easy.reset(curl_easy_init());
    easy_ = thread_.easy.get();
    thread_.busy = easy_ != nullptr;
}

EasyLease::~EasyLease() {
    if (spare_ || !easy_) return;
    thread_.busy = false;
    if (discard_)
        thread_.easy.reset();
    else
        Clear(easy_);
}

CURLM* EasyLease::Connections() const {
    return thread_.multi.get();
}

}  // namespace vpsdesk::net
