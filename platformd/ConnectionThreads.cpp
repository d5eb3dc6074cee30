#include "ConnectionThreads.h"

namespace platformd {

void ConnectionThreads::enqueue(std::function<void()> fn) {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    jobs_.push_back(std::move(fn));
    // Each idle thread takes one job; start another only when they cannot cover the queue.
    if (jobs_.size() > idle_ && threads_.size() < max_threads_) {
        threads_.emplace_back([this] { Work(); });
    }
    wake_.notify_one();
}

void ConnectionThreads::shutdown() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& t : threads) t.join();
}

void ConnectionThreads::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty()) return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace platformd
