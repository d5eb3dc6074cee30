// The server operations and the renewal against the real platform: the windows and the
// menu's workers send their requests, and the list then shows what the platform did.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "E2eSupport.h"
#include "SignedInApplication.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "net/JsonDocument.h"
#include "net/Text.h"
#include "platform/PlatformRequest.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "servers/RemoteDesktopLaunch.h"
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

class ServerOperationsE2e : public SignedInApplication {
  protected:
    void SetUp() override {
        StartSignedIn({"--demo", "--busy-seconds", "2"});
        if (HasFatalFailure()) return;
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
        SignedInApplication::TearDown();
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

TEST_F(ServerOperationsE2e, ARemarkAppearsInTheListOrIsRefusedButNeverAltered) {
    const struct {
        const char* remark;
        const char* shown;
        const char* listed;
    } cases[] = {
        {"a=b 数据库", "设置成功", "a=b 数据库"},
        // Sent raw, "&" would split the form and "+" decode to a space: the platform
        // refuses them, and the list keeps the remark it had.
        {"a&b=c", "字符非法", "a=b 数据库"},
        {"C++ 主机", "字符非法", "a=b 数据库"},
    };
    for (const auto& c : cases) {
        Select("vps10003");
        SetRemarkWindow window(*page_, context_, nullptr);
        window.show();
        window.RemarkEdit()->setText(QString::fromUtf8(c.remark));
        window.SetButton()->click();
        EXPECT_EQ(LastShown(), c.shown) << c.remark;
        EXPECT_EQ(Cell("vps10003", column::kRemark), c.listed) << c.remark;
    }
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

TEST_F(ServerOperationsE2e, AnOperationWhoseReplyStallsSaysSoAndChangesNothing) {
    // One of each kind: on a worker, in a window with a failure text of its own, and in a
    // window whose own texts say nothing of a failed request, so the network message does.
    struct Case {
        const char* operation;
        const char* path;  // the request whose reply stalls
        const char* server;
        std::size_t column;  // the cell the operation would have changed
        std::function<void(const ServerRow&)> run;
        std::string_view shown;
    };
    const std::string_view network = vpsdesk::servers::kNetworkFailedText;
    const std::vector<Case> cases = {
        {"restart", "/user/data/vpscz", "vps10001", column::kStatus,
         [&](const ServerRow& row) {
             ASSERT_TRUE(StartRestart(*page_, context_, row[column::kId]));
         },
         network},
        {"remark", "/user/data/vpsbz", "vps10003", column::kRemark,
         [&](const ServerRow&) {
             SetRemarkWindow window(*page_, context_, nullptr);
             window.show();
             window.RemarkEdit()->setText(QStringLiteral("lost"));
             window.SetButton()->click();
         },
         "设置失败"},
        {"password", "/user/data/vpspassword", "vps10001", column::kPassword,
         [&](const ServerRow&) {
             ChangePasswordWindow window(*page_, context_, nullptr);
             window.show();
             window.PasswordEdit()->setText(QStringLiteral("Qa7x9Kp2"));
             window.RepeatEdit()->setText(QStringLiteral("Qa7x9Kp2"));
             window.ChangeButton()->click();
         },
         network},
    };
    const ShortStallLimit limit;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        {
            const std::lock_guard lock(shown_mutex_);
            shown_.clear();
        }
        const ServerRow row = Select(c.server);
        const std::string before = Cell(c.server, c.column);
        platform_->StallNextReply(c.path, R"({"status":200,"data":"1000"})");
        // The window goes on handling events while the operation waits out the stall.
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        c.run(row);
        EXPECT_EQ(LastShown(), c.shown);
        ticker.stop();
        EXPECT_GT(ticks, 0);
        // What the platform holds is unchanged, and the list still shows every row.
        page_->RefreshServerList();
        EXPECT_EQ(Cell(c.server, c.column), before);
        int rows = 0;
        while (page_->RowAt(rows)) ++rows;
        EXPECT_EQ(rows, 5);
        const std::lock_guard lock(shown_mutex_);
        EXPECT_EQ(shown_.size(), 1u);
    }
}
