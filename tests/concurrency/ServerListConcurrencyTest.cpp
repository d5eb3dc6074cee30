// Loads of the server list from several workers and the UI thread at once, against the
// reference platform's demo account (seven servers on two pages). Each load rewrites the
// list in one UI-thread call, so whenever the UI thread looks, the list shows one page.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "Platform.h"
#include "account/LoginApi.h"
#include "net/WebRequest.h"
#include "platform/PlatformApi.h"
#include "platform/SiteConstants.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"
#include "servers/gui/ServerListPage.h"

using namespace vpsdesk;
using servers::ServerRow;

namespace {

constexpr int kWorkers = 3;
constexpr int kLoadsPerWorker = 200;

std::vector<ServerRow> Shown(const servers::ServerListPage& page) {
    std::vector<ServerRow> rows;
    for (int r = 0; page.RowAt(r); ++r) rows.push_back(*page.RowAt(r));
    return rows;
}

}  // namespace

TEST(ServerListConcurrency, LoadsFromEveryThreadAlwaysLeaveOnePageShown) {
    platformd::PlatformOptions options;
    options.demo = true;
    options.threads = 8;
    platformd::Platform platform(options);
    const int port = platform.Start();
    const platform::SiteConstants site{"127.0.0.1:" + std::to_string(port), "Ver 4.92"};
    net::SetTlsSettings({platform.CaPath(), true});
    ASSERT_EQ(account::SilentRelogin(site, "demo", "demo2026", "0123456789ABCDEF"), "1000");

    const std::vector<ServerRow> first =
        servers::ParseServerPage(servers::FetchServerPage(site, 1)).rows;
    const std::vector<ServerRow> second =
        servers::ParseServerPage(servers::FetchServerPage(site, 2)).rows;
    ASSERT_EQ(first.size(), 5u);
    ASSERT_EQ(second.size(), 2u);

    auto page = std::make_unique<servers::ServerListPage>();
    page->SetSite(site);
    page->SetPageText(QStringLiteral("1"));
    page->show();

    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (int i = 0; i < kLoadsPerWorker; ++i) {
                if ((i + w) % 3 == 0)
                    page->RefreshServerList();
                else
                    page->LoadServerPage((i + w) % 3);  // page 1, or the shown page
            }
            finished.fetch_add(1);
        });
    }

    // The UI thread flips pages, now and then by choosing an entry (a load of its own),
    // and checks what the list shows between the workers' rewrites.
    int ticks = 0;
    int mismatches = 0;
    QTimer flipper;
    QObject::connect(&flipper, &QTimer::timeout, [&] {
        ++ticks;
        const std::vector<ServerRow> rows = Shown(*page);
        if (!rows.empty() && rows != first && rows != second) ++mismatches;
        if (!rows.empty() && page->Notice()->text() != "") ++mismatches;
        const int target = ticks % 2;  // index of the entry: page 1 or 2
        if (ticks % 25 == 0 && page->PageSelector()->count() == 2) {
            page->PageSelector()->setCurrentIndex(target);
            emit page->PageSelector()->activated(target);
        } else {
            page->SetPageText(QString::number(target + 1));
        }
    });
    flipper.start(1);
    ui::guitest::PumpUntil([&] { return finished.load() == kWorkers; });
    flipper.stop();
    for (std::thread& t : workers) t.join();

    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(ticks, 0);
    const std::vector<ServerRow> last = Shown(*page);
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(page->PageSelector()->count(), 2);

    page.reset();
    platform::PlatformLogout(site);
    net::SetTlsSettings({});
    platform.Stop();
}
