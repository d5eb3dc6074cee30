// Load on the reference platform: platformd runs as a child on a free loopback port, and
// simulated customers (200 for 60 s unless told otherwise) sign in and then work as a
// signed-in client does, each on a thread of its own with its own session. Prints the
// requests made, the errors (with the first few), p50 and p99 latency, and platformd's
// peak resident memory. Exit code 1 when any request failed.
//
//   platform_load [--customers N] [--seconds N]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Customer.h"
#include "E2eSupport.h"
#include "LoadLog.h"

namespace {

constexpr double kP99GoalMs = 20;
constexpr double kRssGoalMb = 100;
constexpr const char* kPassword = "demo2026";
// Sign-ins are spread over the list interval, so that the steady load is even.
constexpr std::chrono::milliseconds kStartSpread = load::Customer::kListEvery;

struct Options {
    int customers = 200;
    int seconds = 60;
};

bool ParseCount(const char* text, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 100000) return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (std::strcmp(argv[i], "--customers") == 0 && has_value) {
            if (!ParseCount(argv[++i], options.customers)) return false;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && has_value) {
            if (!ParseCount(argv[++i], options.seconds)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// A "Vm...:" line of /proc/<pid>/status in MB; 0 when it cannot be read.
double StatusMegabytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0)
            return std::atof(line.c_str() + field.size() + 1) / 1024;
    }
    return 0;
}

// CPU seconds (user and system) that process `pid` has used so far; 0 when unreadable.
double ProcessCpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold spaces, start after its ')'.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14 || n == 15) ticks += std::atof(field.c_str());
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The machine's load averages: other work on it shows in the latencies.
std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void PrintLatency(const char* label, const load::LatencySummary& s) {
    std::printf("  %-10s %7zu requests   p50 %7.2f ms   p99 %7.2f ms   max %7.2f ms\n", label,
                s.requests, s.p50_ms, s.p99_ms, s.max_ms);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: platform_load [--customers N] [--seconds N]\n");
        return 2;
    }

    e2e::TempFolder folder;
    // As many connection threads as customers, each holding his connection open.
    e2e::Platform server(folder / "platform",
                         {"--demo", "--customers", std::to_string(options.customers), "--threads",
                          std::to_string(options.customers + 16)});
    vpsdesk::platform::SiteConstants site;
    site.site_host = server.Site();
    site.local_version = std::string(vpsdesk::platform::kDefaultLocalVersion);
    std::printf("platform_load: %d customers for %d s against platformd (pid %d, %s)\n",
                options.customers, options.seconds, static_cast<int>(server.Pid()),
                site.BaseUrl().c_str());
    std::printf("machine load average at the start: %s\n", LoadAverage().c_str());
    std::fflush(stdout);

    load::LoadLog log;
    std::vector<load::Customer> customers;
    customers.reserve(static_cast<size_t>(options.customers));
    for (int n = 1; n <= options.customers; ++n)
        customers.emplace_back(site, "customer" + std::to_string(n), kPassword, log);

    const double server_cpu_before = ProcessCpuSeconds(server.Pid());
    const double own_cpu_before = ProcessCpuSeconds(getpid());
    const auto begin = load::Customer::Clock::now();
    const auto end = begin + std::chrono::seconds(options.seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < options.customers; ++i) {
        const auto start = begin + kStartSpread * i / options.customers;
        threads.emplace_back([&customer = customers[static_cast<size_t>(i)], start, end] {
            customer.Run(start, end);
        });
    }
    for (std::thread& thread : threads) thread.join();

    const double server_cpu = ProcessCpuSeconds(server.Pid()) - server_cpu_before;
    const double own_cpu = ProcessCpuSeconds(getpid()) - own_cpu_before;
    const double peak_mb = StatusMegabytes(server.Pid(), "VmHWM");
    const double now_mb = StatusMegabytes(server.Pid(), "VmRSS");
    const load::LatencySummary all = log.All();
    std::printf("requests  %zu\n", log.Requests());
    std::printf("errors    %zu\n", log.Errors());
    for (const std::string& failure : log.FirstFailures()) std::printf("  %s\n", failure.c_str());
    std::printf("latency   p50 %.2f ms   p99 %.2f ms   max %.2f ms\n", all.p50_ms, all.p99_ms,
                all.max_ms);
    for (const auto& [kind, summary] : log.ByKind()) PrintLatency(kind.c_str(), summary);
    // The sign-in is slow by design (the password hash); the rest is the steady load.
    PrintLatency("no sign-in", log.AllBut("sign-in"));
    std::printf("machine load average at the end: %s\n", LoadAverage().c_str());
    std::printf("CPU time  platformd %.2f s, the customers %.2f s\n", server_cpu, own_cpu);
    std::printf("platformd peak RSS (VmHWM) %.1f MB, at the end %.1f MB\n", peak_mb, now_mb);
    std::printf("goals     p99 < %.0f ms: %s   RSS < %.0f MB: %s   errors 0: %s\n", kP99GoalMs,
                all.p99_ms < kP99GoalMs ? "met" : "MISSED", kRssGoalMb,
                peak_mb < kRssGoalMb ? "met" : "MISSED", log.Errors() == 0 ? "met" : "MISSED");
    return log.Errors() == 0 ? 0 : 1;
}
