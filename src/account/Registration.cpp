#include "account/Registration.h"

#include <array>
#include <utility>

#include "net/NameValueList.h"
#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::account {
namespace {

constexpr std::string_view kCodePath = "/user/data/Register?act=yzm";
constexpr std::string_view kRegisterPath = "/user/data/Register?act=reg";
constexpr std::string_view kSuccess = "1000";

std::string Post(const platform::SiteConstants& site, std::string_view path,
                 const net::NameValueList& form, bool as_bytes) {
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    if (as_bytes)
        options.body_bytes = form.BuildFormBytes();
    else
        options.body = form.BuildForm();
    return platform::ReadPlatformReply(
        net::WebRequest(site.BaseUrl() + std::string(path), options).body, path);
}

}  // namespace

std::string RequestSmsCode(const platform::SiteConstants& site, std::string_view mobile) {
    net::NameValueList form;
    form.Add("mobi", mobile);
    return Post(site, kCodePath, form, true);
}

std::string Register(const platform::SiteConstants& site, std::string_view mobile,
                     std::string_view password, std::string_view code) {
    net::NameValueList form;
    form.Add("mobi", mobile);
    form.Add("password", password);
    form.Add("captcha", code);
    return Post(site, kRegisterPath, form, false);
}

std::optional<std::string> SmsCodeRefusal(std::string_view reply) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kMessages{{
        {"1003", "号码已注册"},
        {"1002", "过于频繁"},
        {"1007", "验证码错误"},
        {"1001", "手机格式不正确"},
    }};
    for (const auto& [code, message] : kMessages)
        if (reply == code) return std::string(message);
    return std::nullopt;
}

bool PauseAfterSmsRefusal(std::string_view reply) { return reply != "1003"; }

std::string CountdownCaption(int seconds_left) { return std::to_string(seconds_left) + "s"; }

std::optional<std::string> RegistrationRefusal(const RegistrationForm& form) {
    if (form.mobile_empty) return "手机号不能为空";
    if (form.password_empty) return "密码不能为空";
    if (form.confirmation_empty) return "确认密码不能为空";
    if (form.confirmation != form.password) return "两次密码不一致";
    if (form.code_empty) return "请正确填写验证码";
    return std::nullopt;
}

RegistrationOutcome InterpretRegistrationReply(std::string_view reply) {
    if (reply == kSuccess)
        return {true, ResultPhase::kSuccess, std::string(kRegisteredCaption),
                std::string(kRegisteredCaption)};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kCaptions{{
        {"1004", "    手机格式不正确"},
        {"1005", "    密码格式不正确"},
        {"1002", "    验证码不正确"},
        {"1006", "    验证码不正确"},
        {"1008", "    密码不能连号"},
        {"1003", "    用户已存在"},
        {"1001", "    手机不匹配"},
    }};
    std::string caption = reply.empty() ? "    网络超时" : "    注册失败";
    for (const auto& [code, text] : kCaptions)
        if (reply == code) caption = text;
    // A malformed number sends the customer back to the code step.
    const std::string final_caption = reply == "1004" ? "发送短信验证" : "注册";
    return {false, ResultPhase::kFailure, std::move(caption), final_caption};
}

int DelayBeforeRegistrationResult(std::string_view reply, const ResultDelays& delays) {
    return reply == kSuccess || reply.empty() ? delays.success_ms : delays.failure_ms;
}

}  // namespace vpsdesk::account
