// The customer-service page: the platform's contact text and the help address it opens.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <vector>

#include "shop/gui/ServicePage.h"

using vpsdesk::shop::ServicePage;

TEST(ServicePage, ShowsThePlatformsContactAndOpensTheHelpAddress) {
    ServicePage page;
    std::vector<QUrl> opened;
    page.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    EXPECT_EQ(page.HelpText()->text(), QStringLiteral("客服信息暂未提供，请稍后再试"));
    EXPECT_FALSE(page.HelpButton()->isEnabled()) << "nothing to open before start-up's fetch";

    page.ShowHelp("客服QQ：10000", QUrl(QStringLiteral("https://vps.example.com")));
    EXPECT_EQ(page.HelpText()->text(), QStringLiteral("客服QQ：10000"));
    page.HelpButton()->click();
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QStringLiteral("https://vps.example.com"))});
}
