#pragma once
// Registering an account: the code request and the registration request, the checks made
// before anything is sent, and what each reply leads to. No widgets here.
#include <optional>
#include <string>
#include <string_view>

#include "account/LoginResult.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

inline constexpr std::string_view kMobileHint = "手机号码";
inline constexpr std::string_view kRegisterPasswordHint = "密码";
inline constexpr std::string_view kConfirmHint = "确认密码";
inline constexpr std::string_view kSmsCodeHint = "短信验证码";
inline constexpr std::string_view kSendCodeCaption = "发送验证码";
inline constexpr std::string_view kSendingCodeCaption = "正在发送中";
inline constexpr std::string_view kCodeSentCaption = "发送成功";
inline constexpr std::string_view kSendFailedTitle = "发送失败";
inline constexpr std::string_view kRegisterCaption = "注册账号";
inline constexpr std::string_view kRegisteringCaption = "    正在注册中";
inline constexpr std::string_view kRegisteredCaption = "注册成功";
inline constexpr std::string_view kRegisterErrorTitle = "错误";
inline constexpr int kCodeCountdownSeconds = 60;

// POST /user/data/Register?act=yzm with "mobi": the result code, "\u" escapes decoded;
// empty when the request failed.
std::string RequestSmsCode(const platform::SiteConstants& site, std::string_view mobile);
// POST /user/data/Register?act=reg with "mobi", "password" and "captcha": the result code.
std::string Register(const platform::SiteConstants& site, std::string_view mobile,
                     std::string_view password, std::string_view code);

// The box shown after a code request that was not accepted; none for "1000", for an
// empty reply and for codes without a message.
std::optional<std::string> SmsCodeRefusal(std::string_view reply);
// Whether the button waits a second before its caption returns: after every reply but
// "1003".
bool PauseAfterSmsRefusal(std::string_view reply);

// The code button's caption with `seconds_left` seconds to go ("59s" ... "0s").
std::string CountdownCaption(int seconds_left);

// The four boxes as they will be sent; a box that shows its hint counts as empty.
struct RegistrationForm {
    std::string mobile;
    std::string password;
    std::string confirmation;
    std::string code;
    bool mobile_empty = true;
    bool password_empty = true;
    bool confirmation_empty = true;
    bool code_empty = true;
};

// The first check that fails, in the order the customer reads the boxes; nothing when
// the form may be sent.
std::optional<std::string> RegistrationRefusal(const RegistrationForm& form);

struct RegistrationOutcome {
    bool success = false;
    ResultPhase phase = ResultPhase::kFailure;
    std::string caption;        // while the result shows
    std::string final_caption;  // after it; a success keeps its caption
    bool operator==(const RegistrationOutcome&) const = default;
};

RegistrationOutcome InterpretRegistrationReply(std::string_view reply);
// Before the result shows: the success delay for "1000" and for an empty reply (the
// network gave up already), the failure delay otherwise.
int DelayBeforeRegistrationResult(std::string_view reply, const ResultDelays& delays);

}  // namespace vpsdesk::account
