#include "shop/gui/ServicePage.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

#include "ui/QtText.h"

namespace vpsdesk::shop {

ServicePage::ServicePage(QWidget* parent)
    : QWidget(parent),
      help_text_(new QLabel(this)),
      help_button_(new QPushButton(QStringLiteral("打开帮助中心"), this)),
      open_url_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("servicePage"));
    auto* title = new QLabel(QStringLiteral("客服中心"), this);
    title->setObjectName(QStringLiteral("serviceTitle"));
    title->setStyleSheet(QStringLiteral("font-size: 20px;"));
    title->setGeometry(20, 20, 400, 36);
    help_text_->setObjectName(QStringLiteral("serviceHelpText"));
    help_text_->setWordWrap(true);
    help_text_->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a number to copy
    help_text_->setStyleSheet(QStringLiteral("font-size: 15px;"));
    help_text_->setGeometry(20, 72, 600, 120);
    help_text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help_button_->setObjectName(QStringLiteral("serviceHelpButton"));
    help_button_->setGeometry(20, 210, 200, 36);
    help_button_->setEnabled(false);
    connect(help_button_, &QPushButton::clicked, this, [this] {
        if (address_.isValid() && open_url_) open_url_(address_);
    });
    ShowHelp({}, {});
}

void ServicePage::ShowHelp(const std::string& help_text, const QUrl& address) {
    help_text_->setText(help_text.empty() ? ui::Qs(kNoServiceText) : ui::Qs(help_text));
    address_ = address;
    help_button_->setEnabled(address_.isValid() && !address_.isEmpty());
}

}  // namespace vpsdesk::shop
