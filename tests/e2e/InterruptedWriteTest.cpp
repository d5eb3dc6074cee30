// A client killed while it saves: the helper saves through the client's own writers, with
// large values, two contents in turn, and is killed with SIGKILL at many random moments.
// After every kill the file must be one of the states a finished write leaves, byte for
// byte, and the client's readers must see one whole content; what a killed writer left
// beside the file is removed by the next write.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "helper/WriteVariants.h"
#include "os/ProfileFile.h"
#include "os/ProgramFolder.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using vpsdesk::platform::AccountSettingsFile;
using vpsdesk::rdpsettings::RdpSettingKeys;

constexpr const char* kTitle = "云桌面";
constexpr size_t kAccountValueSize = 256 * 1024;
constexpr size_t kRdpValueSize = 32 * 1024;
constexpr int kKills = 40;
// Lines a writer must never drop: another program's section before ours.
constexpr const char* kForeignLines = "[Other]\r\nkeep=\xB1\xA3\xC1\xF4\r\n";

size_t TemporaryFiles(const fs::path& folder) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp") != std::string::npos) ++count;
    return count;
}

// One kind of file, the states a finished write can leave it in, and how the helper
// writes it.
struct Subject {
    fs::path file;
    std::set<std::string> states;
    std::vector<std::string> helper_args;
    // The client's reader: true when it sees one whole content.
    std::function<bool()> reads_whole;
};

// The remembered login: one replacement per save, so exactly content 0 or content 1.
Subject AccountSubject(const fs::path& root) {
    const fs::path documents = root / "Documents";
    fs::create_directories(documents);
    const AccountSettingsFile file(documents, kTitle);
    Subject subject{
        file.Path(),
        {},
        {"write-account", documents.string(), kTitle, std::to_string(kAccountValueSize)},
        {}};
    for (int variant : {1, 0}) {  // content 0 last: the file starts with it
        WriteAll(file.Path(), kForeignLines);
        EXPECT_TRUE(file.SaveRememberedLogin(true, VariantValue(variant, 0, kAccountValueSize),
                                             VariantValue(variant, 1, kAccountValueSize)));
        subject.states.insert(ReadAll(file.Path()));
    }
    subject.reads_whole = [file] {
        const vpsdesk::platform::RememberedLogin login = file.LoadRememberedLogin();
        // The reader cuts a value at its buffer; what arrives must be the start of one
        // variant's values, both of the same variant.
        for (int variant : {0, 1}) {
            if (VariantValue(variant, 0, kAccountValueSize).starts_with(login.account) &&
                VariantValue(variant, 1, kAccountValueSize).starts_with(login.password) &&
                login.remember && login.account.size() > 1000)
                return true;
        }
        return false;
    };
    return subject;
}

// The remote-desktop settings: nineteen keys of one save, written as one replacement, so
// again exactly content 0 or content 1.
Subject RdpSubject(const fs::path& root) {
    const fs::path folder = root / "program";
    fs::create_directories(folder);
    const fs::path file = folder / "config.ini";
    Subject subject{file, {}, {"write-rdp", folder.string(), std::to_string(kRdpValueSize)}, {}};
    vpsdesk::os::OverrideProgramFolder(folder);
    for (int variant : {1, 0}) {  // content 0 last: the file starts with it
        WriteAll(file, kForeignLines);
        EXPECT_TRUE(
            vpsdesk::rdpsettings::SaveRemoteDesktopSettings(VariantRecord(variant, kRdpValueSize)));
        subject.states.insert(ReadAll(file));
    }
    vpsdesk::os::OverrideProgramFolder({});
    subject.reads_whole = [file] {
        vpsdesk::os::OverrideProgramFolder(file.parent_path());
        const auto record = vpsdesk::rdpsettings::ReadRemoteDesktopSettings();
        vpsdesk::os::OverrideProgramFolder({});
        // Every key of one and the same content, each cut only where the reader cuts.
        for (int variant : {0, 1}) {
            bool whole = true;
            int key = 0;
            for (const auto& entry : RdpSettingKeys()) {
                const std::string& value = record.*entry.field;
                const std::string expected = VariantValue(variant, key++, kRdpValueSize);
                whole = whole && value.size() > 1000 && expected.starts_with(value);
            }
            if (whole) return true;
        }
        return false;
    };
    return subject;
}

class InterruptedWrite : public ::testing::TestWithParam<Subject (*)(const fs::path&)> {};

TEST_P(InterruptedWrite, AKilledSaveLeavesAWholeOldOrNewFileAndNoLeftovers) {
    TempFolder root;
    const Subject subject = GetParam()(root.Path());
    ASSERT_GE(subject.states.size(), 2u);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delay_ms(0, 250);

    std::set<std::string> seen;
    int kills_mid_write = 0;
    // Where a kill lands depends on the machine's speed: go on past kKills until a few
    // kills have caught a write in progress, within a bound.
    int kills = 0;
    for (int kill = 0; kill < kKills || (kills_mid_write < 3 && kill < 10 * kKills); ++kill) {
        kills = kill + 1;
        std::vector<std::string> argv = {FILE_HELPER_BIN};
        argv.insert(argv.end(), subject.helper_args.begin(), subject.helper_args.end());
        Child writer({argv, {}, root.Path(), root / "helper.out", root / "helper.err"});
        ASSERT_TRUE(PollFor([&] {
            return ReadAll(root / "helper.out").find("saved") != std::string::npos ||
                   !writer.Running();
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random)));
        ASSERT_TRUE(writer.Running()) << ReadAll(root / "helper.err");
        writer.Signal(SIGKILL);
        EXPECT_EQ(writer.WaitExitCode(), std::nullopt);

        const std::string bytes = ReadAll(subject.file);
        ASSERT_TRUE(subject.states.contains(bytes))
            << "after kill " << kill << ": a torn file of " << bytes.size() << " bytes";
        ASSERT_TRUE(subject.reads_whole()) << "after kill " << kill;
        seen.insert(bytes);
        // Each writer's first save removed what the one before it left: at most the last
        // killed writer's temporary file is there, never a pile.
        const size_t leftovers = TemporaryFiles(subject.file.parent_path());
        EXPECT_LE(leftovers, 1u) << "after kill " << kill;
        if (leftovers > 0) ++kills_mid_write;
    }
    std::printf("%d of %d kills landed inside a write; %zu different states seen\n",
                kills_mid_write, kills, seen.size());
    // Otherwise the test proved nothing: the kills must have caught writes in progress.
    EXPECT_GT(kills_mid_write, 0);
    EXPECT_GT(seen.size(), 1u);

    // The next save clears what the killed writers left.
    ASSERT_TRUE(vpsdesk::os::WriteProfileString(subject.file, "Other", "keep", "改过"));
    EXPECT_EQ(TemporaryFiles(subject.file.parent_path()), 0u);
}

// Kills the helper writing with `args` while one of its saves is under way.
void KillInsideASave(const std::vector<std::string>& args, const fs::path& folder,
                     const fs::path& scratch) {
    std::vector<std::string> argv = {FILE_HELPER_BIN};
    argv.insert(argv.end(), args.begin(), args.end());
    Child writer({argv, {}, scratch, scratch / "helper.out", scratch / "helper.err"});
    ASSERT_TRUE(PollFor([&] {
        return (ReadAll(scratch / "helper.out").find("saved") != std::string::npos &&
                TemporaryFiles(folder) > 0) ||
               !writer.Running();
    }));
    writer.Signal(SIGKILL);
    EXPECT_EQ(writer.WaitExitCode(), std::nullopt) << ReadAll(scratch / "helper.err");
}

TEST(InterruptedWriteStart, TheClientStartsOnTheFilesKilledSavesLeft) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    ClientProcess client(root.Path());
    const std::string title = platform.Command("biaoti");
    KillInsideASave(
        {"write-account", client.Documents().string(), title, std::to_string(kAccountValueSize)},
        client.Documents(), root.Path());
    KillInsideASave({"write-rdp", client.Install().string(), std::to_string(kRdpValueSize)},
                    client.Install(), root.Path());

    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    ASSERT_TRUE(PollFor([&] {
        return client.Logged("login-window-shown") || !client.Process().Running();
    })) << client.Err();
    EXPECT_TRUE(client.Logged("login-window-shown")) << client.Err();
    // What it read at start was one whole remembered login.
    const vpsdesk::platform::RememberedLogin login =
        AccountSettingsFile(client.Documents(), title).LoadRememberedLogin();
    EXPECT_TRUE(login.remember);
    EXPECT_TRUE(VariantValue(0, 0, kAccountValueSize).starts_with(login.account) ||
                VariantValue(1, 0, kAccountValueSize).starts_with(login.account));
    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

INSTANTIATE_TEST_SUITE_P(Files, InterruptedWrite, ::testing::Values(&AccountSubject, &RdpSubject),
                         [](const auto& test) {
                             return std::string(test.index == 0 ? "AccountFile" : "ConfigIni");
                         });

}  // namespace
}  // namespace e2e
