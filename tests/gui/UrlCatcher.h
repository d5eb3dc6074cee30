#pragma once
// Catches what a window hands to the desktop's browser for as long as it lives, so that no
// browser opens during a test.
#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <utility>

namespace vpsdesk::ui::guitest {

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    explicit UrlCatcher(QString scheme = QStringLiteral("https")) : scheme_(std::move(scheme)) {
        QDesktopServices::setUrlHandler(scheme_, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }
    UrlCatcher(const UrlCatcher&) = delete;
    UrlCatcher& operator=(const UrlCatcher&) = delete;

    QList<QUrl> urls;

  public slots:
    void open(const QUrl& url) { urls.push_back(url); }

  private:
    QString scheme_;
};

}  // namespace vpsdesk::ui::guitest
