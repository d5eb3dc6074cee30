#pragma once
// The server's task queue: a thread per connection, started when every running one is
// busy, up to a cap. A connection keeps its thread while it is open, so a fixed pool lets
// a handful of slow or idle clients hold every worker; here they only hold their own.
#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platformd {

class ConnectionThreads : public httplib::TaskQueue {
  public:
    explicit ConnectionThreads(std::size_t max_threads) : max_threads_(max_threads) {}
    ~ConnectionThreads() override { shutdown(); }
    ConnectionThreads(const ConnectionThreads&) = delete;
    ConnectionThreads& operator=(const ConnectionThreads&) = delete;

    void enqueue(std::function<void()> fn) override;
    // Runs what is queued, then joins every thread.
    void shutdown() override;

  private:
    void Work();

    const std::size_t max_threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace platformd
