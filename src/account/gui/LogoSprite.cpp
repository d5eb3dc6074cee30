#include "account/gui/LogoSprite.h"

#include <QPainter>
#include <algorithm>

namespace vpsdesk::account {

LogoSprite::LogoSprite(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("logoSprite"));
    setFixedSize(kSize, kSize);
    setPixmap(DrawFrame(0));
    connect(&timer_, &QTimer::timeout, this, &LogoSprite::Advance);
}

void LogoSprite::Start(int interval_ms) {
    frame_ = 0;
    setPixmap(DrawFrame(0));
    timer_.start(std::max(1, interval_ms));
}

void LogoSprite::Stop() {
    timer_.stop();
}

void LogoSprite::Advance() {
    frame_ = std::min(frame_ + 1, kLastFrame);
    setPixmap(DrawFrame(frame_));
    if (frame_ >= kLastFrame) timer_.stop();
}

QPixmap LogoSprite::DrawFrame(int frame) {
    frame = std::clamp(frame, 0, kLastFrame);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring(5, 5, kSize - 10, kSize - 10);
    painter.setPen(QPen(QColor(0x3a, 0x40, 0x55), 4));
    painter.drawEllipse(ring);
    painter.setPen(QPen(QColor(0x2f, 0x6b, 0xff), 4, Qt::SolidLine, Qt::RoundCap));
    // Qt angles are in sixteenths of a degree, counter-clockwise from three o'clock.
    painter.drawArc(ring, 90 * 16, -360 * 16 * frame / kLastFrame);
    const qreal inner = (kSize - 22) * frame / static_cast<qreal>(kLastFrame);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x6b, 0xff));
    painter.drawEllipse(QPointF(kSize / 2.0, kSize / 2.0), inner / 2, inner / 2);
    return pixmap;
}

}  // namespace vpsdesk::account
