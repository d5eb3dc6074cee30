#pragma once
// Lifts a field's caption above its edit box while the box has the focus or holds input,
// and lowers it again when the box goes back to its hint.
#include <QObject>
#include <QPoint>

class QWidget;

namespace vpsdesk::ui {

class HintEdit;
class SlideAnimation;

class CaptionSlider : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultRise = 16;

    // The caption's current position is its resting place.
    CaptionSlider(HintEdit* edit, QWidget* caption, int rise = kDefaultRise);

    SlideAnimation* Animation() const { return slide_; }
    bool IsRaised() const { return raised_; }

private:
    void SetRaised(bool raised);

    QWidget* caption_;
    SlideAnimation* slide_;
    QPoint rest_;
    int rise_;
    bool raised_ = false;
};

}  // namespace vpsdesk::ui
