// The longest stall of the UI event loop while the personal window loads the profile and
// while the real-name window submits, against a reference platform that delays every
// reply. A 1 ms timer probes the loop; the figure is the longest gap between its ticks.
//   profile_bench [latency_ms=2000] [rounds=3]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "Platform.h"
#include "account/LoginApi.h"
#include "account/gui/PersonalWindow.h"
#include "account/gui/RealNameWindow.h"
#include "net/ByteArray.h"
#include "net/WebRequest.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

using namespace vpsdesk;

namespace {

const char* const kToken = "profile-bench";

void Control(int port, const std::string& path) {
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    options.body_bytes = net::ByteArray();
    options.headers = std::string("X-Control-Token: ") + kToken;
    options.cookies_in = std::string();
    net::WebRequest("https://127.0.0.1:" + std::to_string(port) + "/__control/" + path, options);
}

struct Figures {
    qint64 total_ms = 0;
    qint64 longest_stall_ms = 0;
    qint64 stall_ended_at_ms = 0;  // when the longest stall ended, from the start
};

// Runs `action` on the UI thread while the probe ticks.
Figures Probe(const std::function<void()>& action) {
    QElapsedTimer clock;
    qint64 last = 0, longest = 0, ended_at = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > longest) {
            longest = now - last;
            ended_at = now;
        }
        last = now;
    });
    probe.start(1);
    clock.start();
    QApplication::processEvents();
    action();
    const qint64 total = clock.elapsed();
    if (total - last > longest) {
        longest = total - last;
        ended_at = total;
    }
    return {total, longest, ended_at};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int latency = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    platformd::PlatformOptions options;
    options.demo = true;
    options.control_token = kToken;
    options.threads = 8;
    platformd::Platform platform(options);
    const int port = platform.Start();
    platform::SessionState session;
    const account::AccountContext context{
        {"127.0.0.1:" + std::to_string(port), "Ver 4.92"}, session, ""};
    net::SetTlsSettings({platform.CaPath(), true});
    if (account::SilentRelogin(context.site, "13900139000", "demo2026", "0123456789ABCDEF") !=
        "1000") {
        std::fprintf(stderr, "sign-in failed\n");
        return 1;
    }
    session.SetRealNameStatus("未实名");
    Control(port, "latency?ms=" + std::to_string(latency));
    std::printf("platform latency %d ms, %d rounds\n", latency, rounds);

    for (int i = 0; i < rounds; ++i) {
        const Figures open = Probe([&] { account::PersonalWindow window(context); });
        std::printf(
            "personal window opens: %lld ms in all, longest UI stall %lld ms (ending at %lld ms)\n",
            static_cast<long long>(open.total_ms), static_cast<long long>(open.longest_stall_ms),
            static_cast<long long>(open.stall_ended_at_ms));
    }
    for (int i = 0; i < rounds; ++i) {
        account::RealNameWindow window(context);
        window.NameEdit()->setText(QStringLiteral("张三"));
        window.IdEdit()->setText(QStringLiteral("12345"));  // refused: the mismatch box
        // The mismatch box is closed as soon as it is up.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        closer.start(1);
        const Figures submit = Probe([&] { window.SubmitButton()->click(); });
        std::printf(
            "real-name submit (incl. closing the reply box): %lld ms in all, longest UI "
            "stall %lld ms (ending at %lld ms)\n",
            static_cast<long long>(submit.total_ms),
            static_cast<long long>(submit.longest_stall_ms),
            static_cast<long long>(submit.stall_ended_at_ms));
    }
    platform.Stop();
    return 0;
}
