#include "ui/EventLog.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

#include "ui/MessageBoxes.h"

namespace vpsdesk::ui {
namespace {

const char* LogPath() {
    const char* path = std::getenv("VPSDESK_EVENT_LOG");
    return path && *path ? path : nullptr;
}

// The process's peak resident set so far, from /proc/self/status.
std::string PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::string digits;
            for (char c : line)
                if (c >= '0' && c <= '9') digits.push_back(c);
            return digits;
        }
    }
    return "0";
}

class FirstPaintFilter : public QObject {
  public:
    FirstPaintFilter(QWidget* window, std::string name) : QObject(window), name_(std::move(name)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
            LogEvent(name_ + " " + std::to_string(ns) + " " + PeakRssKb());
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    std::string name_;
};

}  // namespace

bool EventLogEnabled() {
    return LogPath() != nullptr;
}

void LogEvent(std::string_view line) {
    const char* path = LogPath();
    if (path == nullptr) return;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

void LogFirstPaint(QWidget* window, std::string_view name) {
    if (!EventLogEnabled() || window == nullptr) return;
    window->installEventFilter(new FirstPaintFilter(window, std::string(name)));
}

void ShowClientMessage(std::string_view text) {
    if (EventLogEnabled()) {
        LogEvent("message " + std::string(text));
        ui::ShowSelfClosingMessage(text, {}, 0);
        return;
    }
    ui::ShowPlainMessage(text);
}

}  // namespace vpsdesk::ui
