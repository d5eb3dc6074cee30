#pragma once
// The small animated picture beside a button that shows a request's progress and result.
// A timer steps through a range of the 50 frames: the working range repeats, the success
// and failure ranges stop on their last frame.
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <atomic>
#include <vector>

namespace vpsdesk::ui {

class ResultIndicator : public QLabel {
    Q_OBJECT
public:
    enum class Mode { Loop, Once };
    static constexpr int kDefaultInterval = 40;

    explicit ResultIndicator(QWidget* parent = nullptr);

    // Shows the widget on `frame` (clamped to 0-49) without touching the timer.
    void ShowFrame(int frame);
    // The frame shown last. Safe on any thread, so a worker can wait for the end frame.
    int Frame() const { return frame_.load(); }

    // Shows `first`, then one frame further per tick. Loop: after `last` comes `first`
    // again. Once: the timer stops on `last` and finished() is emitted.
    void Play(int first, int last, Mode mode);
    void PlayBusy();
    void PlaySuccess();
    void PlayFailure();
    void Stop();
    // Stops and hides; the idle state of a button's indicator.
    void HideIndicator();

    bool IsPlaying() const { return timer_.isActive(); }
    void SetInterval(int milliseconds) { timer_.setInterval(milliseconds); }

signals:
    void frameChanged(int frame);
    void finished();

private:
    void Tick();

    std::vector<QPixmap> pixmaps_;
    QTimer timer_;
    std::atomic<int> frame_{0};
    int first_ = 0;
    int last_ = 0;
    Mode mode_ = Mode::Once;
};

// UI thread: keeps the window responsive for `hold_ms`, then until `indicator` has shown
// `last` or stopped (at most five seconds more). False when the indicator went away
// meanwhile, and with it the page that waits.
bool WaitForLastFrame(ResultIndicator* indicator, int hold_ms, int last);

}  // namespace vpsdesk::ui
