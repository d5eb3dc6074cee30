#include "ui/DialogChrome.h"

#include <QFrame>
#include <QLabel>
#include <QWidget>

#include "ui/Skin.h"

namespace vpsdesk::ui {

QLabel* AddDialogChrome(QWidget* window, const QString& title, const QString& title_object_name) {
    auto* edge = new QFrame(window);
    edge->setStyleSheet(
        QStringLiteral("QFrame { border: 1px solid #4A5370; background: transparent; }"));
    edge->setGeometry(window->rect());
    edge->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* label = new QLabel(title, window);
    label->setObjectName(title_object_name);
    label->setFont(skin::Font(13));
    label->setGeometry(24, 14, 200, 30);
    return label;
}

}  // namespace vpsdesk::ui
