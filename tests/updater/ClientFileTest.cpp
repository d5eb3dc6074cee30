// Putting a client in place and starting it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ClientFile.h"
#include "UpdaterFixture.h"

namespace updatertest {
namespace {

using namespace vpsdesk::updater;

TEST_F(UpdaterTest, ReplacedClientStartsInItsOwnFolder) {
    const std::string script = "#!/bin/sh\npwd > started\n";
    Replacement replacement;
    ASSERT_EQ(ReplaceClient(folder_, script, replacement), "");
    EXPECT_EQ(ReadAll(client_), script);
    EXPECT_FALSE(replacement.previous.empty());
    EXPECT_EQ(ReadAll(replacement.previous), old_client_);

    // The test's own folder is elsewhere; the client must not depend on it.
    pid_t pid = 0;
    ASSERT_EQ(StartDetached(client_, &pid), "");
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(folder_ / "started"), folder_.string() + "\n");

    DiscardPreviousClient(replacement);
    EXPECT_EQ(Listing(folder_), "started vpsdesk ");
}

TEST_F(UpdaterTest, FailedReplacementChangesNothing) {
    // A folder in the client's place cannot be renamed over.
    std::filesystem::remove(client_);
    std::filesystem::create_directory(client_);
    WriteAll(client_ / "keep", "x");
    Replacement replacement;
    std::string message = ReplaceClient(folder_, "new", replacement);
    EXPECT_NE(message.find(client_.string()), std::string::npos) << message;
    EXPECT_EQ(Listing(folder_), "vpsdesk ");
    EXPECT_EQ(ReadAll(client_ / "keep"), "x");
    EXPECT_FALSE(RestorePreviousClient(replacement));
}

TEST_F(UpdaterTest, WhatAKilledUpdaterLeftIsRemovedByTheNextReplacement) {
    // A half-written client of an updater that was killed, and its kept old client.
    pid_t killed = fork();
    if (killed == 0) _exit(0);
    waitpid(killed, nullptr, 0);
    const std::string leftover = "vpsdesk.tmp" + std::to_string(killed) + ".0";
    WriteAll(folder_ / leftover, "#!/bin/sh\necho ha");
    WriteAll(folder_ / ".vpsdesk.previous", old_client_);

    Replacement replacement;
    ASSERT_EQ(ReplaceClient(folder_, "#!/bin/sh\necho new\n", replacement), "");
    DiscardPreviousClient(replacement);
    EXPECT_EQ(Listing(folder_), "vpsdesk ");
    EXPECT_EQ(ReadAll(client_), "#!/bin/sh\necho new\n");
}

TEST_F(UpdaterTest, MissingProgramIsReportedWhenStarting) {
    std::string message = StartDetached(folder_ / "absent");
    EXPECT_NE(message.find("absent"), std::string::npos) << message;
}

}  // namespace
}  // namespace updatertest
