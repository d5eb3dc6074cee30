// Server operations: remark text kept exactly, password and install codes, refund.
#include "PlatformFixture.h"
#include "net/Gbk.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class ServersTest : public PlatformTest {
  protected:
    std::string SetRemark(TestClient& client, const std::string& remark) {
        return client
            .Post("/user/data/vpsbz", Form({{"username", "demo"},
                                            {"password", Demo::kPassword},
                                            {"id", "2"},
                                            {"bz", remark}}))
            .Text();
    }
    std::string RemarkOfServer2(TestClient& client) {
        return Json(ServerPage(client, 1)).GetText("data[1].corewhatuser");
    }
};

TEST_F(ServersTest, RemarksAreStoredVerbatimOrRefusedNeverAltered) {
    auto client = SignedIn();
    for (const std::string remark :
         {"'; DROP TABLE servers; --", "测试服务器 A=B", "", "x\" OR \"1\"=\"1", "100% ok"}) {
        EXPECT_EQ(SetRemark(*client, remark), "1000") << remark;
        EXPECT_EQ(RemarkOfServer2(*client), remark);
    }
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("count"), "7");
    // Sent raw, these would split the form or decode to other text: refused, and the
    // stored remark stays as it was.
    for (const std::string& remark : std::vector<std::string>{
             "A&B", "A&B=C", "C++", "%41BC", "trailing&", "line\r\nbreak", std::string(51, 'x')}) {
        EXPECT_EQ(SetRemark(*client, remark), "1002") << remark;
        EXPECT_EQ(RemarkOfServer2(*client), "100% ok") << remark;
    }
    EXPECT_EQ(
        client
            ->Post("/user/data/vpsbz",
                   Form({{"username", "demo"}, {"password", "wrong"}, {"id", "2"}, {"bz", "x"}}))
            .Text(),
        "1001");
}

TEST_F(ServersTest, ChineseFormValuesTravelAsGbk) {
    auto client = SignedIn();
    Control(*client, "clear", "", true);
    EXPECT_EQ(SetRemark(*client, "数据库主机"), "1000");
    auto log = Json(Control(*client, "requests"));
    ASSERT_EQ(log.GetText("count"), "1");
    std::string gbk = vpsdesk::net::Utf8ToGbk("数据库主机");
    std::string hex;
    for (unsigned char c : gbk) {
        static const char* digits = "0123456789abcdef";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    EXPECT_TRUE(vpsdesk::net::EndsWithText(log.GetText("data[0].body_hex"), hex));
    // The reply is GBK as well: its raw bytes hold the GBK form of the remark.
    EXPECT_NE(ServerPage(*client, 1).bytes.find(gbk), std::string::npos);
}

TEST_F(ServersTest, PasswordInstallAndRefundCodes) {
    auto client = SignedIn();
    auto password = [&](const std::string& value, const std::string& id) {
        return client->Post("/user/data/vpspassword", Form({{"password", value}, {"id", id}}))
            .Text();
    };
    EXPECT_EQ(password("abc", "3"), "1002");
    EXPECT_EQ(password("密码密码密码", "3"), "1002");
    EXPECT_EQ(password("abc54321", "3"), "1003");
    EXPECT_EQ(password("Abcd2468", "5"), "1001");  // expired
    EXPECT_EQ(password("Abcd2468", "3"), "1000");
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("data[2].VPSpassword"), "Abcd2468");

    auto os = Json(client->Post("/user/VPSIDos", Form({{"id", "2"}})));
    ASSERT_EQ(os.GetText("count"), "3");
    EXPECT_EQ(client->Post("/user/data/installos", Form({{"osid", "4"}, {"id", "2"}})).Text(),
              "1001");
    EXPECT_EQ(client->Post("/user/data/installos", Form({{"osid", ""}, {"id", "2"}})).Text(),
              "1001");
    EXPECT_EQ(client
                  ->Post("/user/data/installos",
                         Form({{"osid", os.GetText("data[2].osid")}, {"id", "2"}}))
                  .Text(),
              "1000");
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("data[1].zt"), "重装系统中");

    std::string refund = "/user/ajax_tk_mng.asp?module=sqtk&id=7";
    EXPECT_FALSE(vpsdesk::net::ContainsText(client->Get(refund).Text(), "错误："));
    EXPECT_TRUE(vpsdesk::net::StartsWithText(client->Get(refund).Text(), "错误："));
    EXPECT_EQ(Json(ServerPage(*client, 2)).GetText("data[1].zt"), "退款审核中");
}

}  // namespace
}  // namespace platformd::test
