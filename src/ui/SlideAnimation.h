#pragma once
// A slow-motion move of a widget: a login panel sliding in from the right, a caption
// rising above its edit box. Stopping leaves the widget where it is.
#include <QEasingCurve>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QPoint>

class QPropertyAnimation;

namespace vpsdesk::ui {

class SlideAnimation : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultDuration = 400;

    // Lives as long as `target` unless given another parent.
    explicit SlideAnimation(QWidget* target, QObject* parent = nullptr);

    void Configure(int duration_ms, const QEasingCurve& easing = QEasingCurve::OutCubic);
    // From where the widget is now; a running slide is replaced.
    void SlideTo(const QPoint& end);
    // Places the widget at `start` first.
    void Slide(const QPoint& start, const QPoint& end);
    void Stop();
    bool IsRunning() const;

signals:
    void finished();

private:
    QPointer<QWidget> target_;  // the widget may go first when given another parent
    QPropertyAnimation* animation_;
};

}  // namespace vpsdesk::ui
