#include "app/gui/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>
#include <atomic>

#include "ui/Colour.h"
#include "ui/Skin.h"

namespace vpsdesk::app {
namespace {

constexpr int kEntryWidth = 100;
constexpr int kEntryHeight = 28;

// -1: ask the desktop; 0 or 1: what a test pretends.
std::atomic<int> g_tray_override{-1};

QPixmap DrawClientIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2F, 0x6B, 0xFF));
    painter.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 7 * s, 7 * s);
    // Three rack units with a status light each.
    for (int unit = 0; unit < 3; ++unit) {
        const QRectF slot(7 * s, (7 + unit * 6.5) * s, 18 * s, 5 * s);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(slot, 1.2 * s, 1.2 * s);
        painter.setBrush(QColor(0x22, 0xC5, 0x5E));
        painter.drawEllipse(QPointF(slot.right() - 3 * s, slot.center().y()), 1.2 * s, 1.2 * s);
    }
    return pixmap;
}

}  // namespace

TrayIcon::TrayIcon(QWidget* window, QObject* parent)
    : QObject(parent), window_(window), icon_(new QSystemTrayIcon(ClientIcon(), this)) {
    icon_->setObjectName(QStringLiteral("trayIcon"));
    icon_->setToolTip(QStringLiteral("管理工具"));
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activate(reason); });
}

TrayIcon::~TrayIcon() {
    delete menu_;
}

void TrayIcon::Show() {
    icon_->show();
}

void TrayIcon::BuildMenu() {
    // A menu without a parent is a window of its own; the icon only borrows it.
    delete menu_;
    menu_ = new QMenu;
    menu_->setObjectName(QStringLiteral("trayMenu"));
    menu_->setFont(ui::skin::Font(9));
    menu_->setStyleSheet(
        QStringLiteral(
            "QMenu { background: %1; color: %2; border: 1px solid #3A4157; padding: 0px; }"
            "QMenu::item { width: %3px; height: %4px; padding: 0px 0px 0px 16px;"
            " margin: 0px; }"
            "QMenu::item:selected { background: #2F6BFF; }")
            .arg(ui::StyleSheetColour(ui::skin::kPanel), ui::StyleSheetColour(ui::skin::kText))
            .arg(kEntryWidth - 16)
            .arg(kEntryHeight));
    QAction* exit = menu_->addAction(QStringLiteral("退出程序"));
    exit->setObjectName(QStringLiteral("exitAction"));
    connect(exit, &QAction::triggered, this, &TrayIcon::exitRequested);
    QAction* logout = menu_->addAction(QStringLiteral("注销登录"));
    logout->setObjectName(QStringLiteral("logoutAction"));
    connect(logout, &QAction::triggered, this, &TrayIcon::logoutRequested);
    // The desktop pops it at the pointer on a right-click or the menu key.
    icon_->setContextMenu(menu_);
}

void TrayIcon::Remove() {
    icon_->hide();
}

bool TrayIcon::IsShown() const {
    return icon_->isVisible();
}

void TrayIcon::Activate(QSystemTrayIcon::ActivationReason reason) {
    // The context menu is the desktop's business.
    if (window_ == nullptr) return;
    const Clock::time_point now = Clock::now();
    const auto pair_window = std::chrono::milliseconds(QApplication::doubleClickInterval());
    const bool in_pair = click_at_ && now - *click_at_ < pair_window;
    if (reason == QSystemTrayIcon::Trigger) {
        // The second press of a double-click may come as a click too; it belongs to the
        // pair the first one started.
        if (!in_pair) {
            click_at_ = now;
            shown_before_click_ = WindowShown();
        }
        BringWindowBack();
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        const bool was_shown = in_pair ? shown_before_click_ : WindowShown();
        click_at_.reset();
        was_shown ? PutWindowAway() : BringWindowBack();
    }
}

bool TrayIcon::WindowShown() const {
    return window_->isVisible() && !window_->isMinimized();
}

void TrayIcon::BringWindowBack() {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void TrayIcon::PutWindowAway() {
    window_->hide();
    // Brought back later, it shows in its normal state.
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
}

bool TrayIcon::CanBringWindowBack() const {
    return SystemTrayAvailable() && IsShown();
}

bool TrayIcon::SystemTrayAvailable() {
    const int forced = g_tray_override.load();
    if (forced >= 0) return forced == 1;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::OverrideSystemTrayAvailable(std::optional<bool> available) {
    g_tray_override = available ? (*available ? 1 : 0) : -1;
}

QIcon TrayIcon::ClientIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) icon.addPixmap(DrawClientIcon(size));
    return icon;
}

}  // namespace vpsdesk::app
