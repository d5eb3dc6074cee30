#pragma once
// Helpers for tests that drive the UI thread while workers or modal boxes run.
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vpsdesk::ui::guitest {

// Serves the UI thread's events until `done` holds. No time limit: a hang is the failure.
inline void PumpUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(2);
    if (!done()) loop.exec();
}

// Once a modal box is up, records its title and text and clicks its button named
// `button_name`. Call before the code that shows the box; the timer lives on `owner`.
struct ModalClicker {
    QString title;
    QString text;
    bool clicked = false;

    void Arm(QObject* owner, const QString& button_name) {
        auto* timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, owner, [this, timer, button_name] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            auto* button = modal->findChild<QAbstractButton*>(button_name);
            if (button == nullptr) return;
            title = modal->windowTitle();
            text = modal->property("text").toString();
            timer->stop();
            clicked = true;
            button->click();
        });
        timer->start(2);
    }
};

}  // namespace vpsdesk::ui::guitest
