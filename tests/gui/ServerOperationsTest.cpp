// The server operations and the renewal against a reference platform with scripted
// replies: what each window sends, what the customer is shown, whether the list is
// refreshed and whether the window stays.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "ScriptedPageTest.h"
#include "net/Gbk.h"
#include "platform/PlatformRequest.h"
#include "servers/gui/ChangePasswordWindow.h"
#include "servers/gui/InstallOsWindow.h"
#include "servers/gui/RenewWindow.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"
#include "servers/gui/ServerOperations.h"
#include "servers/gui/SetRemarkWindow.h"

using namespace vpsdesk;
using namespace vpsdesk::servers;
using ui::guitest::PumpUntil;

namespace {

std::string OneServerList(const std::string& password = "pw101") {
    nlohmann::ordered_json row = {{"id", 101},
                                  {"VPStype", "云服务器"},
                                  {"VPStypeID", 1},
                                  {"vpsname", "vps10001"},
                                  {"ycdz", "10.0.0.1:3389"},
                                  {"VPSpassword", password},
                                  {"CpuNum", "2"},
                                  {"MaxRAM", "4G"},
                                  {"Maxmbps8", "5M"},
                                  {"endtime", "2027-01-01 00:00:00"},
                                  {"status", "运行中"},
                                  {"corewhatuser", ""},
                                  {"zt", ""}};
    return nlohmann::ordered_json({{"count", 1}, {"data", {row}}}).dump();
}

class ServerOperationsTest : public ui::guitest::ScriptedPageTest {
  protected:
    void SetUp() override {
        ScriptedPageTest::SetUp();
        Script("/user/data/vpslist", OneServerList());
        page_->LoadServerPage(1);
        page_->List()->selectRow(0);
        platform_->ClearLog();

        const std::string base = platform_->Url("");
        context_.send = [base](const OperationRequest& r) { return platform::SendPlatformRequest(r, base); };
        context_.credentials = [] { return std::pair<std::string, std::string>{"demo", "p&w=1"}; };
        context_.balance = [this] { return balance_; };
        context_.host = [] { return platform_->Host(); };
        context_.show = [this](const OperationOutcome& outcome, QWidget*) {
            const std::lock_guard lock(shown_mutex_);
            shown_.push_back(outcome);
        };
    }
    std::vector<OperationOutcome> Shown() {
        const std::lock_guard lock(shown_mutex_);
        return shown_;
    }
    void WaitShown(std::size_t n) {
        PumpUntil([&] { return Shown().size() >= n; });
    }
    // Paths and bodies (UTF-8) of the requests since the last clear, in order.
    std::vector<std::pair<std::string, std::string>> Sent() {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& r : platform_->Requests())
            out.emplace_back(r.path, net::GbkToUtf8(r.body));
        return out;
    }
    bool Refreshed() {
        for (const auto& [path, body] : Sent())
            if (path.rfind("/user/data/vpslist", 0) == 0) return true;
        return false;
    }
    void WaitRefreshed() {
        PumpUntil([&] { return Refreshed(); });
    }
    template <typename Window>
    static void WaitLoaded(Window& window) {
        PumpUntil([&] { return !window.Loading(); });
    }

    ServerOperationContext context_;
    std::string balance_ = "100.00元";
    std::mutex shown_mutex_;
    std::vector<OperationOutcome> shown_;
};

}  // namespace

TEST_F(ServerOperationsTest, ARemarkIsSentRawWithTheAccountAndTheWindowAlwaysCloses) {
    const struct {
        const char* reply;
        const char* shown;
    } cases[] = {{"1000", "设置成功"}, {"1002", "字符非法"}, {"", "设置失败"}};
    for (const auto& c : cases) {
        platform_->ClearLog();
        shown_.clear();
        Script("/user/data/vpsbz", c.reply);
        SetRemarkWindow window(*page_, context_, nullptr);
        window.show();
        window.RemarkEdit()->setText(QStringLiteral("a&b=c 数据库"));
        window.SetButton()->click();
        ASSERT_EQ(Shown().size(), 1u) << c.reply;
        EXPECT_EQ(Shown()[0].text, c.shown);
        EXPECT_FALSE(window.isVisible()) << c.reply;
        const auto sent = Sent();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[0].first, "/user/data/vpsbz");
        EXPECT_EQ(sent[0].second, "username=demo&password=p&w=1&id=101&bz=a&b=c 数据库");
        EXPECT_TRUE(Refreshed()) << c.reply;
    }
}

TEST_F(ServerOperationsTest, RestartReadsTheStatusAsJsonOnAWorkerThenRefreshes) {
    const struct {
        const char* reply;
        const char* title;
        const char* text;
    } cases[] = {{R"({"status":200})", "提示", "操作成功，请耐心等待"},
                 {R"({"status":"200"})", "错误", R"({"status":"200"})"},
                 {"<html>bad gateway</html>", "错误", "<html>bad gateway</html>"}};
    for (const auto& c : cases) {
        platform_->ClearLog();
        shown_.clear();
        Script("/user/data/vpscz", c.reply);
        ASSERT_TRUE(StartRestart(*page_, context_, "101"));
        WaitShown(1);
        WaitRefreshed();
        EXPECT_EQ(Shown()[0].title, c.title);
        EXPECT_EQ(Shown()[0].text, c.text);
        EXPECT_EQ(Sent()[0].first, "/user/data/vpscz?id=101&cz=reset");
    }
}

TEST_F(ServerOperationsTest, InstallChoosesTheFirstOsAndSendsTheIdOfThePickedOne) {
    Script("/user/VPSIDos", R"({"count":3,"data":[{"osname":"Windows 2012","osid":"11"},
        {"osname":"Windows 2016","osid":"12"},{"osname":"CentOS 7","osid":"13"}]})");
    Script("/user/data/installos", "1000");
    InstallOsWindow window(*page_, context_, *page_->SelectedRow(), nullptr);
    window.show();
    WaitLoaded(window);
    EXPECT_EQ(window.OsBox()->currentText(), QStringLiteral("Windows 2012"));
    EXPECT_EQ(window.Choice().ChosenId(), "11");
    window.OsBox()->setCurrentIndex(2);
    window.InstallButton()->click();
    EXPECT_FALSE(window.isVisible()) << "the window closes at once; the install goes on";
    WaitShown(1);
    WaitRefreshed();
    EXPECT_EQ(Shown()[0].text, "重置成功，请耐心等待");
    const auto sent = Sent();
    EXPECT_EQ(sent[0], (std::pair<std::string, std::string>{"/user/VPSIDos", "id=101"}));
    EXPECT_EQ(sent[1],
              (std::pair<std::string, std::string>{"/user/data/installos", "osid=13&id=101"}));
}

TEST_F(ServerOperationsTest, AnEmptyOsListSaysInstallFailedAndSendsNothing) {
    Script("/user/VPSIDos", R"({"count":0,"data":[]})");
    InstallOsWindow window(*page_, context_, *page_->SelectedRow(), nullptr);
    window.show();
    WaitLoaded(window);
    window.InstallButton()->click();
    WaitShown(1);
    EXPECT_EQ(Shown()[0].text, "安装失败");
    EXPECT_EQ(Sent().size(), 1u) << "only the OS list: no install, no refresh";
}

TEST_F(ServerOperationsTest, ChangePasswordChecksLocallyThenReadsTheCodes) {
    ChangePasswordWindow window(*page_, context_, nullptr);
    window.show();
    window.PasswordEdit()->setText(QStringLiteral("Abc12345"));
    window.RepeatEdit()->setText(QStringLiteral("Abc12346"));
    window.ChangeButton()->click();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "两次密码不一致");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(window.isVisible());

    window.RepeatEdit()->setText(QStringLiteral("Abc12345"));
    const struct {
        const char* reply;
        const char* shown;  // nullptr: no box
    } refused[] = {{"1001", "密码设置失败请联系客服"},
                   {"1002", "密码格式错误，请输入6-20位之间的数字与字母"},
                   {"1003", "密码强度过低，请不要输入连号数字"},
                   {"ok", nullptr}};
    for (const auto& c : refused) {
        shown_.clear();
        platform_->ClearLog();
        Script("/user/data/vpspassword", c.reply);
        window.ChangeButton()->click();
        EXPECT_EQ(Shown()[0].box, c.shown ? BoxKind::Toolkit : BoxKind::None) << c.reply;
        if (c.shown) {
            EXPECT_EQ(Shown()[0].text, c.shown);
        }
        EXPECT_TRUE(window.isVisible()) << c.reply;
        EXPECT_FALSE(Refreshed()) << c.reply;
        EXPECT_EQ(Sent()[0].second, "password=Abc12345&id=101");
    }
    platform_->ClearLog();
    Script("/user/data/vpspassword", "1000");
    window.ChangeButton()->click();
    EXPECT_TRUE(Refreshed());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ServerOperationsTest, TabInTheConfirmationGoesBackToTheNewPassword) {
    ChangePasswordWindow window(*page_, context_, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    window.RepeatEdit()->setFocus();
    PumpUntil([&] { return window.RepeatEdit()->hasFocus(); });
    QTest::keyClick(window.RepeatEdit(), Qt::Key_Tab);
    EXPECT_TRUE(window.PasswordEdit()->hasFocus());
}

TEST_F(ServerOperationsTest, ARefundShowsTheTextAfterTheLastMarkerThenRefreshes) {
    Script("/user/ajax_tk_mng.asp", "<p>错误：旧</p>错误：本月已申请过退款</div>");
    int account_changes = 0;
    context_.account_changed = [&] { ++account_changes; };
    RequestRefund(*page_, context_, *page_->SelectedRow());
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].box, BoxKind::Timed);
    EXPECT_EQ(Shown()[0].title, "友情提醒");
    EXPECT_EQ(Shown()[0].text, "本月已申请过退款</div>");
    EXPECT_EQ(Sent()[0].first, "/user/ajax_tk_mng.asp?module=sqtk&id=101");
    EXPECT_TRUE(Refreshed());
    // Whatever the text says, a refund may have moved the balance.
    EXPECT_EQ(account_changes, 1);
}

TEST_F(ServerOperationsTest, RenewalOffersPeriodsByPriceAndChecksTheBalanceInWholeYuan) {
    Script("/user/xfjgb", R"({"data":[{"day":"0","month":"30","Annual":"300",
        "starttime":"2026-01-01 08:00:00","endtime":"2026-12-19 08:00:00"}]})");
    balance_ = "29.99元";
    int account_changes = 0;
    context_.account_changed = [&] { ++account_changes; };
    RenewWindow window(*page_, context_, *page_->SelectedRow(), nullptr);
    window.show();
    WaitLoaded(window);
    EXPECT_EQ(window.BalanceLabel()->text(), QStringLiteral("当前余额:29.99元"));
    EXPECT_FALSE(window.Option(RenewalPeriod::Day)->isEnabled());
    EXPECT_TRUE(window.Option(RenewalPeriod::Month)->isChecked());
    EXPECT_EQ(window.CostLabel()->text(), QStringLiteral("30元"));
    EXPECT_EQ(window.ExpiryLabel()->text(), QStringLiteral("2026-12-19 08:00:00"));
    window.Option(RenewalPeriod::Year)->setChecked(true);
    EXPECT_EQ(window.CostLabel()->text(), QStringLiteral("300元"));
    window.Option(RenewalPeriod::Month)->setChecked(true);

    platform_->ClearLog();
    window.RenewButton()->click();
    EXPECT_EQ(Shown().back().text, "余额不足");
    EXPECT_TRUE(Sent().empty());

    balance_ = "30.00元";
    Script("/user/data/xfbuy", "续费失败：主机已退款");
    window.RenewButton()->click();
    EXPECT_EQ(Shown().back().text, "续费失败：主机已退款");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(Refreshed());
    EXPECT_EQ(account_changes, 0);
    EXPECT_EQ(Sent()[0],
              (std::pair<std::string, std::string>{"/user/data/xfbuy", "year=month&id=101"}));

    Script("/user/data/xfbuy", "1000");
    window.RenewButton()->click();
    EXPECT_EQ(Shown().back().text, "续费成功");
    EXPECT_TRUE(Refreshed());
    EXPECT_FALSE(window.isVisible());
    // The balance the windows show is read again after the renewal.
    EXPECT_EQ(account_changes, 1);
}

TEST_F(ServerOperationsTest, TheRenewalsRechargeLinkOpensOverItAndShowsTheNewBalance) {
    Script("/user/xfjgb", R"({"data":[{"day":"1","month":"30","Annual":"300",
        "starttime":"2026-01-01 08:00:00","endtime":"2026-12-19 08:00:00"}]})");
    balance_ = "10.00元";
    std::vector<QWidget*> owners;
    context_.recharge = [&](QWidget* owner) {
        owners.push_back(owner);
        balance_ = "110.00元";  // paid while the recharge window was open
    };
    RenewWindow window(*page_, context_, *page_->SelectedRow(), nullptr);
    window.show();
    WaitLoaded(window);
    ASSERT_NE(window.RechargeLink(), nullptr);
    QTest::mouseClick(window.RechargeLink(), Qt::LeftButton);
    EXPECT_EQ(owners, (std::vector<QWidget*>{&window}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.BalanceLabel()->text(), QStringLiteral("当前余额:110.00元"));
}

TEST_F(ServerOperationsTest, TheMenuCarriesEveryEntryAndCopiesEvenAnEmptyCell) {
    AttachServerOperations(*page_, context_);
    page_->BuildContextMenu();
    QMenu* top = page_->ContextMenu()->TopMenu();
    QStringList captions;
    for (QAction* a : top->actions()) captions << a->text();
    EXPECT_EQ(captions,
              (QStringList{"复制主机IP", "管理主机", "复制主机密码", "复制售后名称", "设置备注"}));
    QStringList sub;
    for (QAction* a : top->actions()[1]->menu()->actions()) sub << a->text();
    EXPECT_EQ(sub, (QStringList{"重启主机", "重置系统", "续费主机", "申请退款", "修改密码"}));

    Script("/user/data/vpslist", OneServerList(""));
    page_->LoadServerPage(1);
    page_->List()->selectRow(0);
    top->actions()[2]->trigger();  // 复制主机密码
    WaitShown(1);
    EXPECT_EQ(Shown()[0].text, "复制成功");
    EXPECT_EQ(QApplication::clipboard()->text(), QString());
    top->actions()[0]->trigger();
    WaitShown(2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("10.0.0.1:3389"));
}

#endif
