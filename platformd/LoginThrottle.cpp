#include "LoginThrottle.h"

#include <algorithm>

namespace platformd {

namespace {

// Bounds the table: past this many sources, stale records are dropped.
constexpr std::size_t kSourceLimit = 10000;

}  // namespace

std::chrono::milliseconds LoginThrottle::Delay(const std::string& source, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    auto it = sources_.find(source);
    if (it == sources_.end() || now - it->second.last >= kMemory) return {};
    int over = it->second.failures - kFreeFailures;
    if (over < 0) return {};
    // Doubling from the first delay; the shift stays small enough not to overflow.
    auto delay = kFirstDelay * (1LL << std::min(over, 16));
    return std::min<std::chrono::milliseconds>(delay, kMaxDelay);
}

void LoginThrottle::Failed(const std::string& source, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (sources_.size() >= kSourceLimit) Forget(now);
    Record& r = sources_[source];
    if (now - r.last >= kMemory) r.failures = 0;
    ++r.failures;
    r.last = now;
}

void LoginThrottle::Forget(Clock::time_point now) {
    std::erase_if(sources_, [&](const auto& entry) { return now - entry.second.last >= kMemory; });
    // Still full of fresh records: an attack from many addresses. Start over rather than
    // grow; the oldest guesses lose their delay, nothing else.
    if (sources_.size() >= kSourceLimit) sources_.clear();
}

}  // namespace platformd
