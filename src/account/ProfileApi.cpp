#include "account/ProfileApi.h"

#include "net/EcmaEscape.h"
#include "net/JsonDocument.h"
#include "net/NameValueList.h"
#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::account {
namespace {

constexpr std::string_view kProfilePath = "/user/userinfo";
constexpr std::string_view kRealNamePath = "/user/sm2";
constexpr std::string_view kUserNamePath = "/user/data/usernmae";  // the platform spells it so

std::optional<std::string> LoadProfileFor(const platform::SiteConstants& site,
                                          platform::SessionState& session, unsigned customer) {
    std::string reply = platform::ReadPlatformReply(
        net::WebRequest(site.BaseUrl() + std::string(kProfilePath)).body, kProfilePath);
    if (!net::JsonReadable(reply)) return std::nullopt;
    // Each value is read from a fresh parse, as the platform's replies are read everywhere
    // else.
    const std::string verified = net::JsonReadValue(reply, "data.VerificationResult");
    std::string real_name =
        verified == "1" ? net::JsonReadValue(reply, "data.truename") : std::string(kNotVerified);
    platform::ProfileUpdate update;
    const std::string money = net::JsonReadValue(reply, "data.usermoney");
    update.mobile = net::JsonReadValue(reply, "data.mobi");
    update.qq = net::JsonReadValue(reply, "data.QQ");
    update.email = net::JsonReadValue(reply, "data.email");
    update.balance = money + "元";
    session.MergeProfile(update, customer);
    return real_name;
}

}  // namespace

std::optional<std::string> LoadProfile(const platform::SiteConstants& site,
                                       platform::SessionState& session) {
    return LoadProfileFor(site, session, session.Customer());
}

bool RefreshProfile(const platform::SiteConstants& site, platform::SessionState& session) {
    const unsigned customer = session.Customer();
    std::optional<std::string> real_name = LoadProfileFor(site, session, customer);
    if (!real_name) return false;
    session.SetRealNameStatus(std::move(*real_name), customer);
    return true;
}

std::optional<std::string> FetchUserName(const platform::SiteConstants& site) {
    std::string reply = platform::ReadPlatformReply(
        net::WebRequest(site.BaseUrl() + std::string(kUserNamePath)).body, kUserNamePath);
    if (!net::JsonReadable(reply)) return std::nullopt;
    return net::JsonReadValue(reply, "data.username");
}

std::string EncodeRealName(const std::string& name) {
    return net::EscapeText(name, false, false, std::string("%25u"));
}

std::string SubmitRealName(const platform::SiteConstants& site, const std::string& encoded_name,
                           const std::string& id_number, const std::string& mobile) {
    net::NameValueList form;
    form.Add("truename", encoded_name);
    form.Add("perid", id_number);
    form.Add("mobi", mobile);
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    options.body = form.BuildForm();
    return platform::ReadPlatformReply(
        net::WebRequest(site.BaseUrl() + std::string(kRealNamePath), options).body, kRealNamePath);
}

}  // namespace vpsdesk::account
