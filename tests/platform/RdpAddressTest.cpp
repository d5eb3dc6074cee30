// --rdp-address / --rdp-password: the running servers lead to one real RDP server, the
// others keep their own address.
#include "PlatformFixture.h"

namespace platformd::test {
namespace {

class RdpAddressTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.demo = true;
        options.control_token = kToken;
        options.threads = 8;
        options.rdp_address = "127.0.0.1:45555";
        options.rdp_password = "Shadow@Pw1";
        platform_ = std::make_unique<Platform>(options);
        port_ = platform_->Start();
    }
};

TEST_F(RdpAddressTest, RunningServersGetTheAddressAndPasswordOthersKeepTheirs) {
    auto client = SignedIn();
    vpsdesk::net::JsonDocument page = Json(ServerPage(*client, 1));
    int running = 0;
    for (int i = 0; i < 5; ++i) {
        const std::string at = "data[" + std::to_string(i) + "].";
        if (page.GetText(at + "status") == "运行中") {
            ++running;
            EXPECT_EQ(page.GetText(at + "ycdz"), "127.0.0.1:45555");
            EXPECT_EQ(page.GetText(at + "VPSpassword"), "Shadow@Pw1");
        } else if (page.GetText(at + "status") == "已停止") {
            EXPECT_NE(page.GetText(at + "ycdz"), "127.0.0.1:45555");
        }
    }
    EXPECT_GT(running, 0);
    EXPECT_NE(platform_->DemoSummary().find("127.0.0.1:45555"), std::string::npos);
}

}  // namespace
}  // namespace platformd::test
