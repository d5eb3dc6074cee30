#pragma once
// A clickable caption in a skinned window's title area ("×", "-"): light grey, white while
// the mouse is over it.
#include <QLabel>

namespace vpsdesk::ui {

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    CaptionLabel(const QString& text, const QString& object_name, QWidget* parent = nullptr);

    bool IsHovered() const { return hovered_; }

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintHover(bool hovered);

    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace vpsdesk::ui
