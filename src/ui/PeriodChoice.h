#pragma once
// The "一天 / 一个月 / 一年" choice of the renewal and purchase windows: three radio buttons
// in a titled box, each enabled only when the platform sells that period. Periods are
// numbered 0 (day), 1 (month) and 2 (year); the windows map them to their own names.
#include <QGroupBox>
#include <array>

class QRadioButton;

namespace vpsdesk::ui {

class PeriodChoice : public QGroupBox {
    Q_OBJECT
  public:
    static constexpr int kCount = 3;

    PeriodChoice(const QString& title, QWidget* parent);

    QRadioButton* Button(int period) const;
    // The checked period, or -1 while none is.
    int Chosen() const;
    void Choose(int period);
    void SetOffered(const std::array<bool, kCount>& offered);

  signals:
    // A period became the checked one.
    void chosen(int period);

  private:
    std::array<QRadioButton*, kCount> buttons_{};
};

}  // namespace vpsdesk::ui
