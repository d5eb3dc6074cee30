#include "net/CurlShare.h"

#include <cstdlib>
#include <new>

namespace vpsdesk::net {

CurlShare& CurlShare::Instance() {
    static CurlShare* instance = new CurlShare();
    return *instance;
}

CurlShare::CurlShare() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) std::abort();
    share_ = curl_share_init();
    if (!share_) throw std::bad_alloc();
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlShare::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlShare::Unlock);
    // Connections are deliberately not shared: libcurl does not support one connection
    // cache used by concurrent threads. Each thread keeps its own (see WebRequest.cpp);
    // the shared TLS sessions make a new thread's first handshake a short resumption.
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

void CurlShare::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<CurlShare*>(self)->locks_.at(static_cast<size_t>(data)).lock();
}

void CurlShare::Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<CurlShare*>(self)->locks_.at(static_cast<size_t>(data)).unlock();
}

TlsSettings CurlShare::Tls() const {
    std::lock_guard<std::mutex> lock(tls_mutex_);
    return tls_;
}

void CurlShare::SetTls(const TlsSettings& settings) {
    std::lock_guard<std::mutex> lock(tls_mutex_);
    tls_ = settings;
}

RequestLimits CurlShare::Limits() const {
    return {std::chrono::milliseconds(connect_ms_.load()),
            std::chrono::milliseconds(stall_ms_.load())};
}

void CurlShare::SetLimits(const RequestLimits& limits) {
    connect_ms_.store(limits.connect.count());
    stall_ms_.store(limits.stall.count());
}

}  // namespace vpsdesk::net
