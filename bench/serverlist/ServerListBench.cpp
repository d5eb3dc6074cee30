// Refreshing an unchanged five-row server page, against the reference platform's demo
// account. Figures:
//  - ApplyUnchangedPage: the UI-thread call of one refresh (notice, selector, rows); the
//    target is under 2 ms. Counter cell_writes must stay 0.
//  - RefreshFromWorker: a whole refresh as the keep-alive thread makes it (request, parse,
//    UI-thread call), for scale.
//    serverlist_bench [--benchmark_repetitions=5 --benchmark_report_aggregates_only=true]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <memory>
#include <thread>

#include "Platform.h"
#include "account/LoginApi.h"
#include "net/WebRequest.h"
#include "platform/SiteConstants.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"
#include "servers/gui/ServerListPage.h"
#include "ui/Waiting.h"

using namespace vpsdesk;

namespace {

servers::ServerListPage* g_page = nullptr;
platform::SiteConstants g_site;

void ApplyUnchangedPage(benchmark::State& state) {
    const servers::ServerPage page = servers::ParseServerPage(servers::FetchServerPage(g_site, 1));
    g_page->ApplyPage(page);  // the first load fills the list; the rest change nothing
    const int writes = g_page->CellWriteCount();
    for (auto _ : state) g_page->ApplyPage(page);
    state.counters["rows"] = static_cast<double>(page.rows.size());
    state.counters["cell_writes"] = g_page->CellWriteCount() - writes;
}
BENCHMARK(ApplyUnchangedPage)->Unit(benchmark::kMicrosecond);

void RefreshFromWorker(benchmark::State& state) {
    const int writes = g_page->CellWriteCount();
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            g_page->RefreshServerList();
            done = true;
        });
        // The UI thread serves the worker's call while it waits.
        while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        worker.join();
    }
    state.counters["cell_writes"] = g_page->CellWriteCount() - writes;
}
BENCHMARK(RefreshFromWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    platformd::PlatformOptions options;
    options.demo = true;
    options.threads = 4;
    platformd::Platform platform(options);
    g_site = {"127.0.0.1:" + std::to_string(platform.Start()), "Ver 4.92"};
    net::SetTlsSettings({platform.CaPath(), true});
    if (account::SilentRelogin(g_site, "demo", "demo2026", "0123456789ABCDEF") != "1000") return 1;

    auto page = std::make_unique<servers::ServerListPage>();
    page->SetSite(g_site);
    page->SetPageText(QStringLiteral("1"));
    page->show();
    g_page = page.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_page = nullptr;
    page.reset();
    platform.Stop();
    return 0;
}
