#pragma once
// A single-line edit box whose hint is its real text: while untouched, text() is the hint,
// and that is what a form built from the box sends. The hint shows grey; the box clears it
// when it gains the focus and puts it back when it is left empty. A password box masks
// typed text with "●" but shows its hint readable.
#include <QLineEdit>
#include <optional>
#include <string>

namespace vpsdesk::ui {

class HintEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Plain, Password };

    explicit HintEdit(const QString& hint, Kind kind = Kind::Plain, QWidget* parent = nullptr);

    const QString& Hint() const { return hint_; }
    bool IsPassword() const { return kind_ == Kind::Password; }
    // The box shows its hint: the text is the hint and the box does not have the focus.
    bool IsShowingHint() const;
    // text() as UTF-8.
    std::string Value() const;
    // Puts the hint back, as if the box had been left empty.
    void ResetToHint();

signals:
    void focusGained();
    void focusLost();
    // After the box has handled the key; Enter is acted on at release, not at press.
    void keyReleased(int key);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Colour and masking follow the text, so text set by the program (a remembered
    // password) is masked just like typed text.
    void Present();

    QString hint_;
    Kind kind_;
    std::optional<bool> presented_hint_;
};

}  // namespace vpsdesk::ui
