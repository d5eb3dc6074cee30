#include "app/gui/NoticeTicker.h"

#include <atomic>
#include <memory>
#include <utility>

#include "app/NoticeText.h"
#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

std::atomic<unsigned>& CurrentGeneration() {
    static std::atomic<unsigned>* generation = new std::atomic<unsigned>(0);
    return *generation;
}

}  // namespace

NoticeTicker::NoticeTicker(platform::SessionState& session, NoticeTickerSteps steps,
                           std::chrono::milliseconds step, int steps_per_line)
    : session_(session),
      steps_(std::move(steps)),
      step_(step),
      steps_per_line_(steps_per_line),
      loop_(session, CurrentGeneration()) {}

bool NoticeTicker::Retired() const {
    return loop_.Retired();
}

bool NoticeTicker::WaitLine() const {
    for (int i = 0; i < steps_per_line_; ++i) {
        if (Retired()) return false;
        ui::WaitPumping(step_.count(), ui::WaitUnit::Milliseconds);
    }
    return !Retired();
}

void NoticeTicker::Run() {
    while (!Retired()) {
        steps_.show_line(std::string(kNoticeTip));
        if (!WaitLine()) return;
        // Fetched every cycle, so a changed notice shows from the next cycle on.
        for (const std::string& line : NoticeEntries(steps_.fetch())) {
            if (Retired()) return;
            steps_.show_line(line);
            if (!WaitLine()) return;
        }
    }
}

void StartNoticeTicker(platform::SessionState& session, const platform::SiteConstants& site,
                       std::function<void(const std::string&)> show_line) {
    NoticeTickerSteps steps;
    steps.fetch = [site] { return FetchNoticeText(site); };
    steps.show_line = [show = std::move(show_line)](const std::string& line) {
        ui::OnUiThread([&] { show(line); });
    };
    auto ticker = std::make_shared<NoticeTicker>(session, std::move(steps));
    ui::RunInBackground([ticker] { ticker->Run(); });
}

}  // namespace vpsdesk::app
