// platformd: the reference platform. Serves HTTPS on loopback until SIGTERM or SIGINT.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "Platform.h"

namespace {

void Usage() {
    std::fprintf(
        stderr,
        "usage: platformd [--port N] [--bind ADDR] [--db FILE] [--demo [--customers N]]\n"
        "                 [--tls-dir DIR] [--control-token TOKEN] [--update-file FILE]\n"
        "                 [--threads N] [--rdp-address HOST:PORT [--rdp-password PW]]\n"
        "                 [--busy-seconds N]\n"
        "  --port 0 (the default) picks a free port. Printed at start: \"port N\" first,\n"
        "  \"ca PATH\" next, the demo accounts when seeded, and \"url ...\" last.\n"
        "  Without --db the data lives in a temporary database that goes with the process.\n"
        "  Without --tls-dir a throw-away CA is made; its path is printed as \"ca PATH\".\n");
}

bool ParseInt(const char* text, int& out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > 65535 * 16) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    platformd::PlatformOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--port") {
            if (!ParseInt(value(), options.port) || options.port > 65535) {
                Usage();
                return 2;
            }
        } else if (arg == "--bind") {
            options.bind = value();
        } else if (arg == "--db") {
            options.db = value();
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--customers") {
            if (!ParseInt(value(), options.customers)) {
                Usage();
                return 2;
            }
        } else if (arg == "--tls-dir") {
            options.tls_dir = value();
        } else if (arg == "--control-token") {
            options.control_token = value();
        } else if (arg == "--update-file") {
            options.update_file = value();
        } else if (arg == "--rdp-address") {
            options.rdp_address = value();
        } else if (arg == "--rdp-password") {
            options.rdp_password = value();
        } else if (arg == "--threads") {
            if (!ParseInt(value(), options.threads) || options.threads < 1) {
                Usage();
                return 2;
            }
        } else if (arg == "--busy-seconds") {
            if (!ParseInt(value(), options.busy_seconds) || options.busy_seconds < 0) {
                Usage();
                return 2;
            }
        } else {
            Usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }

    // Customers are seeded together with the demo's catalogue, which their servers use.
    if (options.customers > 0 && !options.demo) {
        Usage();
        return 2;
    }

    // Every thread inherits the blocked set, so only sigwait below sees the signals.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGTERM);
    sigaddset(&stop_signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    try {
        platformd::Platform platform(options);
        int port = platform.Start();
        std::printf("port %d\n", port);
        std::printf("ca %s\n", platform.CaPath().c_str());
        if (!platform.DemoSummary().empty()) std::printf("%s", platform.DemoSummary().c_str());
        std::printf("url https://%s:%d\n", options.bind.c_str(), port);
        std::fflush(stdout);
        int sig = 0;
        sigwait(&stop_signals, &sig);
        std::fprintf(stderr, "platformd: stopping on signal %d\n", sig);
        platform.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "platformd: %s\n", e.what());
        return 1;
    }
    return 0;
}
