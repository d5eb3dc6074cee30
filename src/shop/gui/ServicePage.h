#pragma once
// The "客服中心" page: how to reach customer service. The platform's help text names the
// contact (the same text the main window shows under the navigation), and a button opens
// the operator's help address in the browser.
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace vpsdesk::shop {

inline constexpr std::string_view kNoServiceText = "客服信息暂未提供，请稍后再试";

class ServicePage : public QWidget {
    Q_OBJECT
  public:
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit ServicePage(QWidget* parent = nullptr);

    // UI thread: the platform's help text and the address the button opens.
    void ShowHelp(const std::string& help_text, const QUrl& address);
    // Where the address goes; the desktop's browser unless replaced.
    void SetUrlOpener(UrlOpener opener) { open_url_ = std::move(opener); }

    QLabel* HelpText() const { return help_text_; }
    QPushButton* HelpButton() const { return help_button_; }

  private:
    QLabel* help_text_;
    QPushButton* help_button_;
    QUrl address_;
    UrlOpener open_url_;
};

}  // namespace vpsdesk::shop
