#include "ui/SlideAnimation.h"

#include <QPropertyAnimation>
#include <QWidget>

namespace vpsdesk::ui {

SlideAnimation::SlideAnimation(QWidget* target, QObject* parent)
    : QObject(parent ? parent : target),
      target_(target),
      animation_(new QPropertyAnimation(target, "pos", this)) {
    Configure(kDefaultDuration);
    connect(animation_, &QPropertyAnimation::finished, this, &SlideAnimation::finished);
}

void SlideAnimation::Configure(int duration_ms, const QEasingCurve& easing) {
    animation_->setDuration(duration_ms);
    animation_->setEasingCurve(easing);
}

void SlideAnimation::SlideTo(const QPoint& end) {
    animation_->stop();
    if (!target_) return;
    animation_->setStartValue(target_->pos());
    animation_->setEndValue(end);
    animation_->start();
}

void SlideAnimation::Slide(const QPoint& start, const QPoint& end) {
    animation_->stop();
    if (!target_) return;
    target_->move(start);
    SlideTo(end);
}

void SlideAnimation::Stop() { animation_->stop(); }

bool SlideAnimation::IsRunning() const {
    return animation_->state() == QAbstractAnimation::Running;
}

}  // namespace vpsdesk::ui
