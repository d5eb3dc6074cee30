#include "ui/ResultIndicator.h"

#include <QPointer>
#include <algorithm>

#include "ui/IndicatorFrames.h"
#include "ui/Waiting.h"

namespace vpsdesk::ui {

ResultIndicator::ResultIndicator(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("resultIndicator"));
    setFixedSize(indicator::kFrameSize, indicator::kFrameSize);
    setAttribute(Qt::WA_TranslucentBackground);
    pixmaps_.reserve(indicator::kFrameCount);
    for (int i = 0; i < indicator::kFrameCount; ++i)
        pixmaps_.push_back(QPixmap::fromImage(indicator::DrawFrame(i)));
    timer_.setInterval(kDefaultInterval);
    connect(&timer_, &QTimer::timeout, this, &ResultIndicator::Tick);
    setPixmap(pixmaps_.front());
}

void ResultIndicator::ShowFrame(int frame) {
    frame = std::clamp(frame, 0, indicator::kFrameCount - 1);
    setPixmap(pixmaps_[static_cast<std::size_t>(frame)]);
    frame_.store(frame);
    show();
    emit frameChanged(frame);
}

void ResultIndicator::Play(int first, int last, Mode mode) {
    first_ = std::clamp(first, 0, indicator::kFrameCount - 1);
    last_ = std::clamp(last, first_, indicator::kFrameCount - 1);
    mode_ = mode;
    timer_.stop();
    ShowFrame(first_);
    if (mode_ == Mode::Once && first_ == last_) {
        emit finished();
        return;
    }
    timer_.start();
}

void ResultIndicator::PlayBusy() { Play(indicator::kBusyFirst, indicator::kBusyLast, Mode::Loop); }

void ResultIndicator::PlaySuccess() {
    Play(indicator::kSuccessFirst, indicator::kSuccessLast, Mode::Once);
}

void ResultIndicator::PlayFailure() {
    Play(indicator::kFailureFirst, indicator::kFailureLast, Mode::Once);
}

void ResultIndicator::Stop() { timer_.stop(); }

void ResultIndicator::HideIndicator() {
    Stop();
    hide();
}

void ResultIndicator::Tick() {
    int next = Frame() + 1;
    if (next > last_) {
        if (mode_ == Mode::Once) {  // ShowFrame() moved us off the range meanwhile
            Stop();
            return;
        }
        next = first_;
    }
    ShowFrame(next);
    if (mode_ == Mode::Once && next == last_) {
        Stop();
        emit finished();
    }
}

bool WaitForLastFrame(ResultIndicator* indicator, int hold_ms, int last) {
    constexpr int kPollMs = 20;
    constexpr int kMaxPolls = 250;
    const QPointer<ResultIndicator> alive(indicator);
    WaitPumping(hold_ms, WaitUnit::Milliseconds);
    for (int polls = 0;
         polls < kMaxPolls && !alive.isNull() && alive->IsPlaying() && alive->Frame() != last;
         ++polls)
        WaitPumping(kPollMs, WaitUnit::Milliseconds);
    return !alive.isNull();
}

}  // namespace vpsdesk::ui
