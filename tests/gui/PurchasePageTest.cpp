// The purchase page and window with scripted platform replies: the customer's picks fill
// the selectors and the list, the window shows prices, periods and dates, and an order
// plays its captions and ends in the error box when the platform refuses it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QTest>
#include <vector>
#include <thread>

#include "GuiTestSupport.h"
#include "ScriptedCatalogue.h"
#include "shop/gui/PurchasePage.h"
#include "shop/gui/PurchaseWindow.h"
#include "ui/ResultIndicator.h"

using namespace vpsdesk;
using namespace vpsdesk::shop;
using ui::guitest::PumpUntil;

namespace {

class PurchasePageTest : public ::testing::Test {
  protected:
    PurchaseContext Context() {
        PurchaseContext context;
        context.send = platform_.Sender();
        context.balance = [] { return std::string("50.00元"); };
        context.progress_state = &state_;
        context.today = [] { return net::DateTime{2024, 1, 31, 9, 0, 0}; };
        return context;
    }

    test::ScriptedCatalogue platform_;
    std::atomic<int> state_{0};
};

}  // namespace

TEST_F(PurchasePageTest, PicksFillRegionsThenWhiteProductRows) {
    platform_.Reply("/user/cplxlist", R"({"count":1,"data":[{"cplxmc":"云电脑","id":7}]})");
    platform_.Reply("/user/xllist", R"({"count":2,"data":[{"xlmc":"宿迁"},{"xlmc":"宿迁"}]})");
    platform_.Reply("/user/xlmchq", R"({"data":[{"id":4}]})");
    platform_.Reply("/user/ycplist",
                    R"({"count":2,"data":[{"id":12,"VPStype":"A","CpuNum":2,"month":39}]})");
    PurchasePage page(Context());
    page.LoadProductTypes();
    page.LoadProductTypes();  // a second sign-in appends them again
    EXPECT_EQ(page.TypeSelector()->count(), 2);

    page.LoadRegions();
    EXPECT_EQ(page.RegionSelector()->count(), 1);
    EXPECT_EQ(page.RegionSelector()->currentText(), QStringLiteral("宿迁"));
    // Its text is read-only, yet a click on it opens the list like the arrow does.
    page.show();
    QTest::mouseClick(page.RegionSelector()->lineEdit(), Qt::LeftButton);
    EXPECT_TRUE(page.RegionSelector()->view()->isVisible());
    page.RegionSelector()->hidePopup();

    page.LoadProducts();
    QTableWidget* list = page.ProductList();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("2核"));
    EXPECT_EQ(list->item(0, 5)->text(), QStringLiteral("39元/月"));
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("核"));
    EXPECT_EQ(list->item(1, 1)->foreground().color(), QColor(255, 255, 255, 255));
    EXPECT_EQ(list->rowHeight(0), 45);
}

TEST_F(PurchasePageTest, BuyingWithoutARowAsksForAProduct) {
    PurchasePage page(Context());
    ui::guitest::ModalClicker box;
    box.Arm(&page, QStringLiteral("messageBoxOk"));
    page.Buy();
    EXPECT_TRUE(box.clicked);
    EXPECT_EQ(box.title, QStringLiteral("信息："));
    EXPECT_EQ(box.text, QStringLiteral("请选择购买的产品"));
    EXPECT_TRUE(platform_.Sent().empty());
}

TEST_F(PurchasePageTest, TheWindowOffersPeriodsByPriceAndCarriesTheChosenOs) {
    platform_.Reply("/user/ycpjgb", R"({"data":[{"day":0,"month":39,"Annual":300}]})");
    platform_.Reply("/user/ycpos",
                    R"({"count":2,"data":[{"osid":3,"osname":"W"},{"osid":9,"osname":"C"}]})");
    PurchaseWindow window(Context(), "12", nullptr);
    PumpUntil([&] { return !window.Loading(); });

    EXPECT_TRUE(window.Option(PurchasePeriod::Month)->isChecked());
    EXPECT_FALSE(window.Option(PurchasePeriod::Day)->isEnabled());
    EXPECT_TRUE(window.Option(PurchasePeriod::Year)->isEnabled());
    EXPECT_EQ(window.FeeLabel()->text(), QStringLiteral("扣除费用：39元"));
    EXPECT_EQ(window.BalanceLabel()->text(), QStringLiteral("当前余额:50.00元"));
    EXPECT_EQ(window.OpeningLabel()->text(), QStringLiteral("开通时间：2024年01月31日"));
    EXPECT_EQ(window.ExpiryLabel()->text(), QStringLiteral("到期时间：2024年02月29日"));

    window.Option(PurchasePeriod::Year)->click();
    EXPECT_EQ(window.FeeLabel()->text(), QStringLiteral("扣除费用：300元"));
    EXPECT_EQ(window.ExpiryLabel()->text(), QStringLiteral("到期时间：2025年01月31日"));

    window.OsSelector()->setCurrentIndex(1);
    window.OpenButton()->click();
    ASSERT_TRUE(window.Accepted());
    EXPECT_EQ(window.Accepted()->Request().form, "year=Annual&id=12&osid=9&duration=1");
}

TEST_F(PurchasePageTest, TheRechargeLinkOpensOverTheWindowAndABalanceChangeShows) {
    std::string balance = "5.00元";
    std::vector<QWidget*> owners;
    PurchaseContext context = Context();
    context.balance = [&] { return balance; };
    context.recharge = [&](QWidget* owner) { owners.push_back(owner); };
    PurchaseWindow window(context, "12", nullptr);
    window.show();
    PumpUntil([&] { return !window.Loading(); });
    EXPECT_EQ(window.BalanceLabel()->text(), QStringLiteral("当前余额:5.00元"));
    QTest::mouseClick(window.RechargeLink(), Qt::LeftButton);
    EXPECT_EQ(owners, (std::vector<QWidget*>{&window}));
    EXPECT_TRUE(window.isVisible());
    // Paid in the browser later: the keep-alive stores the new balance, the window follows.
    balance = "105.00元";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window.BalanceLabel()->text() == QStringLiteral("当前余额:105.00元"); },
        5000));
}

TEST_F(PurchasePageTest, ARefusedOrderShowsTheErrorBoxAndRestoresTheButton) {
    platform_.Reply("/user/data/buy", R"({"status":"200","data":"x"})");
    PurchasePage page(Context());
    ui::guitest::ModalClicker box;
    box.Arm(&page, QStringLiteral("messageBoxOk"));
    bool done = false;
    QObject::connect(&page, &PurchasePage::purchaseFinished, [&] { done = true; });
    std::thread worker([&page] { page.RunPurchase({"12", "3", PurchasePeriod::Month}); });
    PumpUntil([&] { return page.BuyButton()->text() == QStringLiteral("  开通中"); });
    EXPECT_FALSE(page.BuyButton()->isEnabled());
    PumpUntil([&] { return done; });
    worker.join();
    EXPECT_TRUE(box.clicked);
    EXPECT_EQ(box.title, QStringLiteral("错误"));
    EXPECT_EQ(box.text, QStringLiteral("x"));
    EXPECT_EQ(state_.load(), kOrderFailed);
    EXPECT_EQ(page.BuyButton()->text(), QStringLiteral("购买"));
    EXPECT_TRUE(page.BuyButton()->isEnabled());
    EXPECT_TRUE(page.Indicator()->isHidden());
}
