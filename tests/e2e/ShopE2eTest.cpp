// The shop against the real platform, as the demo customer: buying a server through the
// purchase page and window, redeeming a recharge card, and paying online in a real
// browser. Each checks what the customer then sees: the list, the balance, the records.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "SignedInApplication.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "platform/PlatformRequest.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "servers/gui/ServerListPage.h"
#include "shop/PurchaseQuote.h"
#include "shop/gui/CardPage.h"
#include "shop/gui/FinancePage.h"
#include "shop/gui/PurchasePage.h"
#include "shop/gui/PurchaseWindow.h"
#include "shop/gui/RechargeWindow.h"
#include "ui/HintEdit.h"

using namespace e2e;
namespace account = vpsdesk::account;
namespace platform = vpsdesk::platform;
namespace servers = vpsdesk::servers;
namespace shop = vpsdesk::shop;

namespace {

// "500.00元" or "30元" in cents; the platform keeps money to the cent.
long long Cents(const std::string& text) {
    return text.empty() ? -1 : std::llround(std::stod(text) * 100);
}

class ShopE2e : public SignedInApplication {
  protected:
    void SetUp() override {
        StartSignedIn({"--demo", "--busy-seconds", "2"});
        if (HasFatalFailure()) return;
        finance_ = std::make_unique<shop::FinancePage>();
        finance_->SetSite(site_);
    }
    void TearDown() override {
        finance_.reset();
        SignedInApplication::TearDown();
    }

    // The balance as the personal window would show it after a refresh, in cents.
    long long Balance() {
        EXPECT_TRUE(account::RefreshProfile(site_, session_));
        return Cents(session_.Profile().balance);
    }
    // Finance page 1 as the finance page shows it, newest first.
    std::vector<std::string> NewestRecord() {
        finance_->LoadFinancePage("1");
        std::vector<std::string> cells;
        for (int c = 0; c < finance_->List()->columnCount(); ++c) {
            const QTableWidgetItem* item = finance_->List()->item(0, c);
            cells.push_back(item != nullptr ? item->text().toStdString() : std::string());
        }
        return cells;
    }
    // Every server the list shows, over all its pages, by name.
    std::set<std::string> ListedServers() {
        servers::ServerListPage list;
        list.SetSite(site_);
        list.SetPageText(QStringLiteral("1"));
        list.LoadServerPage(1);
        std::set<std::string> names;
        const int pages = std::max(list.PageSelector()->count(), 1);
        for (int page = 1; page <= pages; ++page) {
            // As the page selector does: its text names the page to load.
            list.SetPageText(QString::number(page));
            if (page > 1) list.LoadServerPage(page);
            for (int i = 0; list.RowAt(i); ++i) names.insert((*list.RowAt(i))[servers::column::kName]);
        }
        return names;
    }
    shop::PurchaseContext PurchaseContext() {
        shop::PurchaseContext context;
        context.send = [base = site_.BaseUrl()](const shop::CatalogueRequest& request) {
            return platform::SendPlatformRequest(request, base);
        };
        context.balance = [this] { return session_.Profile().balance; };
        context.progress_state = &session_.main_progress_state;
        return context;
    }
    // The customer's picks: the first type, its first line, its first product.
    static void ChooseFirstProduct(shop::PurchasePage& page) {
        page.LoadProductTypes();
        ASSERT_GT(page.TypeSelector()->count(), 0);
        emit page.TypeSelector()->activated(0);
        ASSERT_GT(page.RegionSelector()->count(), 0);
        emit page.RegionSelector()->activated(0);
        ASSERT_GT(page.ProductList()->rowCount(), 0);
        page.ProductList()->selectRow(0);
    }
    // Pumps the UI thread until `done`, within the suite's generous limit.
    static bool PumpUntil(const std::function<bool()>& done) {
        return PollFor([&] {
            QApplication::processEvents();
            return done();
        });
    }

    std::unique_ptr<shop::FinancePage> finance_;
};

// The purchase window, once it has its offer: what it showed, then its open button.
struct PurchaseWindowDriver {
    QString fee;
    QString balance;
    QStringList boxes;  // any other modal box, closed so that a failure cannot hang the run
    bool opened = false;

    void Arm(QObject* owner) {
        auto* timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, owner, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            auto* window = qobject_cast<shop::PurchaseWindow*>(modal);
            if (window == nullptr) {
                boxes << modal->windowTitle() + QStringLiteral(": ") +
                             modal->property("text").toString();
                modal->close();
                return;
            }
            if (opened || window->Loading()) return;
            fee = window->FeeLabel()->text();
            balance = window->BalanceLabel()->text();
            opened = true;
            window->OpenButton()->click();
        });
        timer->start(20);
    }
};

}  // namespace

TEST_F(ShopE2e, BuyingAServerAddsItToTheListChargesTheFeeAndRecordsIt) {
    const long long before = Balance();
    const std::string balance_text = session_.Profile().balance;
    const std::set<std::string> listed = ListedServers();
    // The demo's servers fill more than one page of five, so every page is counted.
    ASSERT_GT(listed.size(), 5u);

    shop::PurchasePage page(PurchaseContext());
    page.show();
    bool finished = false;
    QObject::connect(&page, &shop::PurchasePage::purchaseFinished, [&] { finished = true; });
    ASSERT_NO_FATAL_FAILURE(ChooseFirstProduct(page));
    const std::string model = page.ProductList()->item(0, 0)->text().toStdString();

    PurchaseWindowDriver driver;
    driver.Arm(&page);
    page.BuyButton()->click();
    ASSERT_TRUE(driver.opened) << driver.boxes.join(QStringLiteral("; ")).toStdString();
    ASSERT_TRUE(PumpUntil([&] { return finished; }));
    EXPECT_TRUE(driver.boxes.isEmpty()) << driver.boxes.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(page.BuyButton()->text().toStdString(), shop::kBuyCaption);

    const std::string fee_caption(shop::kFeeCaption);
    ASSERT_TRUE(driver.fee.toStdString().starts_with(fee_caption)) << driver.fee.toStdString();
    const long long fee = Cents(driver.fee.toStdString().substr(fee_caption.size()));
    ASSERT_GT(fee, 0);
    EXPECT_EQ(driver.balance.toStdString(), "当前余额:" + balance_text);
    EXPECT_EQ(Balance(), before - fee);

    std::set<std::string> now_listed = ListedServers();
    EXPECT_EQ(now_listed.size(), listed.size() + 1);
    for (const std::string& name : listed) now_listed.erase(name);
    EXPECT_EQ(now_listed.size(), 1u) << "one new server, with a name of its own";

    const std::vector<std::string> record = NewestRecord();
    ASSERT_EQ(record.size(), 5u);
    EXPECT_EQ(record[1], "￥0.00");
    EXPECT_EQ(Cents(record[2].substr(std::string("￥").size())), fee);
    EXPECT_EQ(record[4], "购买" + model + "（一个月）");
}

TEST_F(ShopE2e, AnOrderWhoseReplyStallsSaysTheNetworkFailedAndChargesNothing) {
    const ShortStallLimit limit;
    const long long before = Balance();
    const std::set<std::string> listed = ListedServers();
    shop::PurchasePage page(PurchaseContext());
    page.show();
    ASSERT_NO_FATAL_FAILURE(ChooseFirstProduct(page));

    platform_->StallNextReply("/user/data/buy", R"({"status":200,"data":"ok"})");
    PurchaseWindowDriver driver;
    driver.Arm(&page);
    page.BuyButton()->click();
    ASSERT_TRUE(driver.opened) << driver.boxes.join(QStringLiteral("; ")).toStdString();
    ASSERT_TRUE(PumpUntil([&] { return !driver.boxes.isEmpty(); }));
    EXPECT_EQ(driver.boxes, QStringList{QStringLiteral("错误: 网络连接失败，请检查网络后重试")});
    EXPECT_TRUE(PumpUntil([&] { return page.BuyButton()->text().toStdString() == shop::kBuyCaption; }));
    EXPECT_EQ(Balance(), before);
    EXPECT_EQ(ListedServers(), listed);
}

TEST_F(ShopE2e, AProductTypeListThatStallsLeavesTheSelectorEmptyUntilTheNextLoad) {
    const ShortStallLimit limit;
    shop::PurchasePage page(PurchaseContext());
    page.show();
    platform_->StallNextReply("/user/cplxlist", R"({"count":2,"data":[{"id":1,"name":"A"}]})");
    page.LoadProductTypes();
    EXPECT_EQ(page.TypeSelector()->count(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    page.LoadProductTypes();
    EXPECT_GT(page.TypeSelector()->count(), 0);
}

TEST_F(ShopE2e, ACardCreditsItsValueOnceAndIsRefusedTheSecondTime) {
    const long long before = Balance();
    shop::CardPage cards;
    cards.SetSite(site_);
    cards.SetProgressState(&session_.main_progress_state);
    int redeemed = 0;
    cards.SetRedeemedHandler([&] { ++redeemed; });
    cards.show();
    // The demo's second card, worth 100 元.
    cards.CardNumber()->setText(QStringLiteral("CZK100002"));
    cards.CardPassword()->setText(QStringLiteral("pass3112"));

    // The result captions show for a second; sampled far more often than that.
    QStringList captions;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString caption = cards.CardButton()->text();
        if (captions.isEmpty() || captions.back() != caption) captions << caption;
    });
    sampler.start(10);

    cards.CardButton()->click();
    EXPECT_TRUE(captions.contains(QStringLiteral("    充值成功"))) << captions.join('|').toStdString();
    EXPECT_EQ(redeemed, 1);
    EXPECT_EQ(Balance(), before + 10000);
    EXPECT_EQ(NewestRecord()[1], "￥100.00");

    // The same card again: the platform refuses a used card, which is neither a success
    // nor a wrong number or password.
    captions.clear();
    cards.CardButton()->click();
    EXPECT_TRUE(captions.contains(QStringLiteral("    充值失败"))) << captions.join('|').toStdString();
    EXPECT_FALSE(captions.contains(QStringLiteral("    充值成功")));
    EXPECT_EQ(redeemed, 1);
    EXPECT_EQ(Balance(), before + 10000);
    EXPECT_EQ(cards.CardButton()->text(), QStringLiteral("使用"));
    EXPECT_TRUE(cards.CardButton()->isEnabled());
}

TEST_F(ShopE2e, PayingOnlineInABrowserCreditsTheAmountOnce) {
    std::string missing;
    const std::optional<BrowserTools> tools = FindBrowserTools(missing);
    if (!tools) GTEST_SKIP() << missing;

    const long long before = Balance();
    QUrl opened;
    shop::RechargeWindow window(site_, "demo");
    window.SetUrlOpener([&](const QUrl& url) { opened = url; });
    window.show();
    window.Amount()->setText(QStringLiteral("12.34"));
    window.RechargeButton()->click();
    ASSERT_TRUE(opened.isValid()) << "no payment page was opened";
    EXPECT_FALSE(window.isVisible());
    // Nothing is credited until the customer pays.
    EXPECT_EQ(Balance(), before);

    const BrowserRun run = RunBrowserScript(
        *tools, "pay.js",
        {"--url", opened.toString().toStdString(), "--account", "demo", "--amount", "12.34"},
        root_.Path());
    EXPECT_EQ(run.code, 0) << run.output;

    EXPECT_EQ(Balance(), before + 1234) << run.output;
    const std::vector<std::string> record = NewestRecord();
    EXPECT_EQ(record[1], "￥12.34");
    EXPECT_EQ(record[4], "在线充值");
}
