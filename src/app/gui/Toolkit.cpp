#include "app/gui/Toolkit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vpsdesk::app {
namespace {

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

void PrintFailure(int code) {
    std::string line = std::string(kToolkitFailureMessage) + std::to_string(code) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

QtMessageHandler previous_handler = nullptr;

// Qt reports a platform plugin that cannot start as a fatal message and then aborts;
// this turns it into the client's own message and an orderly exit code.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (previous_handler) previous_handler(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    PrintFailure(kPlatformFailed);
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

std::unique_ptr<QApplication> OpenToolkit(int& argc, char** argv) {
    if (!Named("QT_QPA_PLATFORM") && !Named("DISPLAY") && !Named("WAYLAND_DISPLAY")) {
        PrintFailure(kNoDisplayNamed);
        return nullptr;
    }
    previous_handler = qInstallMessageHandler(StartupMessageHandler);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous_handler);
    // The menu entry's name, so that desktops match the windows to its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vpsdesk.Client"));
    return app;
}

}  // namespace vpsdesk::app
