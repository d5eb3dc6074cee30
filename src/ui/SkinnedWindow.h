#pragma once
// The base of every window: frameless, dark, with close ("×") and minimise ("-", not on
// modal windows) captions in the top-right corner, and moved by dragging its background
// with the mouse.
// A QDialog, so the same window can be shown modeless or run modally with exec().
#include <QDialog>
#include <QPoint>
#include <optional>

namespace vpsdesk::ui {

class CaptionLabel;

class SkinnedWindow : public QDialog {
    Q_OBJECT
public:
    // A window without parent is a top-level application window; one with a parent is a
    // dialog over it.
    explicit SkinnedWindow(QWidget* parent = nullptr);

    CaptionLabel* CloseLabel() const { return close_label_; }
    CaptionLabel* MinimizeLabel() const { return minimize_label_; }

signals:
    void closeClicked();
    void minimizeClicked();

protected:
    // What the captions do; windows with another rule (the main window hides itself to
    // the tray) override these. By default close closes and minimise minimises.
    virtual void OnCloseClicked();
    virtual void OnMinimizeClicked();

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // A modal window shows no minimise caption.
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceCaptions();

    CaptionLabel* close_label_;
    CaptionLabel* minimize_label_;
    // Offset of the pointer from the window's corner while a manual drag goes on.
    std::optional<QPoint> drag_offset_;
};

}  // namespace vpsdesk::ui
