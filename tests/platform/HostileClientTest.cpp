// The platform against clients that do not play by the rules: over-long and ambiguous
// bodies, heads that never end, stray bytes after a bad request, password guessing, and
// orders in someone else's name.
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "PlatformFixture.h"
#include "RawTlsConnection.h"

namespace platformd::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A request that must never be answered when it follows a bad one on the same connection.
const std::string kSmuggled = "GET /khd?act=ver HTTP/1.1\r\nHost: x\r\n\r\n";

class HostileClientTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.demo = true;
        options.control_token = kToken;
        options.head_timeout_ms = 1500;
        platform_ = std::make_unique<Platform>(options);
        port_ = platform_->Start();
    }
};

TEST_F(HostileClientTest, DeclaredOverlongBodyIsRefusedBeforeItIsSent) {
    RawTlsConnection conn(port_);
    ASSERT_TRUE(
        conn.Send("POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\n"
                  "Content-Length: 209715200\r\n\r\n"));
    // Nothing of the body is sent: the refusal must not wait for it.
    std::string reply = conn.ReadUntilClosed(3s);
    EXPECT_EQ(StatusOf(reply), 413) << reply;
    EXPECT_TRUE(conn.Closed());
}

TEST_F(HostileClientTest, ChunkedBodyIsCutOffAtTheLimit) {
    RawTlsConnection conn(port_);
    ASSERT_TRUE(
        conn.Send("POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\n"
                  "Transfer-Encoding: chunked\r\n\r\n"));
    const std::string chunk = "10000\r\n" + std::string(0x10000, 'a') + "\r\n";
    size_t sent = 0;
    // Up to 32 MB, stopping as soon as the server answers.
    while (sent < 32u * 1024 * 1024 && !conn.Readable(0ms) && conn.Send(chunk)) {
        sent += chunk.size();
    }
    std::string reply = conn.ReadReply(5s);
    EXPECT_EQ(StatusOf(reply), 413) << reply;
    // The refusal came long before the end of the body.
    EXPECT_LT(sent, 32u * 1024 * 1024);
}

TEST_F(HostileClientTest, BadOrAmbiguousFramingClosesTheConnection) {
    struct Case {
        const char* what;
        std::string head;
        int status;
    };
    const Case cases[] = {
        {"malformed request line", "NONSENSE\r\n\r\n", 400},
        {"two lengths",
         "POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
         "Content-Length: 5\r\n\r\n",
         400},
        {"length and chunks",
         "POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n"
         "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
         400},
        {"unknown coding",
         "POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: gzip, chunked\r\n\r\n",
         400},
        {"length not a number",
         "POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: +0\r\n\r\n", 400},
        {"body on a GET", "GET /khd?act=ver HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nGET",
         400},
        {"compressed body",
         "POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
         "Content-Encoding: gzip\r\n\r\n",
         415},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RawTlsConnection conn(port_);
        ASSERT_TRUE(conn.Send(c.head + kSmuggled));
        std::string replies = conn.ReadUntilClosed(3s);
        EXPECT_EQ(StatusOf(replies), c.status) << replies;
        EXPECT_EQ(ReplyCount(replies), 1) << replies;
        EXPECT_TRUE(conn.Closed());
    }
    // Identical repeated lengths are one length, and a sound request keeps the connection.
    RawTlsConnection conn(port_);
    ASSERT_TRUE(
        conn.Send("POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
                  "Content-Length: 0\r\n\r\n" +
                  kSmuggled));
    EXPECT_EQ(StatusOf(conn.ReadReply(3s)), 200);
    EXPECT_EQ(StatusOf(conn.ReadReply(3s)), 200);
}

TEST_F(HostileClientTest, OverlongHeadIsRefused) {
    RawTlsConnection conn(port_);
    std::string head = "GET /khd?act=ver HTTP/1.1\r\n";
    for (int i = 0; i < 2000; ++i) {
        head += "X-Filler-" + std::to_string(i) + ": " + std::string(40, 'f') + "\r\n";
    }
    ASSERT_TRUE(conn.Send(head + "\r\n"));
    std::string reply = conn.ReadUntilClosed(3s);
    EXPECT_EQ(StatusOf(reply), 431) << reply.substr(0, 200);
    EXPECT_TRUE(conn.Closed());
}

TEST_F(HostileClientTest, SlowConnectionsDoNotStarveOthers) {
    std::vector<std::unique_ptr<RawTlsConnection>> slow;
    for (int i = 0; i < 70; ++i) {
        slow.push_back(std::make_unique<RawTlsConnection>(port_));
        ASSERT_TRUE(slow.back()->Send("POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\n"));
    }
    auto client = NewClient();
    auto start = Clock::now();
    EXPECT_EQ(client->Get("/khd?act=ver").Text(), "4.92");
    // Generous: the point is that the request is not stuck behind the slow ones.
    EXPECT_LT(Clock::now() - start, 3s);

    // A head that does not arrive in time ends the connection.
    for (auto& conn : slow) {
        EXPECT_EQ(StatusOf(conn->ReadUntilClosed(5s)), 408);
        EXPECT_TRUE(conn->Closed());
    }
}

TEST_F(HostileClientTest, StopDoesNotWaitForScriptedDelays) {
    auto client = NewClient();
    Control(*client, "script?path=/khd&delay_ms=60000", "late", true);
    auto late = NewClient();
    std::thread waiting([&late] { late->Get("/khd?act=ver"); });
    // Wait until the delayed request is in.
    for (int i = 0; i < 100 && Json(Control(*client, "requests")).GetText("count") != "1"; ++i) {
        std::this_thread::sleep_for(20ms);
    }
    auto start = Clock::now();
    platform_->Stop();
    EXPECT_LT(Clock::now() - start, 3s);
    waiting.join();
}

}  // namespace
}  // namespace platformd::test
