// The packaging tool against a real binary: stamp a copy of the slot probe, run it, and
// see the values the client would use.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "StampSlots.h"
#include "TempFolderTest.h"

extern char** environ;

namespace vpsdesk::stamp {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int exit_code = -1;
    std::string out;
};

// Runs `argv` (no shell) and collects its standard output.
ProgramRun RunProgram(const std::vector<std::string>& args) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    ProgramRun run;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0)
        run.out.append(buffer, static_cast<size_t>(n));
    ::close(pipe_fds[0]);
    if (rc != 0) return run;
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void WriteAll(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Repeat(std::string_view unit, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out.append(unit);
    return out;
}

class StampToolTest : public test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        probe_ = dir_ / "client";
        fs::copy_file(VPSDESK_SLOT_PROBE, probe_);
    }

    ProgramRun Stamp(std::vector<std::string> args) {
        args.insert(args.begin(), VPSDESK_STAMP_TOOL);
        return RunProgram(args);
    }
    std::string Probe(const fs::path& binary) { return RunProgram({binary.string()}).out; }

    fs::path probe_;
};

TEST_F(StampToolTest, StampedValuesAreWhatTheClientUses) {
    EXPECT_EQ(Probe(probe_), "vps.example.com\nVer 4.92\n");

    // Into a copy: the original keeps its slots.
    ProgramRun run = Stamp({"--site", "vps.test.example:8443", "--version", "Ver 5.01", "--output",
                            (dir_ / "stamped").string(), probe_.string()});
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(Probe(dir_ / "stamped"), "vps.test.example:8443\nVer 5.01\n");
    EXPECT_EQ(Probe(probe_), "vps.example.com\nVer 4.92\n");

    // In place, one slot at a time; values that fill the slot exactly, and a Chinese label.
    ASSERT_EQ(Stamp({"--version", "版本 4.93-测试", probe_.string()}).exit_code, 0);
    EXPECT_EQ(Probe(probe_), "vps.example.com\n版本 4.93-测试\n");
    const std::string host24 = "abcdefghij.example.co:99";
    ASSERT_EQ(host24.size(), 24u);
    ASSERT_EQ(Stamp({"--site", host24, probe_.string()}).exit_code, 0);
    EXPECT_EQ(Probe(probe_), host24 + "\n版本 4.93-测试\n");
    // Stamped slots are not found again: start from a fresh build.
    EXPECT_NE(Stamp({"--site", "other.example", probe_.string()}).exit_code, 0);
}

TEST_F(StampToolTest, RefusesValuesTheClientWouldNotReadBack) {
    const std::string before = Bytes(probe_);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--site", "abcdefghijk.example.co:99"},  // 25 bytes
             {"--version", "Version 4.92 beta"},       // 17 bytes
             {"--version", "版本号四点九十二号"},      // 9 characters, 18 GBK bytes
             {"--site", "水.example.com"},
             {"--version", "Ver 啵"},
             {"--version", "Ver \xF0\x9F\x98\x80"},  // an emoji has no GBK form
             {"--version", " Ver 4.92"},
             {"--version", ""},
             {"--version", "Ver\t4.92"},
             {"--site", "https://vps.example.com"},
             {"--site", "vps.example.com/user"},
             {"--site", "vps.example.com:0"},
         }) {
        std::vector<std::string> full = args;
        full.push_back(probe_.string());
        EXPECT_EQ(Stamp(full).exit_code, 1) << args[1];
    }
    EXPECT_TRUE(Bytes(probe_) == before);
    EXPECT_NE(Stamp({probe_.string()}).exit_code, 0);  // nothing to stamp
    EXPECT_NE(Stamp({"--site", "a.example", (dir_ / "missing").string()}).exit_code, 0);
}

TEST_F(StampToolTest, OneFillerLeftAnywhereMeansTheBuiltInValue) {
    std::string binary = Bytes(probe_);
    const std::string site_slot = Repeat("\xCB\xAE", 12) + std::string(1, '\0');
    const std::string version_slot = Repeat("\xE0\xA3", 8) + std::string(1, '\0');
    size_t site = binary.find(site_slot);
    size_t version = binary.find(version_slot);
    ASSERT_NE(site, std::string::npos);
    ASSERT_NE(version, std::string::npos);

    // Overwritten except for the last filler, and except for a filler in the middle.
    std::string last_left = binary;
    last_left.replace(site, 22, "abcdefghij.example.com");
    last_left.replace(version, 14, "Ver 4.93 final");
    WriteAll(dir_ / "last", last_left);
    fs::permissions(dir_ / "last", fs::perms::owner_all);
    EXPECT_EQ(Probe(dir_ / "last"), "vps.example.com\nVer 4.92\n");

    std::string middle_left = binary;
    middle_left.replace(site, 24,
                        "a.example" + std::string("\xCB\xAE") + "com" + std::string(10, '\0'));
    middle_left.replace(version, 16, "Ver \xE0\xA3" + std::string(10, '\0'));
    WriteAll(dir_ / "middle", middle_left);
    fs::permissions(dir_ / "middle", fs::perms::owner_all);
    EXPECT_EQ(Probe(dir_ / "middle"), "vps.example.com\nVer 4.92\n");

    // A filler after the first zero is not part of the text.
    std::string after_zero = binary;
    after_zero.replace(site, 12, "a.example.c" + std::string(1, '\0'));
    after_zero.replace(version, 5, "Ver5" + std::string(1, '\0'));
    WriteAll(dir_ / "after", after_zero);
    fs::permissions(dir_ / "after", fs::perms::owner_all);
    EXPECT_EQ(Probe(dir_ / "after"), "a.example.c\nVer5\n");
}

TEST(StampSlotTest, FindsExactlyOneUnstampedSlot) {
    const std::string slot = Repeat("\xCB\xAE", 12) + std::string(1, '\0');
    std::string error;
    std::string one = "head" + slot + "tail";
    ASSERT_TRUE(StampSlot(one, SlotKind::kSite, "h.example", &error)) << error;
    EXPECT_EQ(one, "head" + std::string("h.example") + std::string(16, '\0') + "tail");

    std::string two = slot + "x" + slot;
    EXPECT_FALSE(StampSlot(two, SlotKind::kSite, "h.example", &error));
    EXPECT_EQ(two, slot + "x" + slot);
    // Thirteen fillers before the zero still hold one slot: its last twelve.
    std::string longer = "\xCB\xAE" + slot;
    EXPECT_TRUE(StampSlot(longer, SlotKind::kSite, "h", &error)) << error;
    EXPECT_EQ(longer, "\xCB\xAE" + std::string("h") + std::string(24, '\0'));
    // Without the terminating zero the run is not a slot.
    std::string unterminated = Repeat("\xCB\xAE", 12) + "x";
    EXPECT_FALSE(StampSlot(unterminated, SlotKind::kSite, "h", &error));
}

}  // namespace
}  // namespace vpsdesk::stamp
