#include "ui/ResultIndicator.h"

#include <algorithm>

#include "ui/IndicatorFrames.h"

namespace vpsdesk::ui {

ResultIndicator::ResultIndicator(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("resultIndicator"));
    setFixedSize(indicator::kFrameSize, indicator::kFrameSize);
    setAttribute(Qt::WA_TranslucentBackground);
    pixmaps_.reserve(indicator::kFrameCount);
    for (int i = 0; i < indicator::kFrameCount; ++i)
        pixmaps_.push_back(QPixmap::fromImage(indicator::DrawFrame(i)));
    timer_.setInterval(kDefaultInterval);
    connect(&timer_, &QTimer::timeout, this, &ResultIndicator::tick);
    setPixmap(pixmaps_.front());
}

void ResultIndicator::showFrame(int frame) {
    frame = std::clamp(frame, 0, indicator::kFrameCount - 1);
    setPixmap(pixmaps_[static_cast<std::size_t>(frame)]);
    frame_.store(frame);
    show();
    emit frameChanged(frame);
}

void ResultIndicator::play(int first, int last, Mode mode) {
    first_ = std::clamp(first, 0, indicator::kFrameCount - 1);
    last_ = std::clamp(last, first_, indicator::kFrameCount - 1);
    mode_ = mode;
    timer_.stop();
    showFrame(first_);
    if (mode_ == Mode::Once && first_ == last_) {
        emit finished();
        return;
    }
    timer_.start();
}

void ResultIndicator::playBusy() { play(indicator::kBusyFirst, indicator::kBusyLast, Mode::Loop); }

void ResultIndicator::playSuccess() {
    play(indicator::kSuccessFirst, indicator::kSuccessLast, Mode::Once);
}

void ResultIndicator::playFailure() {
    play(indicator::kFailureFirst, indicator::kFailureLast, Mode::Once);
}

void ResultIndicator::stop() { timer_.stop(); }

void ResultIndicator::hideIndicator() {
    stop();
    hide();
}

void ResultIndicator::tick() {
    int next = frame() + 1;
    if (next > last_) {
        if (mode_ == Mode::Once) {  // showFrame() moved us off the range meanwhile
            stop();
            return;
        }
        next = first_;
    }
    showFrame(next);
    if (mode_ == Mode::Once && next == last_) {
        stop();
        emit finished();
    }
}

}  // namespace vpsdesk::ui
