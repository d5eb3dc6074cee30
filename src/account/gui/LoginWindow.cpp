#include "account/gui/LoginWindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>

#include "account/Recovery.h"
#include "account/gui/LoginPage.h"
#include "account/gui/LogoSprite.h"
#include "account/gui/PageSelector.h"
#include "account/gui/RecoveryPage.h"
#include "account/gui/RegistrationPage.h"
#include "ui/FadeAnimation.h"
#include "ui/FitPicture.h"
#include "ui/IndicatorFrames.h"
#include "ui/QtText.h"

namespace vpsdesk::account {
namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 460;
constexpr int kPagesTop = 110;
constexpr int kPagesHeight = 280;

}  // namespace

LoginWindow::LoginWindow(platform::SiteConstants site, platform::SessionState& session,
                         QWidget* parent)
    : ui::SkinnedWindow(parent), site_(std::move(site)) {
    setObjectName(QStringLiteral("loginWindow"));
    setFixedSize(kWidth, kHeight);

    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("logoPicture"));
    logo_->setGeometry(24, 16, 260, 64);
    logo_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The emblem starts playing as soon as the window exists.
    sprite_ = new LogoSprite(this);
    sprite_->move(300, 28);
    sprite_->Start();

    selector_ = new PageSelector(this);
    selector_->setGeometry(kWidth - 320, 44, 300, 40);
    connect(selector_, &PageSelector::entryChosen, this, [this](int entry) { ChoosePage(entry); });

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("loginPages"));
    pages_->setGeometry(0, kPagesTop, kWidth, kPagesHeight);
    login_page_ = new LoginPage(site_, session, pages_);
    pages_->addWidget(login_page_);
    registration_page_ = new RegistrationPage(site_, session.progress_state, pages_);
    pages_->addWidget(registration_page_);
    recovery_page_ = new RecoveryPage(site_, session.progress_state, pages_);
    pages_->addWidget(recovery_page_);
    connect(login_page_, &LoginPage::recoveryRequested, this, [this] { ShowPage(kRecoveryPage); });
    connect(recovery_page_, &RecoveryPage::backRequested, this, [this] { ShowPage(kLoginPage); });

    version_tick_ = new QLabel(this);
    version_tick_->setObjectName(QStringLiteral("versionTick"));
    version_tick_->setPixmap(QPixmap::fromImage(ui::indicator::DrawFrame(ui::indicator::kSuccessLast)));
    version_tick_->setGeometry(LoginPage::kPanelX, kHeight - 48, ui::indicator::kFrameSize,
                               ui::indicator::kFrameSize);
    version_label_ = new QLabel(QStringLiteral("恭喜，当前已是最新版本！"), this);
    version_label_->setObjectName(QStringLiteral("versionLabel"));
    version_label_->setGeometry(LoginPage::kPanelX + 30, kHeight - 48, 320,
                                ui::indicator::kFrameSize);
    // They appear by fading in at start-up.
    version_tick_->hide();
    version_label_->hide();
    version_fade_ = new ui::FadeAnimation(version_label_, this);
    tick_fade_ = new ui::FadeAnimation(version_tick_, this);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::SetAccountSettingsFile(const platform::AccountSettingsFile& file) {
    login_page_->SetSettingsFile(file);
}

void LoginWindow::SetMachineCode(const std::string& machine_code) {
    login_page_->SetMachineCode(machine_code);
}

void LoginWindow::SetPacing(const LoginPacing& pacing) {
    login_page_->SetPacing(pacing);
    registration_page_->SetPacing(pacing);
    recovery_page_->SetPacing(pacing);
}

void LoginWindow::ShowLogo(const net::ByteArray& png) {
    QPixmap picture;
    if (!png.empty()) picture.loadFromData(png.data(), static_cast<uint>(png.size()));
    if (picture.isNull()) {
        logo_->clear();
        return;
    }
    logo_->setPixmap(ui::FitPicture(picture, logo_->size(), logo_->devicePixelRatioF()));
}

void LoginWindow::FillRememberedLogin(const platform::AccountSettingsFile& file) {
    login_page_->FillRememberedLogin(file);
}

void LoginWindow::StartIntroAnimations() {
    login_page_->SlideIn();
    version_fade_->FadeIn();
    tick_fade_->FadeIn();
}

void LoginWindow::FetchCaptcha() {
    login_page_->FetchCaptcha();
}

void LoginWindow::FocusAccountBox() { login_page_->FocusAccountBox(); }

void LoginWindow::StartAutoLogin() { login_page_->StartAutoLogin(); }

void LoginWindow::EnableLoginButton() { login_page_->EnableLoginButton(); }

void LoginWindow::StopAnimations() {
    login_page_->StopAnimations();
    sprite_->Stop();
    registration_page_->StopAnimations();
    recovery_page_->StopAnimations();
    version_fade_->Stop();
    tick_fade_->Stop();
}

int LoginWindow::CurrentPage() const { return pages_->currentIndex(); }

void LoginWindow::OnCloseClicked() {
    StopAnimations();
    emit closeRequested();
}

void LoginWindow::ChoosePage(int entry) {
    switch (entry) {
        case PageSelector::kLogin:
            ShowPage(kLoginPage);
            break;
        case PageSelector::kRegister:
            ShowPage(kRegistrationPage);
            break;
        case PageSelector::kRecover:
            // A web page of the platform; the window stays on the page it shows.
            OpenRecoveryWebPage();
            selector_->ShowEntry(pages_->currentIndex());
            break;
        default:
            break;
    }
}

void LoginWindow::ShowPage(Page page) {
    const int previous = pages_->currentIndex();
    pages_->setCurrentIndex(page);
    if (previous != page) {
        // Each page's panel comes in from the right; the login page with a new captcha.
        switch (page) {
            case kLoginPage:
                login_page_->SlideIn();
                login_page_->FetchCaptcha();
                break;
            case kRegistrationPage:
                registration_page_->SlideIn();
                break;
            case kRecoveryPage:
                recovery_page_->SlideIn();
                break;
        }
    }
    selector_->ShowEntry(pages_->currentIndex());
}

void LoginWindow::OpenRecoveryWebPage() {
    QDesktopServices::openUrl(QUrl(ui::Qs(site_.BaseUrl() + std::string(kRecoveryWebPagePath))));
}

}  // namespace vpsdesk::account
