// The platform goes away for a minute while a customer is signed in, then comes back on
// the same address with the same data. The client stays up, keeps the servers it shows,
// says that the connection is lost, and recovers by itself: the keep-alive signs in again
// to the new platform, which knows nothing of the old session.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "SignedInClient.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(PlatformOutage, AMinuteWithoutThePlatformKeepsTheRowsAndTheKeepAliveSignsInAgain) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    ClientProcess client(root.Path());
    // The keep-alive's pass shortened from thirty seconds to 0.6, so that it tries many
    // times while the platform is away and takes over soon after it is back.
    ASSERT_TRUE(StartSignedIn(platform, client,
                              {"QT_QPA_PLATFORM=offscreen", "VPSDESK_KEEPALIVE_STEP_MS=20"}))
        << client.Err();

    ASSERT_TRUE(platform.Stop());
    const int loads_before = CountLogged(client, "server-list-rows");
    // The outage: the client must be there through all of it.
    const auto back_at = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < back_at && client.Process().Running())
        std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(client.Process().Running()) << client.Err();
    EXPECT_TRUE(client.Logged("connection-lost"));
    // The list was reloaded again and again without a platform, and kept its rows.
    EXPECT_GT(CountLogged(client, "server-list-rows"), loads_before + 10);
    EXPECT_EQ(CountLogged(client, "server-list-rows 0"), 0);
    const std::size_t outage_log = EventLog(client.Log()).size();

    platform.Restart();
    // The new platform sees the keep-alive sign in again, then several passes that read
    // the name with that new session: two unknown names in a row would have ended the client.
    const auto requests = [&] { return platform.Control("requests", {}, false); };
    ASSERT_TRUE(PollFor([&] {
        return Occurrences(requests(), "/user/data/usernmae") >= 5 || !client.Process().Running();
    })) << client.Err();
    const std::string seen = requests();
    const std::size_t relogin = seen.find("/user/khdloginpd");
    ASSERT_NE(relogin, std::string::npos);
    EXPECT_NE(seen.find("/user/data/usernmae", relogin), std::string::npos);
    EXPECT_TRUE(client.Process().Running()) << client.Err();
    EXPECT_FALSE(client.Logged("网络连接失败"));

    const std::string after = EventLog(client.Log()).substr(outage_log);
    EXPECT_NE(after.find("connection-back"), std::string::npos) << after;
    // The list the new platform gave: the same five servers, from the same data.
    EXPECT_TRUE(
        PollFor([&] { return requests().find("/user/data/vpslist") != std::string::npos; }));
    EXPECT_TRUE(PollFor([&] {
        return EventLog(client.Log()).substr(outage_log).find("server-list-rows 5") !=
               std::string::npos;
    }));
    EXPECT_EQ(CountLogged(client, "server-list-rows 0"), 0);

    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

}  // namespace
}  // namespace e2e
