#include "ui/SkinnedWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/CaptionLabel.h"
#include "ui/Colour.h"
#include "ui/Skin.h"

namespace vpsdesk::ui {
namespace {
constexpr int kCaptionSize = 28;
}

SkinnedWindow::SkinnedWindow(QWidget* parent)
    : QDialog(parent, (parent ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint),
      close_label_(new CaptionLabel(QStringLiteral("×"), QStringLiteral("closeLabel"), this)),
      minimize_label_(new CaptionLabel(QStringLiteral("-"), QStringLiteral("minimizeLabel"), this)) {
    setObjectName(QStringLiteral("skinnedWindow"));
    setFont(skin::Font());
    setStyleSheet(skin::DarkStyleSheet());
    close_label_->setToolTip(QStringLiteral("关闭"));
    minimize_label_->setToolTip(QStringLiteral("最小化"));
    connect(close_label_, &CaptionLabel::clicked, this, [this] {
        emit closeClicked();
        OnCloseClicked();
    });
    connect(minimize_label_, &CaptionLabel::clicked, this, [this] {
        emit minimizeClicked();
        OnMinimizeClicked();
    });
    PlaceCaptions();
}

void SkinnedWindow::OnCloseClicked() { close(); }

void SkinnedWindow::OnMinimizeClicked() { showMinimized(); }

void SkinnedWindow::keyPressEvent(QKeyEvent* event) {
    // Escape would reject the dialog; these windows close only through their captions.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    event->accept();
    // The window system moves the window where it can (Wayland allows nothing else);
    // otherwise we follow the pointer ourselves.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_offset_ || !(event->buttons() & Qt::LeftButton)) return QDialog::mouseMoveEvent(event);
    event->accept();
    move(event->globalPosition().toPoint() - *drag_offset_);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_offset_.reset();
    QDialog::mouseReleaseEvent(event);
}

void SkinnedWindow::showEvent(QShowEvent* event) {
    // A minimised modal window would still block the windows below it, invisibly.
    minimize_label_->setVisible(!isModal());
    QDialog::showEvent(event);
}

void SkinnedWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), ColourFromArgb(skin::kBackground));
    QDialog::paintEvent(event);
}

void SkinnedWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceCaptions();
}

void SkinnedWindow::PlaceCaptions() {
    close_label_->setGeometry(width() - kCaptionSize, 0, kCaptionSize, kCaptionSize);
    minimize_label_->setGeometry(width() - 2 * kCaptionSize, 0, kCaptionSize, kCaptionSize);
    close_label_->raise();
    minimize_label_->raise();
}

}  // namespace vpsdesk::ui
