#include "servers/OperationOutcome.h"

#include "net/JsonDocument.h"

namespace vpsdesk::servers {

namespace {

constexpr std::string_view kNotice = "提示";
constexpr std::string_view kError = "错误";
constexpr std::string_view kRefundMarker = "错误：";

OperationOutcome Box(BoxKind box, std::string_view title, std::string_view text, bool refresh,
                     bool close = false, bool done = false) {
    return {box, std::string(title), std::string(text), refresh, close, done};
}

}  // namespace

OperationOutcome WithNetworkFailure(OperationOutcome outcome, bool network_failed) {
    if (!network_failed || !outcome.text.empty()) return outcome;
    if (outcome.box == BoxKind::None) {
        outcome.box = BoxKind::Toolkit;
        outcome.title = kError;
    }
    outcome.text = kNetworkFailedText;
    return outcome;
}

OperationOutcome RestartOutcome(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    if (doc.GetObject("status").ToText() == "200")
        return Box(BoxKind::Toolkit, kNotice, "操作成功，请耐心等待", true, false, true);
    return Box(BoxKind::Toolkit, kError, reply, true);
}

OperationOutcome RemarkOutcome(std::string_view reply) {
    std::string_view text = "设置失败";
    if (reply == "1000") text = "设置成功";
    if (reply == "1002") text = "字符非法";
    return Box(BoxKind::Plain, "", text, true, true, reply == "1000");
}

OperationOutcome InstallWithoutOsOutcome() {
    return Box(BoxKind::Plain, "", "安装失败", false);
}

OperationOutcome InstallOutcome(std::string_view reply) {
    if (reply == "1000") return Box(BoxKind::Toolkit, kNotice, "重置成功，请耐心等待", true, false, true);
    return Box(BoxKind::Toolkit, kError, "重置失败", true);
}

bool PasswordsMatch(std::string_view password, std::string_view repeat) {
    return password == repeat;
}

OperationOutcome PasswordMismatchOutcome() {
    return Box(BoxKind::Toolkit, kError, "两次密码不一致", false);
}

OperationOutcome PasswordOutcome(std::string_view reply) {
    if (reply == "1000") return {BoxKind::None, "", "", true, true, true};
    if (reply == "1001") return Box(BoxKind::Toolkit, kError, "密码设置失败请联系客服", false);
    if (reply == "1002")
        return Box(BoxKind::Toolkit, kError, "密码格式错误，请输入6-20位之间的数字与字母", false);
    if (reply == "1003")
        return Box(BoxKind::Toolkit, kError, "密码强度过低，请不要输入连号数字", false);
    return {};
}

OperationOutcome RefundOutcome(std::string_view reply) {
    std::string message;
    if (const auto at = reply.rfind(kRefundMarker); at != std::string_view::npos)
        message = reply.substr(at + kRefundMarker.size());
    const bool done = !reply.empty() && message.empty();
    if (done) message = "申请成功，请等待客服审核";
    return Box(BoxKind::Timed, "友情提醒", message, true, false, done);
}

OperationOutcome RenewOutcome(std::string_view reply) {
    if (reply == "1000") return Box(BoxKind::Plain, "", "续费成功", true, true, true);
    return Box(BoxKind::Plain, "", reply, false);
}

OperationOutcome InsufficientBalanceOutcome() {
    return Box(BoxKind::Plain, "", "余额不足", false);
}

}  // namespace vpsdesk::servers
