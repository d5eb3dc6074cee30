#include "account/ProfileApi.h"

#include "account/PlatformApi.h"
#include "account/PlatformReply.h"
#include "app/SessionState.h"
#include "net/EcmaEscape.h"
#include "net/JsonDocument.h"
#include "net/NameValueList.h"
#include "net/WebRequest.h"

namespace vpsdesk::account {
namespace {

constexpr std::string_view kProfilePath = "/user/userinfo";
constexpr std::string_view kRealNamePath = "/user/sm2";

std::optional<std::string> LoadProfileFor(unsigned customer) {
    std::string reply =
        ReadPlatformReply(net::WebRequest(BaseUrl() + std::string(kProfilePath)), kProfilePath);
    if (!net::JsonReadable(reply)) return std::nullopt;
    // Each value is read from a fresh parse, as the platform's replies are read everywhere
    // else.
    const std::string verified = net::JsonReadValue(reply, "data.VerificationResult");
    std::string real_name =
        verified == "1" ? net::JsonReadValue(reply, "data.truename") : std::string(kNotVerified);
    app::ProfileUpdate update;
    const std::string money = net::JsonReadValue(reply, "data.usermoney");
    update.mobile = net::JsonReadValue(reply, "data.mobi");
    update.qq = net::JsonReadValue(reply, "data.QQ");
    update.email = net::JsonReadValue(reply, "data.email");
    update.balance = money + "元";
    app::Session().MergeProfile(update, customer);
    return real_name;
}

}  // namespace

std::optional<std::string> LoadProfile() {
    return LoadProfileFor(app::Session().Customer());
}

bool RefreshProfile() {
    const unsigned customer = app::Session().Customer();
    std::optional<std::string> real_name = LoadProfileFor(customer);
    if (!real_name) return false;
    app::Session().SetRealNameStatus(std::move(*real_name), customer);
    return true;
}

std::string EncodeRealName(const std::string& name) {
    return net::EscapeText(name, false, false, std::string("%25u"));
}

std::string SubmitRealName(const std::string& encoded_name, const std::string& id_number) {
    net::NameValueList form;
    form.Add("truename", encoded_name);
    form.Add("perid", id_number);
    form.Add("mobi", app::Session().ProfileMobile());
    net::WebRequestOptions options;
    options.method = 1;
    options.body = form.BuildForm();
    return ReadPlatformReply(net::WebRequest(BaseUrl() + std::string(kRealNamePath), options),
                             kRealNamePath);
}

}  // namespace vpsdesk::account
