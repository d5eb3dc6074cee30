#include "ui/CaptionLabel.h"

#include <QMouseEvent>

#include "ui/Colour.h"
#include "ui/Skin.h"

namespace vpsdesk::ui {

CaptionLabel::CaptionLabel(const QString& text, const QString& object_name, QWidget* parent)
    : QLabel(text, parent) {
    setObjectName(object_name);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    QFont font = skin::Font(14);
    setFont(font);
    PaintHover(false);
}

void CaptionLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    PaintHover(true);
}

void CaptionLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    PaintHover(false);
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    // Accepted, so a press on the caption does not start dragging the window.
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

void CaptionLabel::PaintHover(bool hovered) {
    hovered_ = hovered;
    setStyleSheet(QStringLiteral("QLabel { color: %1; background: transparent; }")
                      .arg(StyleSheetColour(hovered ? skin::kCaptionHover : skin::kCaptionIdle)));
}

}  // namespace vpsdesk::ui
