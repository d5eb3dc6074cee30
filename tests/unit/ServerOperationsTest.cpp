// The server operations and the renewal as the platform and the customer see them: the
// requests each sends, and what each reply leads to (box, refresh, window closed).
#include <gtest/gtest.h>

#include "servers/OperationOutcome.h"
#include "servers/OperationRequests.h"
#include "servers/OsChoice.h"
#include "servers/RenewalQuote.h"

using namespace vpsdesk::servers;

namespace {

struct OutcomeCase {
    const char* name;
    OperationOutcome (*read)(std::string_view);
    const char* reply;
    OperationOutcome expected;
};

constexpr auto kPlain = BoxKind::Plain;
constexpr auto kToolkit = BoxKind::Toolkit;

const OutcomeCase kOutcomes[] = {
    {"restart number 200",
     RestartOutcome,
     R"({"status":200})",
     {kToolkit, "提示", "操作成功，请耐心等待", true, false, true}},
    {"restart string 200",
     RestartOutcome,
     R"({"status":"200"})",
     {kToolkit, "错误", R"({"status":"200"})", true}},
    {"restart not JSON",
     RestartOutcome,
     "<html>502</html>",
     {kToolkit, "错误", "<html>502</html>", true}},
    {"restart failed", RestartOutcome, "", {kToolkit, "错误", "", true}},
    {"remark 1000", RemarkOutcome, "1000", {kPlain, "", "设置成功", true, true, true}},
    {"remark 1002", RemarkOutcome, "1002", {kPlain, "", "字符非法", true, true}},
    {"remark other", RemarkOutcome, "1001", {kPlain, "", "设置失败", true, true}},
    {"remark failed", RemarkOutcome, "", {kPlain, "", "设置失败", true, true}},
    {"install 1000", InstallOutcome, "1000", {kToolkit, "提示", "重置成功，请耐心等待", true, false, true}},
    {"install other", InstallOutcome, "1000 ", {kToolkit, "错误", "重置失败", true}},
    {"install failed", InstallOutcome, "", {kToolkit, "错误", "重置失败", true}},
    {"password 1000", PasswordOutcome, "1000", {BoxKind::None, "", "", true, true, true}},
    {"password 1001", PasswordOutcome, "1001", {kToolkit, "错误", "密码设置失败请联系客服", false}},
    {"password 1002",
     PasswordOutcome,
     "1002",
     {kToolkit, "错误", "密码格式错误，请输入6-20位之间的数字与字母", false}},
    {"password 1003",
     PasswordOutcome,
     "1003",
     {kToolkit, "错误", "密码强度过低，请不要输入连号数字", false}},
    {"password other", PasswordOutcome, "ok", {}},
    {"password failed", PasswordOutcome, "", {}},
    {"refund reason with markup",
     RefundOutcome,
     "<p>错误：旧的</p><p>错误：已申请过</p></body>",
     {BoxKind::Timed, "友情提醒", "已申请过</p></body>", true}},
    {"refund without marker",
     RefundOutcome,
     "<html>ok</html>",
     {BoxKind::Timed, "友情提醒", "申请成功，请等待客服审核", true, false, true}},
    {"refund marker at the end",
     RefundOutcome,
     "错误：",
     {BoxKind::Timed, "友情提醒", "申请成功，请等待客服审核", true, false, true}},
    {"refund failed", RefundOutcome, "", {BoxKind::Timed, "友情提醒", "", true}},
    {"renew 1000", RenewOutcome, "1000", {kPlain, "", "续费成功", true, true, true}},
    {"renew refused", RenewOutcome, "余额不足，请充值", {kPlain, "", "余额不足，请充值", false}},
    {"renew failed", RenewOutcome, "", {kPlain, "", "", false}},
};

}  // namespace

TEST(ServerOperationOutcome, EveryReplyLeadsToItsBoxRefreshCloseAndVerdict) {
    for (const OutcomeCase& c : kOutcomes) {
        const OperationOutcome got = c.read(c.reply);
        EXPECT_EQ(got.box, c.expected.box) << c.name;
        EXPECT_EQ(got.title, c.expected.title) << c.name;
        EXPECT_EQ(got.text, c.expected.text) << c.name;
        EXPECT_EQ(got.refresh, c.expected.refresh) << c.name;
        EXPECT_EQ(got.close, c.expected.close) << c.name;
        EXPECT_EQ(got.done, c.expected.done) << c.name;
    }
}

TEST(ServerOperationOutcome, LocalChecksSendNothingAndRefreshNothing) {
    EXPECT_FALSE(PasswordsMatch("abc123", "abc124"));
    EXPECT_FALSE(PasswordsMatch("abc123", "abc123 "));
    EXPECT_TRUE(PasswordsMatch("", ""));
    for (const OperationOutcome& o :
         {PasswordMismatchOutcome(), InstallWithoutOsOutcome(), InsufficientBalanceOutcome()}) {
        EXPECT_FALSE(o.refresh) << o.text;
        EXPECT_FALSE(o.close) << o.text;
    }
    EXPECT_EQ(PasswordMismatchOutcome().text, "两次密码不一致");
    EXPECT_EQ(InstallWithoutOsOutcome().text, "安装失败");
    EXPECT_EQ(InsufficientBalanceOutcome().text, "余额不足");
}

TEST(ServerOperationRequests, EachSendsItsPathFormAndRedirectRule) {
    struct Case {
        OperationRequest got;
        bool post;
        const char* path;
        const char* form;
        std::optional<bool> no_redirect;
    } cases[] = {
        {RestartRequest("101"), false, "/user/data/vpscz?id=101&cz=reset", "", std::nullopt},
        {RemarkRequest("demo", "p&w=1", "101", "a&b=c 中文"), true, "/user/data/vpsbz",
         "username=demo&password=p&w=1&id=101&bz=a&b=c 中文", std::nullopt},
        {OsListRequest("101"), true, "/user/VPSIDos", "id=101", true},
        {InstallRequest("7", "101"), true, "/user/data/installos", "osid=7&id=101", false},
        {PasswordRequest("Ab12345", "101"), true, "/user/data/vpspassword",
         "password=Ab12345&id=101", std::nullopt},
        {RenewalPricesRequest("101"), true, "/user/xfjgb", "id=101", true},
        {RenewRequest("day", "101"), true, "/user/data/xfbuy", "year=day&id=101", true},
        {RenewRequest("Annual", "101"), true, "/user/data/xfbuy", "year=Annual&id=101", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got.post, c.post) << c.path;
        EXPECT_EQ(c.got.path, c.path);
        EXPECT_EQ(c.got.form, c.form) << c.path;
        EXPECT_EQ(c.got.no_redirect, c.no_redirect) << c.path;
        EXPECT_EQ(c.got.headers, "") << c.path;
    }
}

TEST(ServerOperationRequests, RefundSendsFiveHeaderLinesInOrder) {
    const OperationRequest r = RefundRequest("101", "vps.example.com");
    EXPECT_FALSE(r.post);
    EXPECT_EQ(r.path, "/user/ajax_tk_mng.asp?module=sqtk&id=101");
    EXPECT_EQ(r.ReplyPath(), "/user/ajax_tk_mng.asp");
    EXPECT_EQ(
        r.headers,
        "Accept: image/gif, image/jpeg, image/pjpeg, application/x-ms-application, "
        "application/xaml+xml, application/x-ms-xbap, */*\r\n"
        "Accept-Language: zh-Hans-CN,zh-Hans;q=0.5\r\n"
        "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko\r\n"
        "Host: vps.example.com\r\n"
        "Connection: Keep-Alive");
}

TEST(OsChoice, TheFirstIsChosenAndAPickTakesTheIdAtItsIndex) {
    OsChoice choice = OsChoice::FromReply(
        R"({"count":3,"data":[{"osname":"Windows 2012","osid":"11"},
            {"osname":"Windows 2016","osid":12},{"osname":"CentOS 7","osid":"13"}]})");
    EXPECT_EQ(choice.Names(),
              (std::vector<std::string>{"Windows 2012", "Windows 2016", "CentOS 7"}));
    EXPECT_EQ(choice.ChosenId(), "11");
    choice.Choose(2);
    EXPECT_EQ(choice.ChosenId(), "13");
    choice.Choose(1);
    EXPECT_EQ(choice.ChosenId(), "12");
    choice.Choose(3);
    EXPECT_EQ(choice.ChosenId(), "12") << "a pick outside the list changes nothing";
}

TEST(OsChoice, AFailedEmptyOrOverstatedListOffersOnlyWhatItHolds) {
    for (const char* reply : {"", "not json", R"({"count":0,"data":[]})", R"({"count":2})"}) {
        const OsChoice choice = OsChoice::FromReply(reply);
        EXPECT_TRUE(choice.Names().empty()) << reply;
        EXPECT_EQ(choice.ChosenId(), "") << reply;
    }
    const OsChoice overstated =
        OsChoice::FromReply(R"({"count":2000000000,"data":[{"osname":"A","osid":"1"}]})");
    EXPECT_EQ(overstated.Ids(), std::vector<std::string>{"1"});
}

TEST(RenewalQuote, PricesEnableThePeriodsAndGiveTheCost) {
    const RenewalQuote quote = RenewalQuote::FromReply(
        R"({"data":[{"day":"0","month":"30","Annual":"300.5","starttime":"2026-01-01 08:00:00",
            "endtime":"2026-12-19 08:00:00"}]})");
    EXPECT_FALSE(quote.Offered(RenewalPeriod::Day));
    EXPECT_TRUE(quote.Offered(RenewalPeriod::Month));
    EXPECT_TRUE(quote.Offered(RenewalPeriod::Year));
    EXPECT_EQ(quote.CostText(RenewalPeriod::Month), "30元");
    EXPECT_EQ(quote.CostText(RenewalPeriod::Year), "300元");
    EXPECT_EQ(quote.StartTime(), "2026-01-01 08:00:00");
    EXPECT_EQ(quote.EndTime(), "2026-12-19 08:00:00");

    const RenewalQuote failed = RenewalQuote::FromReply("");
    EXPECT_TRUE(failed.Offered(RenewalPeriod::Month)) << "the month is always offered";
    EXPECT_FALSE(failed.Offered(RenewalPeriod::Year));
    EXPECT_EQ(failed.CostText(RenewalPeriod::Month), "0元");
    EXPECT_EQ(failed.EndTime(), "");
}

TEST(RenewalQuote, TheBalanceCountsInWholeYuan) {
    struct Case {
        const char* balance;
        long long price;
        bool covers;
    } cases[] = {
        {"29.99元", 30, false}, {"30.00元", 30, true},
        {"", 0, true},          {"", 1, false},
        {"３０元", 30, true},   {"abc", 0, true},
        {"-5元", 0, false},     {"100元", 9223372036854775807LL, false},
    };
    for (const Case& c : cases) EXPECT_EQ(BalanceCovers(c.balance, c.price), c.covers) << c.balance;
    EXPECT_EQ(RenewalPeriodName(RenewalPeriod::Day), "day");
    EXPECT_EQ(RenewalPeriodName(RenewalPeriod::Month), "month");
    EXPECT_EQ(RenewalPeriodName(RenewalPeriod::Year), "Annual");
    EXPECT_EQ(RenewalPeriodName(RenewalPeriod::None), "");
}

TEST(ServerOperationOutcome, ANetworkFailureIsToldWhereTheReplyWouldShowNothing) {
    struct Case {
        const char* name;
        OperationOutcome (*read)(std::string_view);
        BoxKind box;
        const char* text;
    } cases[] = {
        {"restart", RestartOutcome, BoxKind::Toolkit, "网络连接失败，请检查网络后重试"},
        {"refund", RefundOutcome, BoxKind::Timed, "网络连接失败，请检查网络后重试"},
        {"renew", RenewOutcome, BoxKind::Plain, "网络连接失败，请检查网络后重试"},
        {"password", PasswordOutcome, BoxKind::Toolkit, "网络连接失败，请检查网络后重试"},
        {"remark keeps its text", RemarkOutcome, BoxKind::Plain, "设置失败"},
        {"install keeps its text", InstallOutcome, BoxKind::Toolkit, "重置失败"},
    };
    for (const Case& c : cases) {
        const OperationOutcome plain = c.read("");
        const OperationOutcome failed = WithNetworkFailure(plain, true);
        EXPECT_EQ(failed.box, c.box) << c.name;
        EXPECT_EQ(failed.text, c.text) << c.name;
        EXPECT_EQ(failed.refresh, plain.refresh) << c.name;
        EXPECT_EQ(failed.close, plain.close) << c.name;
        EXPECT_EQ(WithNetworkFailure(plain, false), plain)
            << "an empty answer of the platform stays";
    }
}
