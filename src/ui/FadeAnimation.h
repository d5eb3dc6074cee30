#pragma once
// Fades a widget in or out: a window through its window opacity, a widget inside a window
// (which has no opacity of its own) through an opacity effect.
#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QPropertyAnimation;

namespace vpsdesk::ui {

class FadeAnimation : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultDuration = 600;

    explicit FadeAnimation(QWidget* target, QObject* parent = nullptr);

    void configure(int duration_ms, const QEasingCurve& easing = QEasingCurve::InOutQuad);
    // Shows the widget fully transparent and brings it to full opacity.
    void fadeIn();
    // Takes the widget to transparent; with `hide_when_done` it is then hidden and its
    // opacity restored, so a later show() shows it normally.
    void fadeOut(bool hide_when_done = true);
    // Stops where it is; the widget keeps its current opacity.
    void stop();
    bool isRunning() const;
    double opacity() const;

signals:
    void finished();

private:
    void run(double from, double to);
    void setOpacity(double value);

    QPointer<QWidget> target_;  // the widget may go first when given another parent
    QPointer<QGraphicsOpacityEffect> effect_;  // widgets inside a window only
    QPropertyAnimation* animation_;
    bool hide_when_done_ = false;
};

}  // namespace vpsdesk::ui
