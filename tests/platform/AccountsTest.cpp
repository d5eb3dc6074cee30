// Sign-in codes, sessions, registration, recovery and real-name verification.
#include <chrono>

#include "LoginThrottle.h"
#include "PlatformFixture.h"
#include "RawTlsConnection.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class AccountsTest : public PlatformTest {
  protected:
    std::string Relogin(TestClient& client, const std::string& account,
                        const std::string& password) {
        return client
            .Post("/user/khdloginpd", Form({{"username", account},
                                            {"password", password},
                                            {"khdkey", "0123456789ABCDEF"},
                                            {"zd", "1"},
                                            {"ver", "Ver 4.92"}}))
            .Text();
    }
};

TEST_F(AccountsTest, CaptchaIsCheckedOnceAndSurvivesTheLogoutBeforeLogin) {
    auto client = NewClient();
    Reply picture = client->Get("/user/captcha?id=0.25");
    EXPECT_EQ(picture.bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::string answer = Json(Control(*client, "captcha")).GetText("answer");
    // The client logs out right before it logs in.
    client->Get("/user/logout.asp");
    auto form = Form({{"username", "demo"},
                      {"password", Demo::kPassword},
                      {"captcha", answer == "0000" ? "1111" : "0000"},
                      {"khdkey", "K"},
                      {"zd", "1"},
                      {"ver", "Ver 4.92"}});
    EXPECT_EQ(client->Post("/user/loginpost", form).Text(), "1002");
    // The picture allowed one guess; the right digits no longer help.
    form.Set("captcha", answer);
    EXPECT_EQ(client->Post("/user/loginpost", form).Text(), "1002");
    EXPECT_EQ(client->Login("demo", Demo::kPassword, kToken), "1000");
}

TEST_F(AccountsTest, WrongPasswordsSlowTheirSourceButNeverLockTheAccount) {
    // A stranger at another address guesses the demo password on the silent re-login,
    // which has no captcha, past the attempts a source gets without delay.
    RawTlsConnection stranger(port_, "127.0.0.2");
    const std::string guess = "username=demo&password=wrong&khdkey=K&zd=1&ver=Ver 4.92";
    auto attempt = [&] {
        EXPECT_TRUE(stranger.Send("POST /user/khdloginpd HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                                  std::to_string(guess.size()) + "\r\n\r\n" + guess));
        std::string reply = stranger.ReadReply(std::chrono::seconds(20));
        return reply.substr(reply.find("\r\n\r\n") + 4);
    };
    for (int i = 0; i < LoginThrottle::kFreeFailures; ++i) EXPECT_EQ(attempt(), "1001");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(attempt(), "1001");
    EXPECT_GE(std::chrono::steady_clock::now() - start, LoginThrottle::kFirstDelay);

    // The customer still signs in, on both forms; an unknown name reads as a wrong password.
    auto client = NewClient();
    EXPECT_EQ(Relogin(*client, "demo", Demo::kPassword), "1000");
    EXPECT_EQ(client->Login("demo", Demo::kPassword, kToken), "1000");
    EXPECT_EQ(Relogin(*client, "nobody", "x"), "1001");
}

TEST_F(AccountsTest, SessionCookieIsHttpOnlyAndLogoutEndsIt) {
    auto client = NewClient();
    Control(*client, "clear", "", true);
    EXPECT_EQ(Relogin(*client, "demo", Demo::kPassword), "1000");
    EXPECT_EQ(Json(client->Get("/user/data/usernmae")).GetText("data.username"), "demo");
    client->Get("/user/logout.asp");
    EXPECT_EQ(Json(client->Get("/user/data/usernmae")).GetText("data.username"), "");
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("count"), "");
}

TEST_F(AccountsTest, SecondSessionCannotReachFirstAccountsServers) {
    auto demo = SignedIn();
    auto other = SignedIn(Demo::kSecondAccount);
    auto list = Json(ServerPage(*other, 1));
    EXPECT_EQ(list.GetText("count"), "1");
    EXPECT_EQ(list.GetText("data[0].id"), "8");
    EXPECT_NE(Json(other->Get("/user/data/vpscz?id=1&cz=reset")).GetObject("status").ToText(),
              "200");
    EXPECT_EQ(other
                  ->Post("/user/data/vpsbz", Form({{"username", Demo::kSecondAccount},
                                                   {"password", Demo::kPassword},
                                                   {"id", "1"},
                                                   {"bz", "mine"}}))
                  .Text(),
              "1001");
    EXPECT_EQ(
        other->Post("/user/data/vpspassword", Form({{"password", "Abcd2468"}, {"id", "1"}})).Text(),
        "1001");
    EXPECT_EQ(other->Post("/user/data/installos", Form({{"osid", "1"}, {"id", "1"}})).Text(),
              "1001");
    EXPECT_EQ(Json(other->Post("/user/VPSIDos", Form({{"id", "1"}}))).GetText("count"), "0");
    EXPECT_NE(Json(other->Post("/user/xfjgb", Form({{"id", "1"}}))).GetObject("status").ToText(),
              "200");
    EXPECT_NE(other->Post("/user/data/xfbuy", Form({{"year", "month"}, {"id", "1"}})).Text(),
              "1000");
    EXPECT_TRUE(vpsdesk::net::StartsWithText(
        other->Get("/user/ajax_tk_mng.asp?module=sqtk&id=1").Text(), "错误："));
    // Nothing of the first account changed.
    auto mine = Json(ServerPage(*demo, 1));
    EXPECT_EQ(mine.GetText("data[0].corewhatuser"), "");
    EXPECT_EQ(mine.GetText("data[0].zt"), "");
    EXPECT_EQ(mine.GetText("data[0].VPSpassword"), "Demo@Pass1");
}

TEST_F(AccountsTest, RegistrationWithSmsCode) {
    auto client = NewClient();
    auto code_for = [&](const std::string& mobile) {
        return vpsdesk::net::TextBetween(
            Json(Control(*client, "sms?mobi=" + mobile)).GetText("text"), "码是", "，");
    };
    const std::string path = "/user/data/Register?act=";
    EXPECT_EQ(client->Post(path + "yzm", Form({{"mobi", "手机号码"}})).Text(), "1001");
    EXPECT_EQ(client->Post(path + "yzm", Form({{"mobi", "13800138000"}})).Text(), "1003");
    EXPECT_EQ(client->Post(path + "yzm", Form({{"mobi", "13700137000"}})).Text(), "1000");
    EXPECT_EQ(client->Post(path + "yzm", Form({{"mobi", "13700137000"}})).Text(), "1002");
    std::string code = code_for("13700137000");
    ASSERT_EQ(code.size(), 6u);
    auto reg = [&](const std::string& mobile, const std::string& password, const std::string& sms) {
        return client
            ->Post(path + "reg", Form({{"mobi", mobile}, {"password", password}, {"captcha", sms}}))
            .Text();
    };
    EXPECT_EQ(reg("1370013700", "abcd2468", code), "1004");
    EXPECT_EQ(reg("13600136000", "abcd2468", code), "1001");
    EXPECT_EQ(reg("13700137000", "abcd2468", code == "000000" ? "111111" : "000000"), "1002");
    EXPECT_EQ(reg("13700137000", "abc", code), "1005");
    EXPECT_EQ(reg("13700137000", "ab123456", code), "1008");
    EXPECT_EQ(reg("13700137000", "abcd2468", code), "1000");
    EXPECT_EQ(reg("13700137000", "abcd2468", code), "1003");
    EXPECT_EQ(Relogin(*client, "13700137000", "abcd2468"), "1000");
    EXPECT_EQ(Json(client->Get("/user/userinfo")).GetText("data.VerificationResult"), "0");
}

TEST_F(AccountsTest, RecoverySendsNewPasswordToTheRegisteredMobile) {
    auto client = NewClient();
    const char* path = "/page/GetPasswd/GetPasswd";
    EXPECT_EQ(client->Post(path, Form({{"username", "demo"}, {"mobi", "13900139000"}})).Text(),
              "1015");
    EXPECT_EQ(client->Post(path, Form({{"username", "demo"}, {"mobi", "13800138000"}})).Text(),
              "1000");
    EXPECT_NE(client->Post(path, Form({{"username", "demo"}, {"mobi", "13800138000"}})).Text(),
              "1000");
    std::string sms = Json(Control(*client, "sms?mobi=13800138000")).GetText("text");
    std::string password = vpsdesk::net::TextBetween(sms, "新密码是", "，");
    ASSERT_EQ(password.size(), 10u);
    EXPECT_EQ(Relogin(*client, "demo", Demo::kPassword), "1001");
    EXPECT_EQ(Relogin(*client, "demo", password), "1000");
}

TEST_F(AccountsTest, TheRecoveryWebPageAnswersInWordsAndTheClientInCodes) {
    auto client = NewClient();
    const std::string form_page = client->Get("/user/findpwd/index.html").Text();
    for (const char* part : {"name=\"username\"", "name=\"mobi\"", "name=\"page\"",
                             "action=\"/page/GetPasswd/GetPasswd\"", "找回密码"})
        EXPECT_NE(form_page.find(part), std::string::npos) << part;

    const char* path = "/page/GetPasswd/GetPasswd";
    auto from_page = [&](const char* mobile) {
        return client->Post(path, Form({{"page", "1"}, {"username", "demo"}, {"mobi", mobile}}))
            .Text();
    };
    EXPECT_NE(from_page("13900139000").find("账号与手机号码不匹配"), std::string::npos);
    EXPECT_NE(from_page("13800138000").find("新密码已通过短信发送"), std::string::npos);
    EXPECT_NE(from_page("13800138000").find("请求过于频繁"), std::string::npos);
    // Without the page's field the same request gets the bare code the client reads.
    EXPECT_EQ(client->Post(path, Form({{"username", "demo"}, {"mobi", "13800138000"}})).Text(),
              "1016");
}

TEST_F(AccountsTest, RealNameNeedsValidIdAndOwnMobile) {
    auto client = SignedIn(Demo::kSecondAccount);
    auto submit = [&](const std::string& perid, const std::string& mobile) {
        // The name arrives as the client escapes it: 张三 as %25u5F20%25u4E09.
        return client
            ->Post("/user/sm2",
                   Form({{"truename", "%25u5F20%25u4E09"}, {"perid", perid}, {"mobi", mobile}}))
            .Text();
    };
    EXPECT_EQ(submit("110105194912310021", Demo::kSecondAccount), "1001");  // wrong check digit
    EXPECT_EQ(submit("11010519491231002X", "13800138000"), "1001");         // someone else's mobile
    EXPECT_EQ(submit("11010519491231002x", Demo::kSecondAccount), "1000");
    auto info = Json(client->Get("/user/userinfo"));
    EXPECT_EQ(info.GetText("data.VerificationResult"), "1");
    EXPECT_EQ(info.GetText("data.truename"), "张三");
}

}  // namespace
}  // namespace platformd::test
