#include "account/Recovery.h"

#include "net/Gbk.h"
#include "net/NameValueList.h"
#include "net/WinHttpRequest.h"

namespace vpsdesk::account {
namespace {

constexpr std::string_view kRecoveryPath = "/page/GetPasswd/GetPasswd";
// The form's page as the platform names it, lower-case "p" and all.
constexpr std::string_view kRecoveryReferer = "/page/Getpasswd/";

net::NameValueList RecoveryForm(std::string_view account, std::string_view mobile) {
    net::NameValueList form;
    form.Add("username", account);
    form.Add("mobi", mobile);
    return form;
}

}  // namespace

std::string RecoveryHeaders(const platform::SiteConstants& site, std::size_t body_bytes) {
    net::NameValueList headers;
    headers.Add("Content-Type", "application/x-www-form-urlencoded; charset=UTF-8");
    headers.Add("Accept", "*/*");
    headers.Add("X-Requested-With", "XMLHttpRequest");
    headers.Add("Referer", site.BaseUrl() + std::string(kRecoveryReferer));
    headers.Add("Accept-Language", "zh-Hans-CN,zh-Hans;q=0.5");
    headers.Add("User-Agent",
                "Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko");
    headers.Add("Host", site.site_host);
    headers.Add("Content-Length", std::to_string(body_bytes));
    headers.Add("Connection", "Keep-Alive");
    headers.Add("Cache-Control", "no-cache");
    return headers.BuildHeaders();
}

std::string RecoverPassword(const platform::SiteConstants& site, std::string_view account,
                            std::string_view mobile) {
    net::WinHttpRequestParams params;
    params.url = site.BaseUrl() + std::string(kRecoveryPath);
    params.method = net::HttpVerb::Post;
    params.body = RecoveryForm(account, mobile).BuildForm();
    // The length on the wire, where each Chinese character takes two bytes.
    params.headers = RecoveryHeaders(site, net::Utf8ToGbk(params.body).size());
    return net::WinHttpRequest(params).text;
}

RecoveryOutcome InterpretRecoveryReply(std::string_view reply) {
    if (reply == "1000") return {true, ResultPhase::kSuccess, "    找回成功"};
    if (reply == "1015") return {false, ResultPhase::kFailure, "    信息不匹配"};
    return {false, ResultPhase::kFailure, "    失败"};
}

}  // namespace vpsdesk::account
