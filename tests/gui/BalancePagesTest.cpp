// The finance page, the card page and the recharge window against a reference platform
// with scripted replies: what each sends, and what the customer then sees.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "net/Gbk.h"
#include "shop/gui/CardPage.h"
#include "shop/gui/FinancePage.h"
#include "shop/gui/RechargeWindow.h"
#include "ui/HintEdit.h"
#include "ui/ResultIndicator.h"

using namespace vpsdesk;
using namespace vpsdesk::shop;

namespace {

const char* const kToken = "balance-pages-token";

const char* const kThreeRecords =
    R"({"count":3,"data":[)"
    R"({"attime":"2024-01-01 10:00","shouru":"10","zhichu":"0","zt":"成功","forwhat":"充值卡"},)"
    R"({"attime":"2024-01-02 10:00","shouru":"20.5","zhichu":"3","zt":"成功","forwhat":"在线"},)"
    R"({"attime":"2024-01-03 10:00","shouru":"","zhichu":"4","zt":"成功","forwhat":"续费"}]})";

class BalancePagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { platform_ = new ui::guitest::LocalPlatform(kToken, false); }
    static void TearDownTestSuite() {
        delete platform_;
        platform_ = nullptr;
    }
    void SetUp() override { platform_->Control("reset", {}, true); }

    static void Script(const std::string& path, const std::string& utf8_body) {
        platform_->Script(path, net::Utf8ToGbk(utf8_body));
    }
    // Paths and bodies (UTF-8) of the requests since the last clear, in order.
    static std::vector<std::pair<std::string, std::string>> Sent() {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& r : platform_->Requests())
            out.emplace_back(r.path, net::GbkToUtf8(r.body));
        return out;
    }
    static QString Cell(const FinancePage& page, int row, int column) {
        const QTableWidgetItem* item = page.List()->item(row, column);
        return item == nullptr ? QString() : item->text();
    }

    static ui::guitest::LocalPlatform* platform_;
};

ui::guitest::LocalPlatform* BalancePagesTest::platform_ = nullptr;

// Records every caption the button shows while a redemption runs.
std::vector<QString> CaptionsDuringRedemption(CardPage& page) {
    std::vector<QString> captions;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString text = page.CardButton()->text();
        if (captions.empty() || captions.back() != text) captions.push_back(text);
    });
    watch.start(1);
    page.CardButton()->click();
    watch.stop();
    if (captions.empty() || captions.back() != page.CardButton()->text())
        captions.push_back(page.CardButton()->text());
    return captions;
}

}  // namespace

TEST_F(BalancePagesTest, FinancePageShowsRowsTotalsAndKeepsThemOnAnUnreadableReply) {
    FinancePage page;
    page.SetSite(platform_->Site());
    page.show();
    EXPECT_EQ(page.IncomeTotal()->text(), QStringLiteral("￥0元"));
    ASSERT_EQ(page.PageSelector()->count(), 10);
    EXPECT_EQ(page.PageSelector()->itemText(9), QStringLiteral("10"));

    Script("/user/data/moneylist", kThreeRecords);
    page.LoadFinancePage("1");
    ASSERT_EQ(page.List()->rowCount(), 3);
    EXPECT_EQ(page.IncomeTotal()->text(), QStringLiteral("￥30元"));
    EXPECT_EQ(page.ExpenseTotal()->text(), QStringLiteral("￥7元"));
    EXPECT_EQ(Cell(page, 1, 1), QStringLiteral("￥20.5"));
    EXPECT_EQ(Cell(page, 2, 1), QStringLiteral("￥"));
    EXPECT_EQ(Cell(page, 2, 4), QStringLiteral("续费"));
    EXPECT_EQ(page.List()->item(0, 0)->foreground().color(), QColor(255, 255, 255, 255));
    EXPECT_EQ(page.List()->rowHeight(0), 45);

    // The same page again writes no cell.
    const int writes = page.CellWriteCount();
    Script("/user/data/moneylist", kThreeRecords);
    page.LoadFinancePage("1");
    EXPECT_EQ(page.CellWriteCount(), writes);

    // An error page says nothing about the records.
    Script("/user/data/moneylist", "<html>502 Bad Gateway</html>");
    page.LoadFinancePage("1");
    EXPECT_EQ(page.List()->rowCount(), 3);
    EXPECT_EQ(page.IncomeTotal()->text(), QStringLiteral("￥30元"));

    // A valid page without records empties the list.
    Script("/user/data/moneylist", R"({"count":0,"data":[]})");
    page.LoadFinancePage("1");
    EXPECT_EQ(page.List()->rowCount(), 0);
    EXPECT_EQ(page.IncomeTotal()->text(), QStringLiteral("￥元"));
    EXPECT_EQ(page.ExpenseTotal()->text(), QStringLiteral("￥元"));
}

// A reload writes only the cells whose text differs from what the page shows; every other
// cell keeps its item.
TEST_F(BalancePagesTest, AReloadRewritesOnlyTheCellsThatChanged) {
    const std::string base = kThreeRecords;
    auto replaced = [&base](const std::string& from, const std::string& to) {
        std::string text = base;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string fourth =
        R"(,{"attime":"2024-01-04 10:00","shouru":"1","zhichu":"0","zt":"成功","forwhat":"卡"}]})";
    struct Case {
        const char* what;
        std::string reply;
        int writes;
        int rows;
        int row, column;  // a cell that must read `text` afterwards
        QString text;
        QString income;
    };
    const Case cases[] = {
        {"a record's purpose", replaced("续费", "退款"), 1, 3, 2, 4, QStringLiteral("退款"),
         QStringLiteral("￥30元")},
        {"a record's income", replaced(R"("shouru":"10")", R"("shouru":"15")"), 1, 3, 0, 1,
         QStringLiteral("￥15"), QStringLiteral("￥35元")},
        {"a record added", replaced("]}", fourth), 5, 4, 3, 4, QStringLiteral("卡"),
         QStringLiteral("￥31元")},
        {"the last record gone", base.substr(0, base.find(R"(,{"attime":"2024-01-03)")) + "]}", 0,
         2, 1, 4, QStringLiteral("在线"), QStringLiteral("￥30元")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FinancePage page;
        page.SetSite(platform_->Site());
        page.show();
        Script("/user/data/moneylist", base);
        page.LoadFinancePage("1");
        const QTableWidgetItem* first = page.List()->item(0, 0);
        const int writes = page.CellWriteCount();

        Script("/user/data/moneylist", c.reply);
        page.LoadFinancePage("1");
        EXPECT_EQ(page.CellWriteCount() - writes, c.writes);
        ASSERT_EQ(page.List()->rowCount(), c.rows);
        EXPECT_EQ(Cell(page, c.row, c.column), c.text);
        EXPECT_EQ(page.List()->item(0, 0), first);
        EXPECT_EQ(page.IncomeTotal()->text(), c.income);
        for (int r = 0; r < c.rows; ++r)
            EXPECT_EQ(page.List()->item(r, 4)->foreground().color(), QColor(255, 255, 255, 255));
    }
}

// The set-up's load runs on the watcher thread; the rows still change on the UI thread.
TEST_F(BalancePagesTest, ALoadFromAWorkerIsAppliedOnTheUiThread) {
    FinancePage page;
    page.SetSite(platform_->Site());
    page.show();
    Script("/user/data/moneylist", kThreeRecords);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        page.LoadFinancePage("1");
        done = true;
    });
    ui::guitest::PumpUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(page.List()->rowCount(), 3);
    EXPECT_EQ(page.IncomeTotal()->text(), QStringLiteral("￥30元"));
}

TEST_F(BalancePagesTest, ChoosingPageThreeAsksForPageThreeOfFive) {
    FinancePage page;
    page.SetSite(platform_->Site());
    page.show();
    platform_->ClearLog();
    Script("/user/data/moneylist", kThreeRecords);
    page.PageSelector()->setCurrentIndex(2);
    emit page.PageSelector()->activated(2);
    EXPECT_FALSE(page.ChoiceLoading());
    EXPECT_TRUE(page.PageSelector()->isEnabled());
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "/user/data/moneylist?page=3&limit=5");
    EXPECT_EQ(page.List()->rowCount(), 3);
}

TEST_F(BalancePagesTest, UntouchedCardBoxesSendTheirHintsAndOnlyTheExactTextRedeems) {
    const struct {
        const char* reply;
        const char* result_caption;
        bool redeemed;
    } cases[] = {{"充值成功", "    充值成功", true},
                 {"充值成功\r\n", "    充值失败", false},
                 {"卡号或卡密错误", "    卡号密码错误", false}};
    for (const auto& c : cases) {
        platform_->ClearLog();
        Script("/user/pay/czkzf", c.reply);
        std::atomic<int> progress{0};
        bool redeemed = false;
        CardPage page;
        page.SetSite(platform_->Site());
        page.SetProgressState(&progress);
        page.SetRedeemedHandler([&] { redeemed = true; });
        page.show();
        EXPECT_TRUE(page.CardPassword()->IsPassword());

        const std::vector<QString> captions = CaptionsDuringRedemption(page);
        const std::vector<QString> expected = {QStringLiteral("    正在充值中"),
                                               QString::fromUtf8(c.result_caption),
                                               QStringLiteral("使用")};
        EXPECT_EQ(captions, expected) << c.reply;
        EXPECT_EQ(progress.load(), c.redeemed ? 2 : 3) << c.reply;
        EXPECT_EQ(redeemed, c.redeemed) << c.reply;
        EXPECT_TRUE(page.CardButton()->isEnabled());
        EXPECT_FALSE(page.Indicator()->isVisible());
        const auto sent = Sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0],
                  (std::pair<std::string, std::string>{"/user/pay/czkzf", "cid=卡号&cpass=卡密"}));
    }
}

TEST_F(BalancePagesTest, RechargeOpensTheReturnedAddressAndClosesTheWindow) {
    const std::string address = platform_->Url("/user/pay/page?order=0123");
    Script("/user/zfbzf", address);
    platform_->ClearLog();
    std::vector<QUrl> opened;
    RechargeWindow window(platform_->Site(), "张三");
    window.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    window.show();
    EXPECT_EQ(window.Account()->text(), QStringLiteral("张三"));
    window.Amount()->setText(QStringLiteral("50"));
    window.RechargeButton()->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QString::fromStdString(address)));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Sent().at(0),
              (std::pair<std::string, std::string>{"/user/zfbzf", "ORDERMONEY=50&USERNAME=张三"}));
}

TEST_F(BalancePagesTest, RechargeRefusalsShowAnErrorBoxAndKeepTheWindow) {
    const struct {
        const char* account;
        const char* amount;
        const char* reply;  // null: nothing may be sent
        const char* text;
    } cases[] = {{"", "50", nullptr, "账号不能为空"},
                 {"张三", "", nullptr, "金额不能为空"},
                 {"张三", "50", "", "充值失败"},
                 {"张三", "50", "file:///etc/passwd", "充值失败"}};
    for (const auto& c : cases) {
        platform_->ClearLog();
        if (c.reply != nullptr) Script("/user/zfbzf", c.reply);
        std::vector<QUrl> opened;
        RechargeWindow window(platform_->Site(), c.account);
        window.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
        window.show();
        window.Amount()->setText(QString::fromUtf8(c.amount));
        ui::guitest::ModalClicker clicker;
        clicker.Arm(&window, QStringLiteral("messageBoxOk"));
        window.RechargeButton()->click();
        EXPECT_TRUE(clicker.clicked) << c.text;
        EXPECT_EQ(clicker.title, QStringLiteral("错误")) << c.text;
        EXPECT_EQ(clicker.text, QString::fromUtf8(c.text));
        EXPECT_TRUE(opened.empty()) << c.text;
        EXPECT_TRUE(window.isVisible()) << c.text;
        EXPECT_EQ(Sent().size(), c.reply == nullptr ? 0u : 1u) << c.text;
    }
}

#endif
