#pragma once
// A folder worked out once per process, which tests may override.
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

namespace vpsdesk::os {

class CachedFolder {
  public:
    explicit CachedFolder(std::function<std::filesystem::path()> compute)
        : compute_(std::move(compute)) {}

    std::filesystem::path Get() {
        std::lock_guard lock(mutex_);
        if (!folder_) folder_ = compute_();
        return *folder_;
    }

    // An empty path restores the computed folder.
    void Override(const std::filesystem::path& folder) {
        std::lock_guard lock(mutex_);
        if (folder.empty())
            folder_.reset();
        else
            folder_ = folder;
    }

  private:
    std::function<std::filesystem::path()> compute_;
    std::mutex mutex_;
    std::optional<std::filesystem::path> folder_;
};

}  // namespace vpsdesk::os
