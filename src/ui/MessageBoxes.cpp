#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "ui/QtText.h"
#include "ui/Skin.h"
#include "ui/UiThread.h"

namespace vpsdesk::ui {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonInfo {
    QMessageBox::StandardButton button;
    MessageResult result;
    const char* object_name;
    const char* caption;  // Chinese, whatever language the system's Qt speaks
};

constexpr ButtonInfo kButtons[] = {
    {QMessageBox::Ok, MessageResult::Ok, "messageBoxOk", "确定"},
    {QMessageBox::Cancel, MessageResult::Cancel, "messageBoxCancel", "取消"},
    {QMessageBox::Yes, MessageResult::Yes, "messageBoxYes", "是"},
    {QMessageBox::No, MessageResult::No, "messageBoxNo", "否"},
};

QMessageBox::StandardButtons QtButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// Builds the box on the UI thread, runs it modally and maps the button pressed.
// `prepare` adds what one kind of box needs (skin, timer).
template <typename Prepare>
MessageResult Run(std::string_view text, std::string_view title, QMessageBox::Icon icon,
                  QMessageBox::StandardButtons buttons, QWidget* owner, Prepare prepare) {
    MessageResult result = MessageResult::NotShown;
    OnUiThread([&] {
        QMessageBox box(icon, Qs(title), Qs(text), buttons, owner ? owner : DefaultMessageOwner());
        box.setObjectName(QStringLiteral("messageBox"));
        box.setFont(skin::Font());
        for (const ButtonInfo& info : kButtons) {
            if (QAbstractButton* button = box.button(info.button)) {
                button->setObjectName(QString::fromLatin1(info.object_name));
                button->setText(QString::fromUtf8(info.caption));
            }
        }
        prepare(box, result);
        box.exec();
        if (result != MessageResult::NotShown) return;  // decided by `prepare`
        const auto pressed = box.standardButton(box.clickedButton());
        // Closed without a button (the application quitting) counts as the refusing button.
        result = (buttons & QMessageBox::Cancel) ? MessageResult::Cancel
                 : (buttons & QMessageBox::No)   ? MessageResult::No
                                                 : MessageResult::Ok;
        for (const ButtonInfo& info : kButtons)
            if (info.button == pressed) result = info.result;
    });
    return result;
}

}  // namespace

QWidget* DefaultMessageOwner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->parentWidget() == nullptr &&
            !(widget->windowType() == Qt::Popup || widget->windowType() == Qt::ToolTip))
            return widget;
    }
    return nullptr;
}

namespace {

// The plain boxes keep the system look (dark text on light grey) even over a dark skinned
// owner, whose white text they would otherwise inherit.
void UsePlainLook(QMessageBox& box) {
    box.setStyleSheet(
        QStringLiteral("QMessageBox { background: #F0F0F0; } QLabel { color: #000000; }"));
}

}  // namespace

MessageResult ShowPlainMessage(std::string_view text, std::string_view title, QWidget* owner) {
    return Run(text, title, QMessageBox::NoIcon, QMessageBox::Ok, owner,
               [](QMessageBox& box, MessageResult&) { UsePlainLook(box); });
}

MessageResult ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                          MessageButtons buttons, QWidget* owner) {
    return Run(text, title, QtIcon(icon), QtButtons(buttons), owner,
               [](QMessageBox& box, MessageResult&) {
                   box.setStyleSheet(skin::DarkStyleSheet() +
                                     QStringLiteral("QMessageBox { background: #1E2230; }"));
               });
}

MessageResult ShowSelfClosingMessage(std::string_view text, std::string_view title,
                                     int milliseconds, QWidget* owner) {
    return Run(text, title, QMessageBox::NoIcon, QMessageBox::Ok, owner,
               [milliseconds](QMessageBox& box, MessageResult& result) {
                   UsePlainLook(box);
                   auto* timer = new QTimer(&box);
                   timer->setSingleShot(true);
                   QObject::connect(timer, &QTimer::timeout, &box, [&box, &result] {
                       result = MessageResult::TimedOut;
                       box.done(0);
                   });
                   timer->start(std::max(milliseconds, 0));
               });
}

}  // namespace vpsdesk::ui
