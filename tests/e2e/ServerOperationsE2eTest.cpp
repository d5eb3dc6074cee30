// The server operations and the renewal against the real platform: the windows and the
// menu's workers send their requests, and the list then shows what the platform did.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "net/JsonDocument.h"
#include "net/Text.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "servers/RemoteDesktopLaunch.h"
#include "platform/PlatformRequest.h"
#include "servers/gui/ChangePasswordWindow.h"
#include "servers/gui/InstallOsWindow.h"
#include "servers/gui/RenewWindow.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"
#include "servers/gui/ServerOperations.h"
#include "servers/gui/SetRemarkWindow.h"

using namespace e2e;
using namespace vpsdesk::servers;
namespace account = vpsdesk::account;
namespace platform = vpsdesk::platform;

namespace {

class ServerOperationsE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
        platform_ = std::make_unique<Platform>(
            root_ / "platform", std::vector<std::string>{"--demo", "--busy-seconds", "2"});
        site_ = {platform_->Site(), "Ver 4.92"};
        ASSERT_EQ(account::SilentRelogin(site_, "demo", "demo2026", "E2E"), "1000");
        ASSERT_TRUE(account::RefreshProfile(site_, session_));
        page_ = std::make_unique<ServerListPage>();
        page_->SetSite(site_);
        page_->SetPageText(QStringLiteral("1"));
        page_->LoadServerPage(1);

        context_.send = [base = site_.BaseUrl()](const OperationRequest& r) {
            return platform::SendPlatformRequest(r, base);
        };
        context_.credentials = [] {
            return std::pair<std::string, std::string>{"demo", "demo2026"};
        };
        context_.balance = [this] { return session_.Profile().balance; };
        context_.host = [this] { return site_.site_host; };
        context_.show = [this](const OperationOutcome& outcome, QWidget*) {
            const std::lock_guard lock(shown_mutex_);
            shown_.push_back(outcome.text);
        };
    }
    void TearDown() override {
        page_.reset();
        application_.reset();
    }

    // Selects the row of the server named `name` and returns it.
    ServerRow Select(const std::string& name) {
        for (int i = 0; page_->RowAt(i); ++i) {
            if ((*page_->RowAt(i))[column::kName] != name) continue;
            page_->List()->selectRow(i);
            return *page_->RowAt(i);
        }
        ADD_FAILURE() << name << " is not listed";
        return {};
    }
    std::string Cell(const std::string& name, std::size_t column) {
        for (int i = 0; page_->RowAt(i); ++i)
            if ((*page_->RowAt(i))[column::kName] == name) return (*page_->RowAt(i))[column];
        return {};
    }
    // Refreshes until the cell reads `text`; false when it never does.
    bool CellBecomes(const std::string& name, std::size_t column, const std::string& text) {
        return PollFor(
            [&] {
                page_->RefreshServerList();
                QApplication::processEvents();
                return Cell(name, column) == text;
            },
            std::chrono::seconds(30));
    }
    std::string LastShown() {
        PollFor([&] {
            QApplication::processEvents();
            const std::lock_guard lock(shown_mutex_);
            return !shown_.empty();
        });
        const std::lock_guard lock(shown_mutex_);
        return shown_.empty() ? std::string() : shown_.back();
    }
    long long FinanceRecords() {
        OperationRequest request;
        request.post = true;
        request.path = "/user/data/moneylist?page=1&limit=5";
        vpsdesk::net::JsonDocument doc;
        doc.Parse(context_.send(request).text);
        return vpsdesk::net::TextToInt(doc.GetText("count"));
    }

    int argc_ = 1;
    char name_[10] = "e2e_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
    TempFolder root_;
    std::unique_ptr<Platform> platform_;
    platform::SiteConstants site_;
    platform::SessionState session_;
    std::unique_ptr<ServerListPage> page_;
    ServerOperationContext context_;
    std::mutex shown_mutex_;
    std::vector<std::string> shown_;
};

}  // namespace

TEST_F(ServerOperationsE2e, RestartShowsRestartingThenRunning) {
    const ServerRow row = Select("vps10001");
    ASSERT_TRUE(StartRestart(*page_, context_, row[column::kId]));
    EXPECT_EQ(LastShown(), "操作成功，请耐心等待");
    EXPECT_TRUE(CellBecomes("vps10001", column::kStatus, "重启中"));
    EXPECT_TRUE(CellBecomes("vps10001", column::kStatus, "运行中"));
}

TEST_F(ServerOperationsE2e, ReinstallShowsReinstalling) {
    InstallOsWindow window(*page_, context_, Select("vps10002"), nullptr);
    window.show();
    ASSERT_TRUE(PollFor([&] {
        QApplication::processEvents();
        return !window.Loading();
    }));
    ASSERT_GT(window.OsBox()->count(), 0);
    window.InstallButton()->click();
    EXPECT_EQ(LastShown(), "重置成功，请耐心等待");
    EXPECT_TRUE(CellBecomes("vps10002", column::kStatus, "重装系统中"));
}

TEST_F(ServerOperationsE2e, ARemarkAppearsInTheList) {
    Select("vps10003");
    SetRemarkWindow window(*page_, context_, nullptr);
    window.show();
    window.RemarkEdit()->setText(QStringLiteral("a&b=c 数据库"));
    window.SetButton()->click();
    EXPECT_EQ(LastShown(), "设置成功");
    EXPECT_EQ(Cell("vps10003", column::kRemark), "a&b=c 数据库");
}

TEST_F(ServerOperationsE2e, ANewServerPasswordIsWhatTheNextConnectionUses) {
    Select("vps10001");
    ChangePasswordWindow window(*page_, context_, nullptr);
    window.show();
    window.PasswordEdit()->setText(QStringLiteral("Qa7x9Kp2"));
    window.RepeatEdit()->setText(QStringLiteral("Qa7x9Kp2"));
    window.ChangeButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Cell("vps10001", column::kPassword), "Qa7x9Kp2");
    const std::optional<ConnectionPlan> plan = PlanConnection(Select("vps10001"));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->password, "Qa7x9Kp2");
}

TEST_F(ServerOperationsE2e, RenewingMovesTheExpiryLowersTheBalanceAndAddsARecord) {
    const std::string expiry = Cell("vps10004", column::kExpiry);
    const long long balance = vpsdesk::net::TextToInt(session_.Profile().balance);
    const long long records = FinanceRecords();
    RenewWindow window(*page_, context_, Select("vps10004"), nullptr);
    window.show();
    ASSERT_TRUE(PollFor([&] {
        QApplication::processEvents();
        return !window.Loading();
    }));
    const long long price = vpsdesk::net::TextToInt(window.CostLabel()->text().toStdString());
    ASSERT_GT(price, 0);
    window.RenewButton()->click();
    EXPECT_EQ(LastShown(), "续费成功");
    EXPECT_FALSE(window.isVisible());
    EXPECT_GT(Cell("vps10004", column::kExpiry), expiry);
    ASSERT_TRUE(account::RefreshProfile(site_, session_));
    EXPECT_EQ(vpsdesk::net::TextToInt(session_.Profile().balance), balance - price);
    EXPECT_EQ(FinanceRecords(), records + 1);
}

TEST_F(ServerOperationsE2e, ARefundShowsItsStateInTheList) {
    RequestRefund(*page_, context_, Select("vps10002"));
    EXPECT_EQ(LastShown(), "申请成功，请等待客服审核");
    EXPECT_EQ(Cell("vps10002", column::kStatus), "退款审核中");
}

TEST_F(ServerOperationsE2e, ARestartWhoseReplyStallsSaysTheNetworkFailedAndChangesNothing) {
    const ShortStallLimit limit;
    const ServerRow row = Select("vps10001");
    const std::string status = Cell("vps10001", column::kStatus);
    platform_->StallNextReply("/user/data/vpscz", R"({"status":200,"data":"ok"})");
    ASSERT_TRUE(StartRestart(*page_, context_, row[column::kId]));
    // The worker waits out the stall while the window goes on handling events.
    EXPECT_EQ(LastShown(), vpsdesk::servers::kNetworkFailedText);
    // The refresh that follows finds the server as it was, in a list of five.
    EXPECT_TRUE(CellBecomes("vps10001", column::kStatus, status));
    int rows = 0;
    while (page_->RowAt(rows)) ++rows;
    EXPECT_EQ(rows, 5);
    const std::lock_guard lock(shown_mutex_);
    EXPECT_EQ(shown_.size(), 1u);
}
