#include "ui/PeriodChoice.h"

#include <QHBoxLayout>
#include <QRadioButton>

namespace vpsdesk::ui {

PeriodChoice::PeriodChoice(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    // A period that is not sold must look unavailable on the dark skin.
    setStyleSheet(QStringLiteral("QRadioButton:disabled { color: #6B7080; }"));
    auto* row = new QHBoxLayout(this);
    const QString captions[kCount] = {QStringLiteral("一天"), QStringLiteral("一个月"),
                                      QStringLiteral("一年")};
    const QString names[kCount] = {QStringLiteral("dayOption"), QStringLiteral("monthOption"),
                                   QStringLiteral("yearOption")};
    for (int i = 0; i < kCount; ++i) {
        auto* button = new QRadioButton(captions[i], this);
        button->setObjectName(names[i]);
        row->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) emit chosen(i);
        });
        buttons_[static_cast<std::size_t>(i)] = button;
    }
}

QRadioButton* PeriodChoice::Button(int period) const {
    if (period < 0 || period >= kCount) return nullptr;
    return buttons_[static_cast<std::size_t>(period)];
}

int PeriodChoice::Chosen() const {
    for (int i = 0; i < kCount; ++i)
        if (buttons_[static_cast<std::size_t>(i)]->isChecked()) return i;
    return -1;
}

void PeriodChoice::Choose(int period) {
    if (QRadioButton* button = Button(period)) button->setChecked(true);
}

void PeriodChoice::SetOffered(const std::array<bool, kCount>& offered) {
    for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setEnabled(offered[i]);
}

}  // namespace vpsdesk::ui
