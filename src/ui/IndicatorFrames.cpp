#include "ui/IndicatorFrames.h"

#include <QLineF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "ui/Colour.h"

namespace vpsdesk::ui::indicator {
namespace {

constexpr QPointF kCentre(kFrameSize / 2.0, kFrameSize / 2.0);

void DrawSpinner(QPainter& painter, int step) {
    const QRectF ring(kCentre.x() - 8.5, kCentre.y() - 8.5, 17.0, 17.0);
    painter.setPen(QPen(QColor(255, 255, 255, 0x40), 2.5));
    painter.drawEllipse(ring);
    QPen arc(ColourFromArgb(kBusyColour), 2.5);
    arc.setCapStyle(Qt::RoundCap);
    painter.setPen(arc);
    // Clockwise from twelve o'clock, one full turn over the 25 working frames.
    const int start = (90 - step * 360 / 25) * 16;
    painter.drawArc(ring, start, -110 * 16);
}

void DrawDisc(QPainter& painter, std::uint32_t colour, double scale) {
    const double radius = 10.5 * std::clamp(scale, 0.0, 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColourFromArgb(colour));
    painter.drawEllipse(kCentre, radius, radius);
}

QPen MarkPen() {
    QPen pen(Qt::white, 2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The tick's two strokes, drawn up to `progress` (0-1) of their joint length.
void DrawTick(QPainter& painter, double progress) {
    if (progress <= 0) return;
    const QLineF first(QPointF(6.5, 12.0), QPointF(10.0, 15.5));
    const QLineF second(QPointF(10.0, 15.5), QPointF(16.5, 8.5));
    const double total = first.length() + second.length();
    double left = total * std::min(progress, 1.0);
    painter.setPen(MarkPen());
    QLineF part = first;
    part.setLength(std::min(left, first.length()));
    painter.drawLine(part);
    left -= first.length();
    if (left <= 0) return;
    part = second;
    part.setLength(std::min(left, second.length()));
    painter.drawLine(part);
}

// The cross grows from the centre outwards.
void DrawCross(QPainter& painter, double progress) {
    if (progress <= 0) return;
    const double reach = 4.5 * std::min(progress, 1.0);
    painter.setPen(MarkPen());
    painter.drawLine(kCentre + QPointF(-reach, -reach), kCentre + QPointF(reach, reach));
    painter.drawLine(kCentre + QPointF(reach, -reach), kCentre + QPointF(-reach, reach));
}

}  // namespace

QImage DrawFrame(int frame) {
    frame = std::clamp(frame, 0, kFrameCount - 1);
    QImage image(kFrameSize, kFrameSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (frame <= kBusyLast + 1) {
        DrawSpinner(painter, frame % 25);
    } else if (frame <= kSuccessLast + 1) {
        const int step = std::min(frame, kSuccessLast) - kSuccessFirst + 1;  // 1-14
        DrawDisc(painter, kSuccessColour, step / 4.0);
        DrawTick(painter, (step - 4) / 10.0);
    } else {
        const int step = frame - kFailureFirst + 1;  // 1-9
        DrawDisc(painter, kFailureColour, step / 3.0);
        DrawCross(painter, (step - 3) / 6.0);
    }
    return image;
}

}  // namespace vpsdesk::ui::indicator
