#include "ui/CaptionSlider.h"

#include <QWidget>

#include "ui/HintEdit.h"
#include "ui/SlideAnimation.h"

namespace vpsdesk::ui {

CaptionSlider::CaptionSlider(HintEdit* edit, QWidget* caption, int rise)
    : QObject(edit),
      caption_(caption),
      slide_(new SlideAnimation(caption, this)),
      rest_(caption->pos()),
      rise_(rise) {
    slide_->configure(200);
    connect(edit, &HintEdit::focusGained, this, [this] { setRaised(true); });
    connect(edit, &HintEdit::focusLost, this, [this, edit] { setRaised(!edit->isShowingHint()); });
}

void CaptionSlider::setRaised(bool raised) {
    if (raised == raised_) return;
    raised_ = raised;
    slide_->slideTo(raised ? rest_ - QPoint(0, rise_) : rest_);
}

}  // namespace vpsdesk::ui
