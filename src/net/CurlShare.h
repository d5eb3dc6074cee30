#pragma once
// The libcurl state that every request of the process shares: the cookie store, the DNS
// cache and the TLS session cache, the TLS trust settings and the cancel flag.
#include <curl/curl.h>

#include <array>
#include <atomic>
#include <mutex>

#include "net/WebRequest.h"

namespace vpsdesk::net {

class CurlShare {
  public:
    // Created on first use and never destroyed: workers may still be inside a request
    // while the process exits.
    static CurlShare& Instance();

    CURLSH* Handle() const { return share_; }

    TlsSettings Tls() const;
    void SetTls(const TlsSettings& settings);

    RequestLimits Limits() const;
    void SetLimits(const RequestLimits& limits);

    // A lock-free store, so a signal handler may call it.
    void CancelAll() { cancelled_.store(true); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    CurlShare(const CurlShare&) = delete;
    CurlShare& operator=(const CurlShare&) = delete;

  private:
    CurlShare();
    ~CurlShare() = default;

    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self);
    static void Unlock(CURL*, curl_lock_data data, void* self);

    CURLSH* share_ = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
    mutable std::mutex tls_mutex_;
    TlsSettings tls_;
    std::atomic<bool> cancelled_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<long long> connect_ms_{RequestLimits{}.connect.count()};
    std::atomic<long long> stall_ms_{RequestLimits{}.stall.count()};
};

}  // namespace vpsdesk::net
