// The version decision, writing the updater and starting it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolderTest.h"
#include "app/UpdateCheck.h"
#include "net/ByteArray.h"

using namespace vpsdesk::app;
namespace fs = std::filesystem;

TEST(CheckVersionTest, OnlyAnExactLabelInAnOkReplyDecides) {
    struct Case {
        int status;
        std::string reply;
        std::string local;
        VersionDecision decision;
    };
    const Case cases[] = {
        {200, "4.92", "Ver 4.92", VersionDecision::kContinue},
        {200, "版本5", "Ver 版本5", VersionDecision::kContinue},
        {200, "4.93", "Ver 4.92", VersionDecision::kUpdateDue},
        // The comparison is exact: a line break, a doubled prefix, another case all differ.
        {200, "4.92\r\n", "Ver 4.92", VersionDecision::kUpdateDue},
        {200, "4.92 ", "Ver 4.92", VersionDecision::kUpdateDue},
        {200, "Ver 4.92", "Ver 4.92", VersionDecision::kUpdateDue},
        {200, "4.92", "ver 4.92", VersionDecision::kUpdateDue},
        {200, "<html>maintenance</html>", "Ver 4.92", VersionDecision::kUpdateDue},
        // An error page from a proxy or the platform is no reply, whatever it says; so is
        // no reply at all, or a transfer that broke off (a status but no text).
        {502, "<html>502 Bad Gateway</html>", "Ver 4.92", VersionDecision::kNetworkFailure},
        {404, "not found", "Ver 4.92", VersionDecision::kNetworkFailure},
        {500, "4.92", "Ver 4.92", VersionDecision::kNetworkFailure},
        {302, "4.93", "Ver 4.92", VersionDecision::kNetworkFailure},
        {0, "4.93", "Ver 4.92", VersionDecision::kNetworkFailure},
        {200, "", "Ver 4.92", VersionDecision::kNetworkFailure},
        {0, "", "Ver 4.92", VersionDecision::kNetworkFailure},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckVersion(c.status, c.reply, c.local), c.decision)
            << c.status << " " << c.reply << " / " << c.local;

    EXPECT_EQ(VersionDecisionMessage(VersionDecision::kNetworkFailure),
              "网络初始化失败，请检查网络");
    EXPECT_EQ(VersionDecisionMessage(VersionDecision::kUpdateDue), "有新版本更新");
    EXPECT_EQ(VersionDecisionMessage(VersionDecision::kContinue), "");
}

class UpdaterFileTest : public vpsdesk::test::TempFolderTest {};

TEST_F(UpdaterFileTest, WrittenExecutableIntoTheGivenFolderAndReplaced) {
    // Wherever the process happens to run from, the updater goes into the folder given.
    ASSERT_TRUE(WriteUpdater(vpsdesk::net::ToBytes("first"), dir_));
    EXPECT_EQ(Bytes(dir_ / "update"), "first");
    EXPECT_EQ(Mode(dir_ / "update") & 0100, 0100u);

    // A replaced updater that had lost its execute bit gets it back.
    ASSERT_EQ(::chmod((dir_ / "update").c_str(), 0640), 0);
    ASSERT_TRUE(WriteUpdater(vpsdesk::net::ToBytes(std::string("second\0x", 8)), dir_));
    EXPECT_EQ(Bytes(dir_ / "update"), std::string("second\0x", 8));
    EXPECT_EQ(Mode(dir_ / "update"), 0750u);

    // No image, or nowhere to write: the updater already there stays.
    EXPECT_FALSE(WriteUpdater({}, dir_));
    EXPECT_FALSE(WriteUpdater(vpsdesk::net::ToBytes("x"), dir_ / "missing"));
    EXPECT_EQ(Bytes(dir_ / "update"), std::string("second\0x", 8));
}

TEST_F(UpdaterFileTest, StartedWithoutArgumentsInItsFolder) {
    // The script notes its working directory and argument count, then reports success.
    const std::string script =
        "#!/bin/sh\n"
        "pwd > started.txt\n"
        "echo \"$#\" >> started.txt\n";
    ASSERT_TRUE(WriteUpdater(vpsdesk::net::ToBytes(script), dir_));
    pid_t pid = StartUpdater(dir_);
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Bytes(dir_ / "started.txt"), fs::canonical(dir_).string() + "\n0\n");

    // Nothing to start.
    fs::remove(dir_ / "update");
    EXPECT_EQ(StartUpdater(dir_), -1);
}
