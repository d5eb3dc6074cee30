#include "app/gui/SideNavigation.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>
#include <array>

#include "account/RealNameGate.h"
#include "ui/PumpedCall.h"
#include "ui/Skin.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {
namespace {

constexpr int kIconSize = 24;
constexpr int kRowHeight = 48;

constexpr std::array<const char*, SideNavigation::kEntryCount> kCaptions = {
    "产品列表", "财务信息", "购买产品", "客服中心", "卡密激活"};

// One white line drawing per entry, on a 24 x 24 grid.
QIcon DrawIcon(int entry) {
    QPixmap pixmap(kIconSize * 2, kIconSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (entry) {
        case SideNavigation::kServers:  // a rack of two servers
            p.drawRoundedRect(QRectF(4, 4, 16, 7), 1.5, 1.5);
            p.drawRoundedRect(QRectF(4, 13, 16, 7), 1.5, 1.5);
            p.drawPoint(QPointF(16.5, 7.5));
            p.drawPoint(QPointF(16.5, 16.5));
            break;
        case SideNavigation::kFinance:  // a coin with the yuan sign
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.drawLine(QPointF(8.5, 7), QPointF(12, 11.5));
            p.drawLine(QPointF(15.5, 7), QPointF(12, 11.5));
            p.drawLine(QPointF(12, 11.5), QPointF(12, 17.5));
            p.drawLine(QPointF(9, 12.5), QPointF(15, 12.5));
            p.drawLine(QPointF(9, 15), QPointF(15, 15));
            break;
        case SideNavigation::kPurchase: {  // a shopping cart
            QPainterPath cart;
            cart.moveTo(3, 5);
            cart.lineTo(6, 5);
            cart.lineTo(8.5, 15);
            cart.lineTo(18.5, 15);
            cart.lineTo(20.5, 8);
            cart.lineTo(7, 8);
            p.drawPath(cart);
            p.drawEllipse(QPointF(9.5, 19), 1.4, 1.4);
            p.drawEllipse(QPointF(17.5, 19), 1.4, 1.4);
            break;
        }
        case SideNavigation::kService:  // a headset
            p.drawArc(QRectF(5, 4, 14, 14), 0, 180 * 16);
            p.drawRoundedRect(QRectF(3.5, 11, 3.5, 6), 1.2, 1.2);
            p.drawRoundedRect(QRectF(17, 11, 3.5, 6), 1.2, 1.2);
            p.drawLine(QPointF(18.5, 17), QPointF(15, 20));
            break;
        default:  // a card with its key
            p.drawRoundedRect(QRectF(3, 6, 18, 12), 2, 2);
            p.drawLine(QPointF(3, 10), QPointF(21, 10));
            p.drawLine(QPointF(6, 14.5), QPointF(11, 14.5));
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

SideNavigation::SideNavigation(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("sideNavigation"));
    setFont(ui::skin::Font(13));
    setIconSize(QSize(kIconSize, kIconSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The arrow keys choose entries as clicks do.
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(
        QStringLiteral("QListWidget { background: transparent; color: white; outline: none; }"
                       "QListWidget::item { padding-left: 18px; border: none; }"
                       "QListWidget::item:hover { background: rgba(47, 107, 255, 90); }"
                       "QListWidget::item:selected { background: #2F6BFF; color: white; }"));
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) Choose(row);
    });
}

QString SideNavigation::Caption(int entry) {
    if (entry < 0 || entry >= kEntryCount) return {};
    return QString::fromUtf8(kCaptions[static_cast<std::size_t>(entry)]);
}

void SideNavigation::Build() {
    const QSignalBlocker quiet(this);
    clear();
    shown_ = -1;
    for (int entry = 0; entry < kEntryCount; ++entry) {
        auto* item = new QListWidgetItem(DrawIcon(entry), Caption(entry), this);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setFont(ui::skin::Font(13));
    }
}

void SideNavigation::Select(int entry) {
    if (entry < 0 || entry >= count()) return;
    if (currentRow() == entry) {
        Choose(entry);
        return;
    }
    setCurrentRow(entry);
}

void SideNavigation::focusInEvent(QFocusEvent* event) {
    // Taking the focus chooses nothing, though the view makes its first entry current
    // when none is.
    const QSignalBlocker quiet(this);
    const int before = currentRow();
    QListWidget::focusInEvent(event);
    if (currentRow() != before) setCurrentRow(before);
}

void SideNavigation::Revert() {
    const QSignalBlocker quiet(this);
    if (shown_ >= 0)
        setCurrentRow(shown_);
    else
        setCurrentRow(-1);
}

void SideNavigation::Relogin() {
    if (!relogin_) return;
    // The window keeps drawing while the platform answers.
    ui::CallKeepingWindowResponsive([relogin = relogin_] {
        relogin();
        return true;
    });
}

void SideNavigation::Choose(int entry) {
    // A choice made while the previous one still waits for the platform is undone: one
    // choice at a time keeps the page and the requests in the order they were asked for.
    if (choosing_ >= 0) {
        const QSignalBlocker quiet(this);
        setCurrentRow(choosing_);
        return;
    }
    choosing_ = entry;
    if (account::EntryIsGated(entry) && gate_ && !gate_(window())) {
        Revert();
        choosing_ = -1;
        return;
    }
    switch (entry) {
        case kServers:
            shown_ = entry;
            emit pageChosen(entry);
            Relogin();
            if (load_servers_) ui::RunInBackground(load_servers_);
            break;
        case kFinance:
        case kPurchase:
            Relogin();
            shown_ = entry;
            emit pageChosen(entry);
            if (entry == kFinance && load_finance_) ui::RunInBackground(load_finance_);
            break;
        default:  // customer service and card activation show first, then renew the sign-in
            shown_ = entry;
            emit pageChosen(entry);
            Relogin();
            break;
    }
    choosing_ = -1;
}

}  // namespace vpsdesk::app
