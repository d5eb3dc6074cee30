#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include "GuiTestSupport.h"
#include "ui/HintEdit.h"
#include "ui/ResultIndicator.h"
#include "ui/Skin.h"
#include "ui/SkinnedWindow.h"

using namespace vpsdesk::ui;

// Renders a skinned window with Chinese texts; the picture is kept for a person to look at.
TEST(Render, ChineseHintTextIsDrawnInASkinnedWindow) {
    const QFont font = skin::Font();
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(u'请')));
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(u'账')));

    SkinnedWindow window;
    window.resize(360, 200);
    QLabel title(QStringLiteral("用户登录"), &window);
    title.setGeometry(20, 12, 200, 24);
    HintEdit account(QStringLiteral("请输入账号"), HintEdit::Kind::Plain, &window);
    account.setObjectName(QStringLiteral("accountEdit"));
    account.setGeometry(40, 60, 280, 32);
    HintEdit password(QStringLiteral("密码"), HintEdit::Kind::Password, &window);
    password.setGeometry(40, 104, 280, 32);
    password.setText(QStringLiteral("secret"));
    ResultIndicator indicator(&window);
    indicator.move(40, 150);
    indicator.ShowFrame(39);
    window.show();
    guitest::PumpUntil([&] { return window.isVisible(); });

    const QImage image = window.grab().toImage();
    const QString path = QDir::tempPath() + QStringLiteral("/vpsdesk-skinned-window.png");
    EXPECT_TRUE(image.save(path));

    // The hint is drawn in its grey: some pixels inside the box are close to 0xB3B3B3.
    int grey = 0;
    const QImage box = image.copy(account.geometry());
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x) {
            const QColor c = box.pixelColor(x, y);
            if (c.red() > 140 && std::abs(c.red() - c.green()) < 12 &&
                std::abs(c.red() - c.blue()) < 12)
                ++grey;
        }
    EXPECT_GT(grey, 20);
}
