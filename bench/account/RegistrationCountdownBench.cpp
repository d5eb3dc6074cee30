// How long the UI thread goes without handling events while the registration page's code
// countdown runs: the send button's click, the code request to the platform on loopback,
// then the 60 captions its own thread hands to the UI thread. A 5 ms timer probes the
// event loop and keeps the largest gap between two of its ticks; the target is under 16 ms
// (one frame at 60 Hz). The same probe with the page idle shows what the machine itself adds.
// The default tick is longer than the target, so a countdown that slept on the UI thread
// would show in the figure.
//
//   registration_bench [countdowns] [tick_ms]   (default 5 countdowns of 60 ticks of 20 ms;
//                                                 offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LocalPlatform.h"
#include "account/Registration.h"
#include "account/gui/RegistrationPage.h"
#include "ui/HintEdit.h"
#include "ui/Waiting.h"

using namespace vpsdesk;

namespace {

constexpr qint64 kTargetNs = 16'000'000;

// The gaps between two ticks of a 5 ms timer, for as long as the probe lives.
class StallProbe {
  public:
    StallProbe() {
        clock_.start();
        last_ = clock_.nsecsElapsed();
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            worst_ = std::max(worst_, now - last_);
            if (now - last_ > kTargetNs) ++over_target_;
            ++ticks_;
            last_ = now;
        });
        timer_.start(5);
    }

    void Print(const char* what) const {
        std::printf("%-44s %6.2f s: longest UI stall %6.2f ms, gaps over 16 ms: %d of %d\n", what,
                    clock_.elapsed() / 1000.0, worst_ / 1e6, over_target_, ticks_);
    }

  private:
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 last_ = 0;
    qint64 worst_ = 0;
    int over_target_ = 0;
    int ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int countdowns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int tick_ms = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    QApplication application(argc, argv);
    ui::guitest::LocalPlatform platform("registration-bench");

    std::atomic<int> progress{0};
    account::RegistrationPage page(platform.Site(), progress);
    account::LoginPacing pacing;
    pacing.draw_delays = [] { return account::ResultDelays{}; };
    pacing.countdown_tick_ms = tick_ms;
    pacing.code_caption_hold_ms = 0;
    page.SetPacing(pacing);
    int captions = 0;
    QObject::connect(&page, &account::RegistrationPage::codeCaptionChanged,
                     [&](const QString&) { ++captions; });
    page.show();
    ui::WaitPumping(200, ui::WaitUnit::Milliseconds);

    const std::int64_t countdown_ms = std::int64_t{account::kCodeCountdownSeconds} * tick_ms;
    {
        StallProbe idle;
        ui::WaitPumping(countdown_ms, ui::WaitUnit::Milliseconds);
        idle.Print("baseline: the page idle, nothing running");
    }

    int failed = 0;
    for (int run = 1; run <= countdowns; ++run) {
        // A number the platform has not seen yet, so that it answers "1000" at once.
        page.MobileBox()->setText(QString::number(13800138000LL + run));
        captions = 0;
        const std::string label =
            "countdown " + std::to_string(run) + ": click until the button is back";
        StallProbe probe;
        page.CodeButton()->click();
        // The click returns once the countdown's thread is started; it ends with the
        // button enabled again.
        QElapsedTimer waited;
        waited.start();
        while (!page.CodeButton()->isEnabled() && waited.elapsed() < countdown_ms * 10 + 10'000)
            ui::WaitPumping(1, ui::WaitUnit::Milliseconds);
        probe.Print(label.c_str());
        // "发送中", "发送成功", 59s ... 0s and the first caption again.
        if (captions != 2 + account::kCodeCountdownSeconds + 1 || !page.CodeButton()->isEnabled()) {
            std::printf("   (the countdown did not run as expected: %d captions)\n", captions);
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
