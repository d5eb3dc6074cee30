// Test control: scripted replies, the request log, the "ver" answer, access rules.
#include <chrono>
#include <thread>

#include "PlatformFixture.h"
#include "RawTlsConnection.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class ControlTest : public PlatformTest {};

TEST_F(ControlTest, ScriptedRepliesComeFirstThenTheRealOne) {
    auto client = NewClient();
    Control(*client, "script?path=/user/khdloginpd&count=2", "1000\r\n", true);
    Control(*client, "script?path=/user/khdloginpd&status=500&content_type=text/html",
            "<html>error</html>", true);
    Control(*client, "script?path=/user/khdloginpd", "", true);
    auto form = Form({{"username", "demo"}, {"password", "wrong"}});
    EXPECT_EQ(client->Post("/user/khdloginpd", form).bytes, "1000\r\n");
    EXPECT_EQ(client->Post("/user/khdloginpd", form).bytes, "1000\r\n");
    Reply error = client->Post("/user/khdloginpd", form);
    EXPECT_EQ(error.status, 500);
    EXPECT_EQ(error.bytes, "<html>error</html>");
    EXPECT_EQ(client->Post("/user/khdloginpd", form).bytes, "");
    EXPECT_EQ(client->Post("/user/khdloginpd", form).bytes, "1001");
    // A script that names a query only answers that query.
    Control(*client, "script?path=" + std::string("/khd%3Fact%3Dgg"), "only gg", true);
    EXPECT_NE(client->Get("/khd?act=help").bytes, "only gg");
    EXPECT_EQ(client->Get("/khd?act=gg").bytes, "only gg");
}

TEST_F(ControlTest, RequestLogKeepsHeaderOrderAndRawBody) {
    auto client = NewClient();
    Control(*client, "clear", "", true);
    client->PostBytes("/user/data/vpsbz", std::string("bz=\xb2\xe2&x=1", 9),
                      {"Zeta: 1", "X-Middle: zh-Hans-CN,zh-Hans;q=0.5", "Alpha: 2"});
    auto log = Json(Control(*client, "requests"));
    ASSERT_EQ(log.GetText("count"), "1");
    EXPECT_EQ(log.GetText("data[0].method"), "POST");
    EXPECT_EQ(log.GetText("data[0].path"), "/user/data/vpsbz");
    EXPECT_EQ(log.GetText("data[0].body_hex"), "627a3db2e226783d31");
    EXPECT_EQ(log.GetText("data[0].body"), "bz=测&x=1");
    std::vector<std::string> names;
    for (size_t i = 0; i < log.Count("data[0].headers"); ++i) {
        names.push_back(vpsdesk::net::TextBefore(
            log.GetText("data[0].headers[" + std::to_string(i) + "]"), ":"));
    }
    auto at = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(at("Zeta"), at("X-Middle"));
    EXPECT_LT(at("X-Middle"), at("Alpha"));
    EXPECT_LT(at("Alpha"), static_cast<long>(names.size()));
}

TEST_F(ControlTest, VersionLatencyAndAccess) {
    auto client = NewClient();
    EXPECT_EQ(client->Get("/khd?act=ver").bytes, "4.92");
    Control(*client, "version", "4.93\r\n", true);
    EXPECT_EQ(client->Get("/khd?act=ver").bytes, "4.93\r\n");
    EXPECT_EQ(Control(*client, "latency?ms=1", "", true).status, 200);
    EXPECT_EQ(client->Get("/khd?act=biaoti").Text(), "云桌面管家");
    EXPECT_EQ(client->Get("/__control/requests").status, 404);
    EXPECT_EQ(client->Get("/__control/requests", {"X-Control-Token: nope"}).status, 404);
    EXPECT_EQ(client->Get("/khd?act=nothing").status, 404);
}

TEST_F(ControlTest, AStalledReplySendsItsHeadAndPartOfItsBodyThenHoldsUntilTheStop) {
    using namespace std::chrono_literals;
    auto client = NewClient();
    Control(*client, "script?path=/user/data/vpslist&stall_after=5&content_type=application/json",
            "{\"count\":7,\"data\":[]}", true);
    RawTlsConnection conn(port_);
    ASSERT_TRUE(conn.Send("POST /user/data/vpslist?page=1 HTTP/1.1\r\nHost: x\r\n"
                          "Content-Length: 0\r\n\r\n"));
    // Everything up to the stall, and then the connection stays open without a byte.
    const std::string partial = conn.ReadUntilClosed(1s);
    EXPECT_FALSE(conn.Closed());
    EXPECT_EQ(StatusOf(partial), 200) << partial;
    EXPECT_NE(partial.find("Content-Length: 21\r\n"), std::string::npos) << partial;
    EXPECT_NE(partial.find("Content-Type: application/json"), std::string::npos) << partial;
    ASSERT_NE(partial.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(partial.substr(partial.find("\r\n\r\n") + 4), "{\"cou");

    // Only one reply stalls; the next request is served as usual.
    EXPECT_EQ(client->Get("/khd?act=ver").bytes, "4.92");

    // A stop ends the held reply rather than waiting for it.
    std::thread stopping([this] { platform_->Stop(); });
    conn.ReadUntilClosed(30s);
    EXPECT_TRUE(conn.Closed());
    stopping.join();
}

}  // namespace
}  // namespace platformd::test
