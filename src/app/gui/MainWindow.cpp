#include "app/gui/MainWindow.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>

#include "app/gui/SideNavigation.h"
#include "app/gui/TrayIcon.h"
#include "platform/SiteConstants.h"
#include "ui/CaptionLabel.h"
#include "ui/EventLog.h"
#include "ui/FitPicture.h"
#include "ui/QtText.h"
#include "ui/Skin.h"
#include "ui/UiThread.h"

namespace vpsdesk::app {
namespace {

constexpr int kWidth = 980;
constexpr int kHeight = 640;
constexpr int kTitleHeight = 72;
constexpr int kSidebarWidth = 180;
constexpr int kPagesLeft = kSidebarWidth + 20;
constexpr int kPagesWidth = kWidth - kPagesLeft - 20;
constexpr int kNoticeHeight = 28;
constexpr int kBannerSize = 72;

// The customer's picture: a head and shoulders in a circle.
QPixmap DrawUserPicture(int size) {
    QPixmap pixmap(size * 2, size * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x41, 0x57));
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, size, size));
    p.drawPath(circle);
    p.setBrush(QColor(0xE6, 0xE6, 0xE6));
    p.drawEllipse(QRectF(size * 0.32, size * 0.18, size * 0.36, size * 0.36));
    // The shoulders are cut by the circle as a path, not a pixel region, so the cut edge is
    // as smooth as the outline on any screen.
    QPainterPath shoulders;
    shoulders.addEllipse(QRectF(size * 0.14, size * 0.6, size * 0.72, size * 0.6));
    p.drawPath(shoulders.intersected(circle));
    return pixmap;
}

QPixmap PngPixmap(const net::ByteArray& png) {
    QPixmap pixmap;
    if (!png.empty()) pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
    return pixmap;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : ui::SkinnedWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setFixedSize(kWidth, kHeight);
    setWindowIcon(TrayIcon::ClientIcon());
    tray_ = new TrayIcon(this, this);
    BuildTitleArea();
    BuildSidebar();

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("mainPages"));
    pages_->setGeometry(kPagesLeft, kTitleHeight + 8, kPagesWidth,
                        kHeight - kTitleHeight - kNoticeHeight - 28);
    connect(navigation_, &SideNavigation::pageChosen, this, &MainWindow::ShowPage);

    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("noticeLine"));
    notice_->setGeometry(kPagesLeft, kHeight - kNoticeHeight - 12, kPagesWidth, kNoticeHeight);
    notice_->setFont(ui::skin::Font(10));
    notice_->setStyleSheet(QStringLiteral("QLabel { color: #FFD166; background: transparent; }"));
    hide();
}

void MainWindow::BuildTitleArea() {
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("logoPicture"));
    logo_->setGeometry(16, 8, 240, kTitleHeight - 16);
    logo_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const int top = 30;
    user_picture_ = new ui::CaptionLabel(QString(), QStringLiteral("userPicture"), this);
    user_picture_->setPixmap(DrawUserPicture(32));
    user_picture_->setGeometry(kWidth - 380, top - 2, 32, 32);
    user_picture_->setToolTip(QStringLiteral("个人信息"));
    user_name_ = new ui::CaptionLabel(QString(), QStringLiteral("userNameLabel"), this);
    user_name_->setFont(ui::skin::Font(11));
    user_name_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    user_name_->setGeometry(kWidth - 340, top, 180, 28);
    settings_ = new ui::CaptionLabel(QStringLiteral("设置"), QStringLiteral("settingsLabel"), this);
    settings_->setFont(ui::skin::Font(11));
    settings_->setGeometry(kWidth - 150, top, 50, 28);
    help_ = new ui::CaptionLabel(QStringLiteral("帮助"), QStringLiteral("helpLabel"), this);
    help_->setFont(ui::skin::Font(11));
    help_->setGeometry(kWidth - 90, top, 50, 28);

    connect(user_picture_, &ui::CaptionLabel::clicked, this, [this] { OpenPersonalWindow(); });
    connect(user_name_, &ui::CaptionLabel::clicked, this, [this] { OpenPersonalWindow(); });
    connect(settings_, &ui::CaptionLabel::clicked, this, &MainWindow::settingsRequested);
    connect(help_, &ui::CaptionLabel::clicked, this, [this] {
        // The operator's web site: the platform's own address unless configured otherwise.
        const QUrl address =
            help_address_.isEmpty() ? QUrl(ui::Qs(platform::Site().BaseUrl())) : help_address_;
        QDesktopServices::openUrl(address);
    });
}

void MainWindow::BuildSidebar() {
    navigation_ = new SideNavigation(this);
    navigation_->setGeometry(0, kTitleHeight + 8, kSidebarWidth, 5 * 48 + 4);

    const int banners_top = kTitleHeight + 8 + 5 * 48 + 24;
    banner1_ = new QLabel(this);
    banner1_->setObjectName(QStringLiteral("bannerPicture1"));
    banner1_->setGeometry(12, banners_top, kBannerSize, kBannerSize);
    banner2_ = new QLabel(this);
    banner2_->setObjectName(QStringLiteral("bannerPicture2"));
    banner2_->setGeometry(kSidebarWidth - 12 - kBannerSize, banners_top, kBannerSize, kBannerSize);
    for (QLabel* banner : {banner1_, banner2_}) {
        banner->setAlignment(Qt::AlignCenter);
        banner->setScaledContents(true);
    }
    help_caption_ = new QLabel(this);
    help_caption_->setObjectName(QStringLiteral("helpCaption"));
    help_caption_->setWordWrap(true);
    help_caption_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help_caption_->setFont(ui::skin::Font(9));
    help_caption_->setStyleSheet(
        QStringLiteral("QLabel { color: #B3B3B3; background: transparent; }"));
    const int caption_top = banners_top + kBannerSize + 12;
    help_caption_->setGeometry(12, caption_top, kSidebarWidth - 24, kHeight - caption_top - 12);
}

void MainWindow::AddPage(SideNavigation::Entry entry, QWidget* page) {
    if (entry < 0 || entry >= SideNavigation::kEntryCount || page == nullptr) return;
    QWidget*& slot = page_of_entry_[static_cast<std::size_t>(entry)];
    if (slot != nullptr) {
        pages_->removeWidget(slot);
        slot->deleteLater();
    }
    slot = page;
    int index = 0;
    for (int before = 0; before < entry; ++before)
        if (page_of_entry_[static_cast<std::size_t>(before)] != nullptr) ++index;
    pages_->insertWidget(index, page);
}

QWidget* MainWindow::Page(int entry) const {
    if (entry < 0 || entry >= SideNavigation::kEntryCount) return nullptr;
    return page_of_entry_[static_cast<std::size_t>(entry)];
}

void MainWindow::ShowPage(int entry) {
    if (QWidget* page = Page(entry)) pages_->setCurrentWidget(page);
}

void MainWindow::ShowSiteResources(const platform::SiteResources& resources) {
    // The platform draws its logo for the login window's larger place: here it is made to fit.
    logo_->setPixmap(
        ui::FitPicture(PngPixmap(resources.logo_image), logo_->size(), logo_->devicePixelRatioF()));
    banner1_->setPixmap(PngPixmap(resources.banner_image1));
    banner2_->setPixmap(PngPixmap(resources.banner_image2));
    help_caption_->setText(ui::Qs(resources.help_text));
}

void MainWindow::SetUserName(const std::string& name) {
    user_name_->setText(ui::Qs(name));
}

void MainWindow::SetNoticeLine(const std::string& line) {
    const QString text = ui::Qs(line);
    ui::OnUiThread([this, text] {
        notice_text_ = text;
        if (!connection_lost_) notice_->setText(text);
    });
}

void MainWindow::SetConnectionLost(bool lost) {
    if (lost == connection_lost_) return;
    connection_lost_ = lost;
    ui::LogEvent(lost ? "connection-lost" : "connection-back");
    notice_->setText(lost ? QString::fromUtf8(kConnectionLostText) : notice_text_);
}

void MainWindow::ClearCustomer() {
    user_name_->clear();
    connection_lost_ = false;
    notice_text_.clear();
    notice_->clear();
    emit customerCleared();
}

void MainWindow::OpenPersonalWindow() {
    // The window fetches the profile before it shows, and the window goes on handling
    // input meanwhile: the second click of a double-click would open a second one.
    if (personal_open_) return;
    personal_open_ = true;
    const QPointer<MainWindow> self(this);
    if (open_personal_) open_personal_();
    if (!self.isNull()) personal_open_ = false;
}

void MainWindow::OnCloseClicked() {
    tray_->Remove();
    emit closeRequested();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (TrayIcon::SystemTrayAvailable() || tray_->Menu() == nullptr) return;
    tray_->Menu()->popup(event->globalPos());
    event->accept();
}

void MainWindow::OnMinimizeClicked() {
    showMinimized();
    if (tray_->CanBringWindowBack()) hide();
}

}  // namespace vpsdesk::app
