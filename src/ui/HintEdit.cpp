#include "ui/HintEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/Colour.h"
#include "ui/QtText.h"
#include "ui/Skin.h"

namespace vpsdesk::ui {

HintEdit::HintEdit(const QString& hint, Kind kind, QWidget* parent)
    : QLineEdit(hint, parent), hint_(hint), kind_(kind) {
    setObjectName(QStringLiteral("hintEdit"));
    connect(this, &QLineEdit::textChanged, this, [this] { Present(); });
    Present();
}

bool HintEdit::IsShowingHint() const { return !hasFocus() && text() == hint_; }

std::string HintEdit::Value() const { return U8(text()); }

void HintEdit::ResetToHint() { setText(hint_); }

void HintEdit::focusInEvent(QFocusEvent* event) {
    // Cleared before the base class places the cursor, so it lands in an empty box.
    if (event->reason() != Qt::PopupFocusReason && text() == hint_) clear();
    QLineEdit::focusInEvent(event);
    Present();
    emit focusGained();
}

void HintEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The box's own context menu takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason && text().isEmpty()) setText(hint_);
    Present();
    emit focusLost();
}

void HintEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    emit keyReleased(event->key());
}

void HintEdit::Present() {
    const bool hinting = IsShowingHint();
    if (presented_hint_ == hinting) return;
    presented_hint_ = hinting;
    if (IsPassword()) setEchoMode(hinting ? QLineEdit::Normal : QLineEdit::Password);
    // 9679 is "●"; the style's own mask character differs between platforms.
    setStyleSheet(QStringLiteral("QLineEdit { color: %1; lineedit-password-character: 9679; }")
                      .arg(StyleSheetColour(hinting ? skin::kHintText : skin::kText)));
}

}  // namespace vpsdesk::ui
