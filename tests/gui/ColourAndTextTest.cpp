#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>

#include "GuiTestSupport.h"
#include "ui/Colour.h"
#include "ui/QtText.h"
#include "ui/Skin.h"

using namespace vpsdesk::ui;

TEST(Colour, WindowsValueBecomesOpaqueArgbWithRedAndBlueSwapped) {
    EXPECT_EQ(ArgbFromWindowsColour(0x000000FF), 0xFFFF0000u);  // red
    EXPECT_EQ(ArgbFromWindowsColour(0x00FF0000), 0xFF0000FFu);  // blue
    EXPECT_EQ(ArgbFromWindowsColour(0x00123456), 0xFF563412u);
    EXPECT_EQ(ArgbFromWindowsColour(0x00B3B3B3), 0xFFB3B3B3u);
    // The unused top byte of the Windows value must not leak into the alpha.
    EXPECT_EQ(ArgbFromWindowsColour(0x7F000000), 0xFF000000u);
    EXPECT_EQ(ArgbFromWindowsColour(0x00E6E6E6, 0xBB), 0xBBE6E6E6u);

    const QColor grey = ColourFromArgb(0xBBE6E6E6);
    EXPECT_EQ(grey.alpha(), 0xBB);
    EXPECT_EQ(grey.red(), 0xE6);
    EXPECT_EQ(StyleSheetColour(0xFF0A0B0C), QStringLiteral("#ff0a0b0c"));
}

TEST(QtText, ChineseSurvivesTheRoundTripAndBadBytesDoNot) {
    const std::string text = "请输入账号 ●";
    EXPECT_EQ(Qs(text).size(), 7);
    EXPECT_EQ(U8(Qs(text)), text);
    EXPECT_EQ(U8(Qs("")), "");
    // A broken sequence is replaced, not cut off: the rest of the text stays.
    EXPECT_EQ(U8(Qs("a\xE8z")), "a\xEF\xBF\xBDz");
}

TEST(Skin, ADropDownsListIsDarkUnderTheSkinsWhiteText) {
    QWidget window;
    window.setStyleSheet(vpsdesk::ui::skin::DarkStyleSheet());
    auto* box = new QComboBox(&window);
    box->addItems({QStringLiteral("云服务器"), QStringLiteral("显卡云服务器")});
    window.show();
    box->showPopup();
    QAbstractItemView* list = box->view();
    vpsdesk::ui::guitest::PumpUntil([&] { return list->isVisible(); });
    const QPalette palette = list->palette();
    EXPECT_EQ(palette.color(QPalette::Text), QColor(Qt::white));
    EXPECT_LT(palette.color(QPalette::Base).lightness(), 100)
        << "white on a light list is unreadable";
    box->hidePopup();
}
