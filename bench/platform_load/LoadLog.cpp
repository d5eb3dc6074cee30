#include "LoadLog.h"

#include <algorithm>
#include <cmath>

namespace load {

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

LatencySummary Summarise(const std::vector<double>& samples) {
    LatencySummary s;
    s.requests = samples.size();
    s.p50_ms = Percentile(samples, 0.50);
    s.p99_ms = Percentile(samples, 0.99);
    s.max_ms = samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
    return s;
}

void LoadLog::Record(const std::string& kind, double ms, const std::string& failure) {
    std::lock_guard lock(mutex_);
    samples_[kind].push_back(ms);
    if (failure.empty()) return;
    ++errors_;
    if (failures_.size() < kKeptFailures) failures_.push_back(kind + ": " + failure);
}

std::size_t LoadLog::Requests() const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (const auto& [kind, samples] : samples_) n += samples.size();
    return n;
}

std::size_t LoadLog::Errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
}

std::vector<std::string> LoadLog::FirstFailures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

LatencySummary LoadLog::All() const {
    return AllBut({});
}

LatencySummary LoadLog::AllBut(const std::string& left_out) const {
    std::lock_guard lock(mutex_);
    std::vector<double> all;
    for (const auto& [kind, samples] : samples_) {
        if (kind != left_out) all.insert(all.end(), samples.begin(), samples.end());
    }
    return Summarise(all);
}

std::map<std::string, LatencySummary> LoadLog::ByKind() const {
    std::lock_guard lock(mutex_);
    std::map<std::string, LatencySummary> out;
    for (const auto& [kind, samples] : samples_) out[kind] = Summarise(samples);
    return out;
}

}  // namespace load
