#include "ui/FadeAnimation.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace vpsdesk::ui {

FadeAnimation::FadeAnimation(QWidget* target, QObject* parent)
    : QObject(parent ? parent : target), target_(target) {
    if (target->isWindow()) {
        animation_ = new QPropertyAnimation(target, "windowOpacity", this);
    } else {
        effect_ = new QGraphicsOpacityEffect(target);
        effect_->setOpacity(1.0);
        target->setGraphicsEffect(effect_);  // the widget takes ownership
        animation_ = new QPropertyAnimation(effect_, "opacity", this);
    }
    Configure(kDefaultDuration);
    connect(animation_, &QPropertyAnimation::finished, this, [this] {
        if (hide_when_done_ && target_) {
            target_->hide();
            SetOpacity(1.0);
        }
        emit finished();
    });
}

void FadeAnimation::Configure(int duration_ms, const QEasingCurve& easing) {
    animation_->setDuration(duration_ms);
    animation_->setEasingCurve(easing);
}

void FadeAnimation::FadeIn() {
    animation_->stop();
    hide_when_done_ = false;
    if (!target_) return;
    SetOpacity(0.0);
    target_->show();
    Run(0.0, 1.0);
}

void FadeAnimation::FadeOut(bool hide_when_done) {
    animation_->stop();
    hide_when_done_ = hide_when_done;
    if (!target_) return;
    Run(Opacity(), 0.0);
}

void FadeAnimation::Stop() { animation_->stop(); }

bool FadeAnimation::IsRunning() const {
    return animation_->state() == QAbstractAnimation::Running;
}

double FadeAnimation::Opacity() const {
    if (!target_) return 0.0;
    return effect_ ? effect_->opacity() : target_->windowOpacity();
}

void FadeAnimation::Run(double from, double to) {
    animation_->setStartValue(from);
    animation_->setEndValue(to);
    animation_->start();
}

void FadeAnimation::SetOpacity(double value) {
    if (!target_) return;
    if (effect_)
        effect_->setOpacity(value);
    else
        target_->setWindowOpacity(value);
}

}  // namespace vpsdesk::ui
