// The server page against a reference platform with scripted list replies: what the list,
// the notice and the page selector show after each reply, which page is asked for, and
// what the right-click, the menu and the double-click hand to the features.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "ScriptedPageTest.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/WebRequest.h"
#include "platform/SiteConstants.h"
#include "servers/ServerPage.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"
#include "ui/Colour.h"
#include "ui/UiThread.h"

using namespace vpsdesk;
using servers::MenuLevel;
using servers::ServerListPage;
using servers::ServerRow;
using ui::guitest::PumpUntil;
namespace column = servers::column;

namespace {

struct Server {
    long long id = 1;
    std::string type = "云服务器";
    std::string name = "售后";
    std::string address = "127.0.0.1:3389";
    std::string password = "pw";
    std::string status = "运行中";
    std::string zt;
    std::string remark;
};

std::vector<Server> Servers(int n, long long first_id = 101) {
    std::vector<Server> out;
    for (int i = 0; i < n; ++i) {
        Server s;
        s.id = first_id + i;
        s.name = "售后" + std::to_string(s.id);
        s.address = "127.0.0.1:" + std::to_string(4000 + s.id);
        s.password = "pw" + std::to_string(s.id);
        out.push_back(s);
    }
    return out;
}

std::string ListReply(long long count, const std::vector<Server>& servers) {
    nlohmann::ordered_json doc;
    doc["count"] = count;
    doc["data"] = nlohmann::ordered_json::array();
    for (const Server& s : servers) {
        doc["data"].push_back({{"id", s.id},
                               {"VPStype", s.type},
                               {"VPStypeID", 1},
                               {"vpsname", s.name},
                               {"ycdz", s.address},
                               {"VPSpassword", s.password},
                               {"CpuNum", "2"},
                               {"MaxRAM", "4G"},
                               {"Maxmbps8", "5M"},
                               {"endtime", "2027-01-01 00:00:00"},
                               {"status", s.status},
                               {"corewhatuser", s.remark},
                               {"zt", s.zt}});
    }
    return doc.dump();
}

// Every list reply is scripted.
class ServerListPageTest : public ui::guitest::ScriptedPageTest {
  protected:
    // The next list reply is `json` (UTF-8 here, GBK on the wire).
    void ScriptList(const std::string& json, int status = 200) {
        platform_->Script("/user/data/vpslist", net::Utf8ToGbk(json), status);
    }
    void Load(long long count, const std::vector<Server>& servers, int page = 1) {
        ScriptList(ListReply(count, servers));
        page_->LoadServerPage(page);
    }
    std::vector<std::string> RequestedTargets() {
        std::vector<std::string> out;
        for (const ui::guitest::LoggedRequest& r : platform_->Requests()) out.push_back(r.path);
        return out;
    }

    servers::ServerListView* List() { return page_->List(); }
    QStringList Entries() {
        QStringList out;
        for (int i = 0; i < page_->PageSelector()->count(); ++i)
            out << page_->PageSelector()->itemText(i);
        return out;
    }
    QString Notice() { return page_->Notice()->text(); }

    void RightClick(int row_y) {
        QWidget* viewport = List()->viewport();
        const QPoint at(20, row_y);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
    }
    void RightClickRow(int row) { RightClick(List()->rowViewportPosition(row) + 10); }
    QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    QAction* Entry(QMenu* menu, const QString& caption) {
        for (QAction* action : menu->actions())
            if (action->text() == caption) return action;
        return nullptr;
    }
    QStringList Captions(QMenu* menu) {
        QStringList out;
        for (QAction* action : menu->actions()) out << action->text();
        return out;
    }
};

}  // namespace

TEST_F(ServerListPageTest, TheCountDecidesTheSelectorEntriesAndTheNotice) {
    Load(5, Servers(5));
    EXPECT_EQ(Entries(), QStringList{"1"});
    EXPECT_EQ(List()->rowCount(), 5);
    EXPECT_EQ(Notice(), "");

    Load(6, Servers(5));
    EXPECT_EQ(Entries(), (QStringList{"1", "2"}));
    Load(10, Servers(5));
    EXPECT_EQ(Entries(), (QStringList{"1", "2"}));

    Load(0, {});
    EXPECT_EQ(List()->rowCount(), 0);
    EXPECT_EQ(Notice(), "没有开通的云服务器");
    EXPECT_EQ(Entries(), (QStringList{"1", "2"})) << "no servers leaves the selector alone";
    EXPECT_EQ(page_->PageText(), "1");

    Load(6, Servers(1));
    EXPECT_EQ(Notice(), "");
    EXPECT_EQ(List()->rowCount(), 1);
}

TEST_F(ServerListPageTest, AFailedReloadKeepsTheRowsAndTheSelection) {
    Load(6, Servers(5));
    List()->selectRow(3);
    const std::optional<ServerRow> selected = page_->SelectedRow();
    for (int status : {500, 200}) {
        for (const char* reply :
             {"", "<html>维护中</html>", R"({"status":401,"data":"请先登录"})"}) {
            SCOPED_TRACE(reply);
            ScriptList(reply, status);
            page_->LoadServerPage(1);
            EXPECT_EQ(List()->rowCount(), 5);
            EXPECT_EQ(page_->SelectedRow(), selected);
            EXPECT_EQ(Notice(), "");
            EXPECT_EQ(Entries(), (QStringList{"1", "2"}));
        }
    }
    // Only a reply that says there are no servers empties the list.
    Load(0, {});
    EXPECT_EQ(List()->rowCount(), 0);
    EXPECT_EQ(Notice(), "没有开通的云服务器");
}

TEST_F(ServerListPageTest, ALoadStillOutAtSignOutIsNotShown) {
    Load(5, Servers(5));
    platform_->Control("script?path=/user/data/vpslist&delay_ms=400",
                       net::Utf8ToGbk(ListReply(5, Servers(5, 300))), true);
    std::atomic<bool> done{false};
    std::thread late([&] {
        page_->LoadServerPage(1);
        done = true;
    });
    QTest::qWait(100);
    page_->ClearCustomer();
    EXPECT_EQ(List()->rowCount(), 0);
    EXPECT_EQ(page_->PageText(), "1");
    EXPECT_TRUE(Entries().isEmpty());
    PumpUntil([&] { return done.load(); });
    late.join();
    EXPECT_EQ(List()->rowCount(), 0);
}

TEST_F(ServerListPageTest, TheSelectorTextDecidesWhichPageIsAskedFor) {
    for (const char* text : {"0", "1", "第二页", ""}) {
        page_->SetPageText(QString::fromUtf8(text));
        ScriptList(ListReply(0, {}));
        page_->RefreshServerList();
    }
    page_->SetPageText(QStringLiteral("3"));
    ScriptList(ListReply(15, Servers(5)));
    page_->RefreshServerList();
    ScriptList(ListReply(15, Servers(5)));
    page_->LoadServerPage(2);  // a later page means the one the selector shows

    const std::string base = "/user/data/vpslist?page=";
    const std::string tail = "&limit=5&ljs=1";
    EXPECT_EQ(RequestedTargets(),
              (std::vector<std::string>{base + "1" + tail, base + "1" + tail, base + "1" + tail,
                                        base + "1" + tail, base + "3" + tail, base + "3" + tail}));
}

TEST_F(ServerListPageTest, ChoosingAnEntryLoadsThatPageWithTheWindowResponsive) {
    Load(7, Servers(5));
    platform_->Control("script?path=/user/data/vpslist&delay_ms=300",
                       net::Utf8ToGbk(ListReply(7, Servers(2, 106))), true);
    QComboBox* selector = page_->PageSelector();
    QTest::mouseClick(selector->lineEdit(), Qt::LeftButton);
    // The popup may roll open.
    EXPECT_TRUE(QTest::qWaitFor([&] { return selector->view()->isVisible(); }, 2000))
        << "a click on the text opens the entries";
    selector->hidePopup();
    platform_->ClearLog();

    // While the page is out, events are handled and the selector takes no second choice.
    int ticks = 0;
    bool selector_shut = true;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++ticks;
        selector_shut = selector_shut && !selector->isEnabled() && page_->ChoiceLoading();
    });
    probe.start(10);
    selector->setCurrentIndex(1);
    emit selector->activated(1);
    probe.stop();

    EXPECT_GT(ticks, 5);
    EXPECT_TRUE(selector_shut);
    EXPECT_TRUE(selector->isEnabled());
    EXPECT_EQ(page_->PageText(), "2");
    EXPECT_EQ(List()->rowCount(), 2);
    EXPECT_EQ(page_->RowAt(0).value()[column::kId], "106");
    EXPECT_EQ(RequestedTargets(),
              std::vector<std::string>{"/user/data/vpslist?page=2&limit=5&ljs=1"});
}

TEST_F(ServerListPageTest, AnAccountThatShrankBelowTheShownPageKeepsTheSelectorText) {
    Load(7, Servers(5));
    page_->SetPageText(QStringLiteral("2"));
    Load(7, Servers(2, 106), 2);
    ASSERT_EQ(List()->rowCount(), 2);

    Load(5, {}, 2);  // the account dropped to five servers
    EXPECT_EQ(List()->rowCount(), 0);
    EXPECT_EQ(Notice(), "") << "a positive count shows no notice";
    EXPECT_EQ(Entries(), QStringList{"1"});
    EXPECT_EQ(page_->PageText(), "2");

    ScriptList(ListReply(5, {}));
    page_->RefreshServerList();
    EXPECT_EQ(RequestedTargets().back(), "/user/data/vpslist?page=2&limit=5&ljs=1");
}

TEST_F(ServerListPageTest, RowsFollowTheMarkerCountAndTheStatusRules) {
    std::vector<Server> servers = Servers(4);
    servers[0].zt = "重启中";
    servers[1].status = "已到期";
    servers[1].zt = "退款审核中";
    servers[2].zt = "";
    servers[3].remark = "备注里写着 vpstypeid";
    Load(4, servers);

    ASSERT_EQ(List()->rowCount(), 5) << "the lower-case marker inside a value counts too";
    EXPECT_EQ(page_->RowAt(0).value()[column::kStatus], "重启中");
    EXPECT_EQ(page_->RowAt(1).value()[column::kStatus], "已到期");
    EXPECT_EQ(page_->RowAt(2).value()[column::kStatus], "运行中");
    const ServerRow expected = {"云服务器", "售后104", "127.0.0.1:4104",      "运行中",
                                "24G5M",    "",        "2027-01-01 00:00:00", "",
                                "104",      "pw104",   "备注里写着 vpstypeid"};
    EXPECT_EQ(page_->RowAt(3).value(), expected);
    EXPECT_EQ(page_->RowAt(4).value(), ServerRow{}) << "the extra row has no members";
    EXPECT_FALSE(page_->RowAt(5).has_value());
}

TEST_F(ServerListPageTest, AnUnchangedRefreshWritesNothingAndAChangeOnlyItsCell) {
    Load(5, Servers(5));
    List()->selectRow(2);
    const int writes = page_->CellWriteCount();
    Load(5, Servers(5));
    EXPECT_EQ(page_->CellWriteCount(), writes);
    EXPECT_EQ(List()->SelectedRowIndex(), 2);

    std::vector<Server> changed = Servers(5);
    changed[3].status = "已关机";
    QTableWidgetItem* status = List()->item(3, column::kStatus);
    status->setForeground(Qt::red);  // so the rewrite's colour shows
    Load(5, changed);
    EXPECT_EQ(page_->CellWriteCount(), writes + 1);
    EXPECT_EQ(status->text(), "已关机");
    EXPECT_EQ(status->foreground().color(), ui::ColourFromArgb(0xFFFFFFFF));
    EXPECT_EQ(List()->item(2, column::kStatus)->foreground().color(), QColor(Qt::white));
    EXPECT_EQ(List()->SelectedRowIndex(), 2);

    Load(5, Servers(4));
    EXPECT_EQ(List()->rowCount(), 4);
    EXPECT_EQ(List()->SelectedRowIndex(), -1) << "a different row count replaces the rows";
}

TEST_F(ServerListPageTest, ALoadFromAWorkerRewritesTheListOnTheUiThread) {
    ScriptList(ListReply(6, Servers(3)));
    bool done = false;
    std::thread worker([&] {
        page_->LoadServerPage(1);
        ui::OnUiThread([&] { done = true; });
    });
    PumpUntil([&] { return done; });
    worker.join();
    EXPECT_EQ(List()->rowCount(), 3);
    EXPECT_EQ(Entries(), (QStringList{"1", "2"}));
}

TEST_F(ServerListPageTest, TheMenuActsOnTheRightClickedRowEvenAfterASameSizeRefresh) {
    std::vector<ServerRow> copied;
    page_->AddMenuEntry(MenuLevel::Top, QStringLiteral("复制主机IP"),
                        [&](const ServerRow& row) { copied.push_back(row); });
    page_->BuildContextMenu();
    Load(5, Servers(5));
    List()->selectRow(0);

    RightClickRow(3);
    EXPECT_EQ(List()->SelectedRowIndex(), 3);
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);

    std::vector<Server> moved = Servers(5);
    moved[3].address = "10.9.9.9:3389";
    Load(5, moved);
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(Entry(menu, QStringLiteral("复制主机IP"))).center());
    PumpUntil([&] { return !copied.empty(); });
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0][column::kAddress], "10.9.9.9:3389");
    EXPECT_EQ(copied[0][column::kId], "104");
}

TEST_F(ServerListPageTest, ARightClickBelowTheRowsShowsNoMenu) {
    page_->AddMenuEntry(MenuLevel::Top, QStringLiteral("复制主机IP"), [](const ServerRow&) {});
    page_->BuildContextMenu();
    Load(5, Servers(2));
    List()->selectRow(1);
    RightClick(List()->rowViewportPosition(1) + servers::ServerListView::kRowHeight + 20);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_EQ(List()->SelectedRowIndex(), 1);
}

TEST_F(ServerListPageTest, TheGateRunsBeforeEveryEntryAndCanStopIt) {
    int gate_calls = 0;
    bool pass = false;
    std::vector<std::string> restarted;
    page_->SetMenuGate([&] {
        ++gate_calls;
        return pass;
    });
    page_->AddMenuEntry(MenuLevel::Sub, QStringLiteral("重启主机"),
                        [&](const ServerRow& row) { restarted.push_back(row[column::kId]); });
    page_->BuildContextMenu();
    Load(5, Servers(3));
    RightClickRow(1);
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    QAction* manage = Entry(menu, QStringLiteral("管理主机"));
    ASSERT_NE(manage, nullptr);
    QAction* restart = Entry(manage->menu(), QStringLiteral("重启主机"));
    ASSERT_NE(restart, nullptr);

    restart->trigger();
    EXPECT_EQ(gate_calls, 1);
    EXPECT_TRUE(restarted.empty());
    pass = true;
    restart->trigger();
    EXPECT_EQ(gate_calls, 2);
    EXPECT_EQ(restarted, std::vector<std::string>{"102"});
    menu->close();
}

TEST_F(ServerListPageTest, TheMenuKeepsItsFixedOrderAndEntrySize) {
    auto none = [](const ServerRow&) {};
    page_->BuildContextMenu();
    RightClickRow(0);  // no rows yet: nothing to click
    EXPECT_EQ(OpenMenu(), nullptr);

    for (const char* caption : {"设置备注", "复制主机IP", "连接主机"})
        page_->AddMenuEntry(MenuLevel::Top, QString::fromUtf8(caption), none);
    page_->AddMenuEntry(MenuLevel::Top, QStringLiteral("管理主机"), none);
    QMenu* menu = page_->ContextMenu()->TopMenu();
    EXPECT_EQ(Captions(menu), (QStringList{"连接主机", "复制主机IP", "设置备注"}))
        << "a registration after the build rebuilds, and 管理主机 waits for sub-entries";

    for (const char* caption : {"修改密码", "重启主机", "续费主机"})
        page_->AddMenuEntry(MenuLevel::Sub, QString::fromUtf8(caption), none);
    page_->BuildContextMenu();
    menu = page_->ContextMenu()->TopMenu();
    EXPECT_EQ(Captions(menu), (QStringList{"连接主机", "复制主机IP", "管理主机", "设置备注"}));
    QMenu* sub = Entry(menu, QStringLiteral("管理主机"))->menu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Captions(sub), (QStringList{"重启主机", "续费主机", "修改密码"}));

    Load(5, Servers(1));
    RightClickRow(0);
    ASSERT_EQ(OpenMenu(), menu);
    for (QAction* action : menu->actions())
        EXPECT_EQ(menu->actionGeometry(action).size(), QSize(300, 28))
            << action->text().toStdString();
    EXPECT_TRUE(menu->font().families().contains(QStringLiteral("微软雅黑")));
    menu->close();
}

TEST_F(ServerListPageTest, DoubleClickConnectsWithTheRowsTextsOnceAHandlerIsSet) {
    Load(5, Servers(3));
    const QPoint cell = List()->visualItemRect(List()->item(1, column::kAddress)).center();
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, cell);  // no handler: nothing

    int gate_calls = 0;
    page_->SetMenuGate([&] { return ++gate_calls > 0; });
    std::vector<ServerRow> connected;
    page_->SetConnectHandler([&](const ServerRow& row) { connected.push_back(row); });
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(connected.size(), 1u);
    EXPECT_EQ(connected[0][column::kAddress], "127.0.0.1:4102");
    EXPECT_EQ(connected[0][column::kPassword], "pw102");
    EXPECT_EQ(gate_calls, 0) << "a double-click does not pass the gate";
}

TEST_F(ServerListPageTest, TheListHasItsElevenColumnsAndFixedGeometry) {
    auto* list = List();
    ASSERT_EQ(list->columnCount(), 11);
    const QStringList titles = {"产品类型", "名称", "IP/远程地址", "状态", "配置", "带宽",
                                "到期日期", "类型", "ID",          "密码", "备注"};
    const int widths[] = {130, 0, 160, 100, 80, 0, 120, 0, 0, 0, 100};
    int shown = 0;
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(list->horizontalHeaderItem(c)->text(), titles[c]);
        EXPECT_EQ(list->isColumnHidden(c), widths[c] == 0) << c;
        if (widths[c] > 0) {
            EXPECT_EQ(list->columnWidth(c), widths[c]) << c;
        }
        shown += list->isColumnHidden(c) ? 0 : list->columnWidth(c);
    }
    EXPECT_EQ(shown, 690);
    EXPECT_EQ(list->width(), 703);
    Load(5, Servers(2));
    EXPECT_EQ(list->rowHeight(0), 45);
}

#endif
