#include "ui/BalloonTip.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QTimer>

#include "ui/QtText.h"
#include "ui/UiThread.h"

namespace vpsdesk::ui {
namespace {

QLabel*& TipWindow() {
    static QLabel* tip = nullptr;
    return tip;
}

void DeleteTipWindow() {
    delete TipWindow();
    TipWindow() = nullptr;
}

// One tip window for the process, made on first use and deleted with the application.
QLabel* Tip() {
    QLabel*& tip = TipWindow();
    if (tip != nullptr) return tip;
    tip = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                  Qt::WindowDoesNotAcceptFocus);
    tip->setObjectName(QStringLiteral("balloonTip"));
    tip->setAttribute(Qt::WA_ShowWithoutActivating);
    tip->setStyleSheet(QStringLiteral(
        "QLabel { color: #000000; background: #FFFFE1; border: 1px solid #767676;"
        " border-radius: 4px; padding: 4px 8px; }"));
    auto* timer = new QTimer(tip);
    timer->setObjectName(QStringLiteral("balloonTipTimer"));
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, tip, &QLabel::hide);
    qAddPostRoutine(DeleteTipWindow);
    return tip;
}

}  // namespace

void ShowTip(std::string_view text) {
    if (text.empty()) return HideTip();
    OnUiThread([&] {
        QLabel* tip = Tip();
        tip->setText(Qs(text));
        tip->adjustSize();
        tip->move(QCursor::pos() + QPoint(12, 16));
        tip->show();
        tip->raise();
        tip->findChild<QTimer*>(QStringLiteral("balloonTipTimer"))->start(kTipShownMs);
    });
}

void HideTip() {
    OnUiThread([] {
        if (QLabel* tip = TipWindow()) tip->hide();
    });
}

std::string ShownTip() {
    const QLabel* tip = TipWindow();
    return tip != nullptr && tip->isVisible() ? U8(tip->text()) : std::string();
}

}  // namespace vpsdesk::ui
