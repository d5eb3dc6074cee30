#include "servers/gui/ServerContextMenu.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <climits>

#include "ui/Colour.h"
#include "ui/QtText.h"
#include "ui/Skin.h"

namespace vpsdesk::servers {
namespace {

constexpr int kBorder = 1;

}  // namespace

ServerContextMenu::ServerContextMenu(QWidget* owner, Dispatch dispatch)
    : QObject(owner), owner_(owner), dispatch_(std::move(dispatch)) {}

ServerContextMenu::~ServerContextMenu() {
    delete top_;
}

void ServerContextMenu::AddEntry(MenuLevel level, const QString& caption, Action action) {
    const std::string text = ui::U8(caption);
    if (level == MenuLevel::Top && text == kManageHostCaption) return;
    auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.level == level && e.caption == caption;
    });
    if (same != entries_.end()) {
        same->action = std::move(action);
    } else {
        const int position = MenuEntryPosition(level, text);
        entries_.push_back({level, caption, position < 0 ? INT_MAX : position, next_sequence_++,
                            std::move(action)});
        std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.position != b.position ? a.position < b.position : a.sequence < b.sequence;
        });
    }
    if (top_ != nullptr) Build();
}

QMenu* ServerContextMenu::NewMenu(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    menu->setFont(ui::skin::Font(10));
    menu->setFixedWidth(kEntryWidth + 2 * kBorder);  // the entries keep their full width
    // The style's padding would make an entry taller than its fixed height.
    menu->setStyleSheet(
        QStringLiteral("QMenu { padding: 0px; background: %2; color: %3;"
                       " border: %4px solid #3A4157; }"
                       "QMenu::item { height: %1px; padding: 0px 16px;"
                       " margin: 0px; }"
                       "QMenu::item:selected { background: #2F6BFF; }")
            .arg(kEntryHeight)
            .arg(ui::StyleSheetColour(ui::skin::kPanel), ui::StyleSheetColour(ui::skin::kText))
            .arg(kBorder));
    return menu;
}

void ServerContextMenu::Fill(QMenu* menu, MenuLevel level) {
    const int manage_position = MenuEntryPosition(MenuLevel::Top, kManageHostCaption);
    bool sub_added = false;
    const bool has_sub = std::any_of(entries_.begin(), entries_.end(),
                                     [](const Entry& e) { return e.level == MenuLevel::Sub; });
    auto add_sub_menu = [&] {
        QMenu* sub = NewMenu(menu);
        sub->setTitle(ui::Qs(kManageHostCaption));
        Fill(sub, MenuLevel::Sub);
        menu->addMenu(sub);
        sub_added = true;
    };
    for (const Entry& entry : entries_) {
        if (entry.level != level) continue;
        if (level == MenuLevel::Top && has_sub && !sub_added && entry.position > manage_position)
            add_sub_menu();
        QAction* action = menu->addAction(entry.caption);
        connect(action, &QAction::triggered, this, [this, act = entry.action] { dispatch_(act); });
    }
    if (level == MenuLevel::Top && has_sub && !sub_added) add_sub_menu();
}

void ServerContextMenu::Build() {
    // Later: the old menu may be the one whose entry is running right now.
    if (top_ != nullptr) top_->deleteLater();
    top_ = NewMenu(owner_);
    top_->setObjectName(QStringLiteral("serverContextMenu"));
    Fill(top_, MenuLevel::Top);
}

void ServerContextMenu::Popup(QPoint global_pos) {
    if (top_ == nullptr || top_->isEmpty()) return;
    top_->popup(global_pos);
}

}  // namespace vpsdesk::servers
