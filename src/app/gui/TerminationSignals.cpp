#include "app/gui/TerminationSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "app/gui/ExitClient.h"
#include "net/WebRequest.h"

namespace vpsdesk::app {
namespace {

int signal_pipe[2] = {-1, -1};

// Only async-signal-safe work here. The UI thread picks the byte up; the cancel comes
// first because the UI thread may be inside a request that would otherwise keep it from
// ever reading the byte.
void OnSignal(int) {
    net::CancelAllRequests();
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(signal_pipe[0], &byte, 1);
}

}  // namespace

void EndOnTerminationSignals(QObject* parent) {
    if (signal_pipe[0] != -1) return;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0) return;
    net::PrepareCancelFromSignals();
    auto* notifier = new QSocketNotifier(signal_pipe[1], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        char byte = 0;
        [[maybe_unused]] ssize_t got = read(signal_pipe[1], &byte, 1);
        notifier->setEnabled(false);
        ExitClient(0);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace vpsdesk::app
