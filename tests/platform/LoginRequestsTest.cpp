// The client's login-side requests against the reference platform: what goes on the wire
// and how the replies read.
#include <string>
#include <vector>

#include "PlatformFixture.h"
#include "account/LoginApi.h"
#include "account/LoginResult.h"
#include "app/UpdateCheck.h"
#include "net/Gbk.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "platform/PlatformApi.h"
#include "platform/SiteConstants.h"

namespace platformd::test {
namespace {

using namespace vpsdesk;

const std::string kMachineCode = "0123456789ABCDEF";

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

struct Logged {
    std::string method, path, body_hex;
    std::vector<std::string> headers;
};

class LoginRequestsTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        host_ = "127.0.0.1:" + std::to_string(port_);
        site_ = {host_, "Ver 4.92"};
        net::SetTlsSettings({platform_->CaPath(), true});
        control_ = NewClient();
        // Whatever an earlier platform on this address left in the cookie store is gone.
        platform::PlatformLogout(site_);
        Control(*control_, "clear", "", true);
    }

    std::vector<Logged> Requests() {
        auto doc = Json(Control(*control_, "requests"));
        std::vector<Logged> out;
        for (size_t i = 0; i < doc.Count("data"); ++i) {
            std::string at = "data[" + std::to_string(i) + "]";
            Logged r{doc.GetText(at + ".method"), doc.GetText(at + ".path"),
                     doc.GetText(at + ".body_hex"), {}};
            for (size_t h = 0; h < doc.Count(at + ".headers"); ++h)
                r.headers.push_back(doc.GetText(at + ".headers[" + std::to_string(h) + "]"));
            out.push_back(r);
        }
        return out;
    }
    void Script(const std::string& path, const std::string& body, const std::string& query = "") {
        ASSERT_EQ(Control(*control_, "script?path=" + path + query, body, true).status, 200);
    }
    std::string CaptchaAnswer() {
        return Json(Control(*control_, "captcha")).GetText("answer");
    }
    std::string SignedInUser() {
        return Json({200, net::BytesToString(
                              net::WebRequest(site_.BaseUrl() + "/user/data/usernmae").body)})
            .GetText("data.username");
    }

    platform::SiteConstants site_;
    std::string host_;
    std::unique_ptr<TestClient> control_;
};

TEST_F(LoginRequestsTest, LogoutSendsExactlyTheBrowserHeaderSet) {
    platform::PlatformLogout(site_);
    std::vector<Logged> log = Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].method, "GET");
    EXPECT_EQ(log[0].path, "/user/logout.asp");
    const std::vector<std::string> expected = {
        "Accept: image/gif, image/jpeg, image/pjpeg, application/x-ms-application, "
        "application/xaml+xml, application/x-ms-xbap, */*",
        "Referer: https://" + host_ + "/user/cloud-logininfo.asp",
        "Accept-Language: zh-Hans-CN,zh-Hans;q=0.5",
        "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko",
        "Host: " + host_,
        "Connection: Keep-Alive",
        "Cache-Control: no-cache",
    };
    // The engine sends the Host line first, as HTTP clients do; the other six keep their
    // order, and nothing but the platform's own cookie joins them.
    std::vector<std::string> sent, in_order;
    for (const std::string& line : log[0].headers) {
        if (net::StartsWithText(line, "Cookie:")) continue;
        sent.push_back(line);
        if (!net::StartsWithText(line, "Host:")) in_order.push_back(line);
    }
    EXPECT_EQ(sent.size(), expected.size());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "Host: " + host_), 1);
    std::vector<std::string> expected_in_order = expected;
    expected_in_order.erase(expected_in_order.begin() + 4);
    EXPECT_EQ(in_order, expected_in_order);
}

TEST_F(LoginRequestsTest, LoginFormsGoOutRawAndInOrder) {
    Script("/user/loginpost", "1001");
    Script("/user/khdloginpd", "1001");
    account::PostLogin(site_, "用户", "p&w=1 x", "图片验证码", kMachineCode);
    account::SilentRelogin(site_, "demo", "a=b&c", kMachineCode);
    std::vector<Logged> log = Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "POST");
    EXPECT_EQ(log[0].path, "/user/loginpost");
    EXPECT_EQ(log[0].body_hex, Hex(net::Utf8ToGbk("username=用户&password=p&w=1 x&captcha=图片验证码"
                                                 "&khdkey=0123456789ABCDEF&zd=1&ver=Ver 4.92")));
    EXPECT_NE(std::find(log[0].headers.begin(), log[0].headers.end(),
                        "Content-Type: application/x-www-form-urlencoded"),
              log[0].headers.end());
    EXPECT_EQ(log[1].path, "/user/khdloginpd");
    EXPECT_EQ(log[1].body_hex,
              Hex("username=demo&password=a=b&c&khdkey=0123456789ABCDEF&zd=1&ver=Ver 4.92"));
}

TEST_F(LoginRequestsTest, RealPlatformCodes) {
    EXPECT_EQ(account::SilentRelogin(site_, Demo::kAccount, "wrong", kMachineCode), "1001");
    EXPECT_EQ(account::SilentRelogin(site_, "nobody", Demo::kPassword, kMachineCode), "1001");

    // The captcha picture is a PNG, fetched with a script-style random id.
    net::ByteArray picture = account::LoadCaptcha(site_);
    ASSERT_GE(picture.size(), 8u);
    EXPECT_EQ(std::string(picture.begin(), picture.begin() + 4), "\x89PNG");
    std::vector<Logged> log = Requests();
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(net::StartsWithText(log.back().path, "/user/captcha?id=0")) << log.back().path;

    std::string answer = CaptchaAnswer();
    EXPECT_EQ(account::PostLogin(site_, Demo::kAccount, Demo::kPassword,
                                 answer == "0000" ? "1111" : "0000", kMachineCode),
              "1002");
    account::LoadCaptcha(site_);
    EXPECT_EQ(
        account::PostLogin(site_, Demo::kAccount, Demo::kPassword, CaptchaAnswer(), kMachineCode),
        "1000");
    // The sign-in lives in the shared cookie store, so later requests are signed in...
    EXPECT_EQ(SignedInUser(), "demo");
    // ...until the logout ends it.
    platform::PlatformLogout(site_);
    EXPECT_EQ(SignedInUser(), "");

    EXPECT_EQ(account::SilentRelogin(site_, Demo::kAccount, Demo::kPassword, kMachineCode), "1000");
    EXPECT_EQ(SignedInUser(), "demo");

    // Wrong passwords are refused as such and never lock the account.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(account::SilentRelogin(site_, Demo::kSecondAccount, "wrong", kMachineCode),
                  "1001");
    }
    EXPECT_EQ(
        account::SilentRelogin(site_, Demo::kSecondAccount, Demo::kPassword, kMachineCode),
        "1000");
}

TEST_F(LoginRequestsTest, ScriptedRepliesReadAsTheWindowWouldShowThem) {
    Script("/user/loginpost", "1000\r\n");
    Script("/user/khdloginpd", "1000 ");
    Script("/user/khdloginpd", "\\u0031\\u0030\\u0030\\u0030");  // "1000", escaped
    Script("/user/khdloginpd", "500", "&status=500");
    Script("/user/khdloginpd", "");
    Script("/user/khdloginpd", std::string("1002\0junk", 9));

    std::string r = account::PostLogin(site_, "demo", "x", "1234", kMachineCode);
    EXPECT_EQ(r, "1000\r\n");
    EXPECT_FALSE(account::InterpretLoginReply(r, account::LoginMode::kManual).success);
    EXPECT_EQ(account::InterpretLoginReply(r, account::LoginMode::kManual).caption, "");

    EXPECT_EQ(account::SilentRelogin(site_, "demo", "x", kMachineCode), "1000 ");
    EXPECT_EQ(account::SilentRelogin(site_, "demo", "x", kMachineCode), "1000");
    EXPECT_EQ(account::SilentRelogin(site_, "demo", "x", kMachineCode), "500");
    EXPECT_EQ(account::SilentRelogin(site_, "demo", "x", kMachineCode), "");
    EXPECT_EQ(account::SilentRelogin(site_, "demo", "x", kMachineCode), "1002");

    // No platform at all: an empty reply, shown as the network failure.
    platform_->Stop();
    r = account::SilentRelogin(site_, "demo", "x", kMachineCode);
    EXPECT_EQ(r, "");
    EXPECT_EQ(account::InterpretLoginReply(r, account::LoginMode::kAuto).caption,
              "    网络链接失败");
    platform::PlatformLogout(site_);  // a failed logout is not reported and does not hang
    platform_->Start();
}

TEST_F(LoginRequestsTest, StartupFetchesInOrderAndTheVersionDecision) {
    platform::SiteResources site = platform::FetchSiteResources(site_);
    EXPECT_EQ(site.version_reply, "4.92");
    EXPECT_EQ(site.ServerVersion(), "Ver 4.92");
    EXPECT_EQ(site.client_title, "云桌面管家");
    EXPECT_FALSE(site.help_text.empty());
    for (const net::ByteArray* image : {&site.logo_image, &site.banner_image1, &site.banner_image2}) {
        ASSERT_GE(image->size(), 4u);
        EXPECT_EQ(std::string(image->begin(), image->begin() + 4), "\x89PNG");
    }
    std::vector<std::string> paths;
    for (const Logged& r : Requests()) paths.push_back(r.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/khd?act=ver", "/img/logo.png", "/img/vx.png",
                                               "/img/vx2.png", "/khd?act=biaoti", "/khd?act=help"}));
    EXPECT_EQ(site.version_status, 200);
    EXPECT_EQ(app::CheckVersion(site.version_status, site.version_reply, "Ver 4.92"),
              app::VersionDecision::kContinue);

    auto decide = [this] {
        platform::SiteResources version;
        platform::FetchVersion(site_, version);
        return app::CheckVersion(version.version_status, version.version_reply, "Ver 4.92");
    };
    for (const auto& [answer, decision] :
         std::vector<std::pair<std::string, app::VersionDecision>>{
             {"4.93", app::VersionDecision::kUpdateDue},
             {"4.92\r\n", app::VersionDecision::kUpdateDue},
             {"Ver 4.92", app::VersionDecision::kUpdateDue},
             {"", app::VersionDecision::kNetworkFailure}}) {
        Control(*control_, "version", answer, true);
        EXPECT_EQ(decide(), decision) << answer;
    }
    Control(*control_, "version", "4.92", true);
    // An error page in place of the version is no reply, not another version.
    for (const std::string status : {"502", "404", "500"}) {
        Script("%2Fkhd%3Fact%3Dver", "<html><body>" + status + " Bad Gateway</body></html>",
               "&status=" + status);
        EXPECT_EQ(decide(), app::VersionDecision::kNetworkFailure) << status;
    }
    EXPECT_EQ(decide(), app::VersionDecision::kContinue);

    // Without a platform every fetch is empty and the check reports the network.
    platform_->Stop();
    site = platform::FetchSiteResources(site_);
    EXPECT_EQ(site.version_reply, "");
    EXPECT_EQ(site.version_status, 0);
    EXPECT_TRUE(site.logo_image.empty());
    EXPECT_EQ(site.client_title, "");
    EXPECT_EQ(app::CheckVersion(site.version_status, site.version_reply, "Ver 4.92"),
              app::VersionDecision::kNetworkFailure);
    platform_->Start();
}

}  // namespace
}  // namespace platformd::test
