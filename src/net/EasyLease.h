#pragma once
// The calling thread's libcurl handles, lent to one transfer at a time. Each thread keeps
// its own connection cache (a multi handle): libcurl does not support one cache used by
// concurrent threads. The easy handle is reused too, reset between transfers, which spares
// every request building one afresh.
#include <curl/curl.h>

#include <memory>

namespace vpsdesk::net {

class EasyLease {
  public:
    // The thread's easy handle, or a throwaway one while the thread's is inside a transfer
    // (a request made from one of its callbacks must not reset it under libcurl's feet).
    // Easy() is null when libcurl could not make a handle.
    EasyLease();
    ~EasyLease();
    EasyLease(const EasyLease&) = delete;
    EasyLease& operator=(const EasyLease&) = delete;

    CURL* Easy() const { return easy_; }
    CURLM* Connections() const;

    // The handle took state that curl_easy_reset keeps: it goes after this transfer.
    void Discard() { discard_ = true; }

  private:
    struct EasyDeleter {
        void operator()(CURL* easy) const;
    };
    struct Thread;
    static Thread& ThisThread();

    Thread& thread_;
    std::unique_ptr<CURL, EasyDeleter> spare_;
    CURL* easy_ = nullptr;
    bool discard_ = false;
};

}  // namespace vpsdesk::net
