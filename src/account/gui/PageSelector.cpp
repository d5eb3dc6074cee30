#include "account/gui/PageSelector.h"

#include <QSignalBlocker>

#include "ui/Skin.h"

namespace vpsdesk::account {

PageSelector::PageSelector(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("pageSelector"));
    setFont(ui::skin::Font(13));
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setSpacing(6);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);  // the keyboard belongs to the login boxes
    setStyleSheet(QStringLiteral(
        "QListWidget { background: transparent; color: #FFFFFF; }"
        "QListWidget::item { padding: 2px 8px; color: #B3B3B3; }"
        "QListWidget::item:selected { color: #FFFFFF; background: transparent;"
        " border-bottom: 2px solid #2F6BFF; }"));
    addItems({QStringLiteral("登录"), QStringLiteral("注册"), QStringLiteral("找回密码")});
    ShowEntry(kLogin);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit entryChosen(row(item)); });
}

void PageSelector::ShowEntry(int entry) {
    const QSignalBlocker quiet(this);
    setCurrentRow(entry);
}

}  // namespace vpsdesk::account
