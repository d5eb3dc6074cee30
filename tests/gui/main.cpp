// The GUI tests share one QApplication on the main thread, which is the UI thread. The
// shut-down scenarios need an application of their own and run in a child process.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string_view>

#include "ShutdownScenarios.h"

int main(int argc, char** argv) {
    using namespace vpsdesk::ui::guitest;
    if (const char* scenario = std::getenv(kScenarioVariable)) {
        const std::string_view name(scenario);
        if (name == "quit") return RunQuitScenario(argc, argv);
        if (name == "destroy") return RunDestroyScenario(argc, argv);
        return 2;
    }
    // The tests are written for the offscreen platform; test discovery starts the binary
    // without the environment the test runs get.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
