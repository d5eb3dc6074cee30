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

    void Configure(int duration_ms, const QEasingCurve& easing = QEasingCurve::InOutQuad);
    // Shows the widget fully transparent and brings it to full opacity.
    void FadeIn();
    // Takes the widget to transparent; with `hide_when_done` it is then hidden and its
    // opacity restored, so a later show() shows it normally.
    void FadeOut(bool hide_when_done = true);
    // Stops where it is; the widget keeps its current opacity.
    void Stop();
    bool IsRunning() const;
    double Opacity() const;

signals:
    void finished();

private:
    void Run(double from, double to);
    void SetOpacity(double value);

    QPointer<QWidget> target_;  // the widget may go first when given another parent
    QPointer<QGraphicsOpacityEffect> effect_;  // widgets inside a window only
    QPropertyAnimation* animation_;
    bool hide_when_done_ = false;
};

}  // namespace vpsdesk::ui
