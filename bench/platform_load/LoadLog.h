#pragma once
// What the simulated customers saw: every request's latency by kind, and its failures.
// Customers on many threads record into one log.
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace load {

struct LatencySummary {
    std::size_t requests = 0;
    double p50_ms = 0;
    double p99_ms = 0;
    double max_ms = 0;
};

// Nearest-rank percentile `fraction` (0 < fraction <= 1) of `samples`; 0 when empty.
double Percentile(std::vector<double> samples, double fraction);
LatencySummary Summarise(const std::vector<double>& samples);

class LoadLog {
  public:
    // One request of `kind` that took `ms`; a non-empty `failure` says what was wrong.
    void Record(const std::string& kind, double ms, const std::string& failure = {});

    std::size_t Requests() const;
    std::size_t Errors() const;
    // The first failures, as recorded.
    std::vector<std::string> FirstFailures() const;
    LatencySummary All() const;
    // Every request but those of `kind`.
    LatencySummary AllBut(const std::string& kind) const;
    std::map<std::string, LatencySummary> ByKind() const;

    static constexpr std::size_t kKeptFailures = 10;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<double>> samples_;
    std::size_t errors_ = 0;
    std::vector<std::string> failures_;
};

}  // namespace load
