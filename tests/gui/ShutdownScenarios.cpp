#include "ShutdownScenarios.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <thread>

#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::ui::guitest {
namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "scenario failed: %s\n", what);
    return 1;
}

}  // namespace

int RunQuitScenario(int& argc, char** argv) {
    bool ran = false;
    if (OnUiThread([&] { ran = true; }) || ran) return Fail("a call ran without an application");

    std::atomic<bool> worker_released{false};
    std::atomic<int> calls_run{0};
    bool wait_returned = false;
    std::thread worker;
    {
        QApplication app(argc, argv);
        worker = std::thread([&] {
            // Every call that runs ends the main loop; the worker goes on asking until it
            // is turned away.
            while (OnUiThread([&] {
                ++calls_run;
                QCoreApplication::quit();
            })) {
            }
            worker_released = true;
        });
        QTimer::singleShot(0, [&] {
            WaitPumping(1, WaitUnit::Hours);
            wait_returned = true;
        });
        app.exec();
        if (!wait_returned) return Fail("the nested wait did not end with the loop");
        // Released while the application object still exists: nothing serves the UI
        // thread any more, so only the shut-down rule can free it.
        while (!worker_released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        worker.join();
        if (calls_run.load() < 1) return Fail("no call ran while the loop was running");
        ran = false;
        if (OnUiThread([&] { ran = true; }) || ran) return Fail("a call ran after the loop");
    }
    std::puts("quit scenario passed");
    return 0;
}

int RunDestroyScenario(int& argc, char** argv) {
    std::atomic<bool> calling{false};
    std::atomic<bool> ran{false};
    bool accepted = true;
    std::thread worker;
    {
        QApplication app(argc, argv);
        worker = std::thread([&] {
            calling = true;
            accepted = OnUiThread([&] { ran = true; });
        });
        while (!calling) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Most likely posted by now; refused outright is fine too. Either way the worker
        // must not wait for ever.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    if (accepted || ran) return Fail("a call to a destroyed application ran");
    if (IsUiThread()) return Fail("a UI thread without an application");
    if (OnUiThread([] {})) return Fail("a call after destruction was accepted");
    std::puts("destroy scenario passed");
    return 0;
}

}  // namespace vpsdesk::ui::guitest
