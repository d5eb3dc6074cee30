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
    slide_->Configure(200);
    connect(edit, &HintEdit::focusGained, this, [this] { SetRaised(true); });
    connect(edit, &HintEdit::focusLost, this, [this, edit] { SetRaised(!edit->IsShowingHint()); });
}

void CaptionSlider::SetRaised(bool raised) {
    if (raised == raised_) return;
    raised_ = raised;
    slide_->SlideTo(raised ? rest_ - QPoint(0, rise_) : rest_);
}

}  // namespace vpsdesk::ui
