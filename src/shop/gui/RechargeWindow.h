#pragma once
// "充值中心": the account to credit and the amount; the platform answers with the address
// of a payment page, which opens in the desktop's browser and closes the window. The
// request runs with the window responsive and its button disabled.
#include <QUrl>
#include <functional>
#include <string>

#include "platform/SiteConstants.h"
#include "ui/SkinnedWindow.h"

class QLineEdit;
class QPushButton;

namespace vpsdesk::shop {

class RechargeWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // `user_name` fills the account box: the platform's user name as last read.
    RechargeWindow(platform::SiteConstants site, const std::string& user_name,
                   QWidget* parent = nullptr);

    // Where the payment page goes; the desktop's browser unless replaced.
    void SetUrlOpener(UrlOpener opener) { open_url_ = std::move(opener); }

    // What the recharge button does.
    void RequestPaymentPage();

    QLineEdit* Account() const { return account_; }
    QLineEdit* Amount() const { return amount_; }
    QPushButton* RechargeButton() const { return button_; }

  private:
    QLineEdit* AddField(const QString& caption, const QString& object_name, int y);

    platform::SiteConstants site_;
    QLineEdit* account_;
    QLineEdit* amount_;
    QPushButton* button_;
    UrlOpener open_url_;
};

}  // namespace vpsdesk::shop
