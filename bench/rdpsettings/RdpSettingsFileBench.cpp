// The settings window reads every key when it opens and saves them all when it closes;
// the launcher reads them again before each connection. Both over a config.ini of the
// usual size (the RDP section alone) and over a 10 MB one whose RDP section comes last.
//   build/release/bench/rdpsettings/rdpsettings_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "net/Gbk.h"
#include "os/ProgramFolder.h"
#include "rdpsettings/RemoteDesktopSettings.h"

namespace {

namespace fs = std::filesystem;
using namespace vpsdesk::rdpsettings;

// A program folder holding a config.ini of about `bytes` bytes: other sections first.
fs::path FolderWithConfig(std::size_t bytes) {
    const fs::path folder =
        fs::temp_directory_path() / ("rdpsettings_bench." + std::to_string(bytes));
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::string text;
    for (int n = 0; text.size() < bytes; ++n)
        text += "[其他" + std::to_string(n % 1000) + "]\r\n键" + std::to_string(random()) + "=值" +
                std::to_string(random()) + "\r\n";
    text += "[RDP]\r\n剪贴板=0\r\n窗口数据=1024×768\r\n";
    std::ofstream(folder / "config.ini", std::ios::binary) << vpsdesk::net::Utf8ToGbk(text);
    return folder;
}

void ReadAll(benchmark::State& state) {
    vpsdesk::os::OverrideProgramFolder(FolderWithConfig(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(ReadRemoteDesktopSettings());
    vpsdesk::os::OverrideProgramFolder({});
}

void SaveAll(benchmark::State& state) {
    vpsdesk::os::OverrideProgramFolder(FolderWithConfig(static_cast<std::size_t>(state.range(0))));
    RemoteDesktopSettings settings = ReadRemoteDesktopSettings();
    int round = 0;
    for (auto _ : state) {
        // A changed value each time, so every save writes the file.
        settings.clipboard = (++round % 2) ? "1" : "0";
        if (!SaveRemoteDesktopSettings(settings)) state.SkipWithError("the save failed");
    }
    vpsdesk::os::OverrideProgramFolder({});
}

BENCHMARK(ReadAll)->Arg(1)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveAll)->Arg(1)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
