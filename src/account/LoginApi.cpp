#include "account/LoginApi.h"

#include <openssl/rand.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "net/EcmaNumber.h"
#include "net/NameValueList.h"
#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::account {
namespace {

constexpr std::string_view kLoginPath = "/user/loginpost";
constexpr std::string_view kReloginPath = "/user/khdloginpd";

std::uint64_t RandomBits() {
    std::uint64_t bits = 0;
    unsigned char bytes[sizeof bits];
    if (RAND_bytes(bytes, sizeof bytes) == 1) {
        std::memcpy(&bits, bytes, sizeof bits);
        return bits;
    }
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

// The identifying fields that close every login form.
void AddClientFields(net::NameValueList& form, std::string_view machine_code,
                     const platform::SiteConstants& site) {
    form.Add("khdkey", machine_code);
    form.Add("zd", "1");
    form.Add("ver", site.local_version);
}

platform::PlatformResponse PostForm(const platform::SiteConstants& site, std::string_view path,
                                    const net::NameValueList& form) {
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    options.body_bytes = form.BuildFormBytes();
    const net::WebReply reply = net::WebRequest(site.BaseUrl() + std::string(path), options);
    return {platform::ReadPlatformReply(reply.body, path), !reply.Ok()};
}

}  // namespace

std::string CaptchaId() {
    // 53 random bits make a double evenly spread over [0, 1), as Math.random() gives.
    double value = static_cast<double>(RandomBits() >> 11) * 0x1.0p-53;
    return net::EcmaNumberToString(value);
}

net::ByteArray LoadCaptcha(const platform::SiteConstants& site) {
    return net::WebRequest(site.BaseUrl() + "/user/captcha?id=" + CaptchaId()).body;
}

std::string PostLogin(const platform::SiteConstants& site, std::string_view account,
                      std::string_view password, std::string_view captcha,
                      std::string_view machine_code) {
    net::NameValueList form;
    form.Add("username", account);
    form.Add("password", password);
    form.Add("captcha", captcha);
    AddClientFields(form, machine_code, site);
    return PostForm(site, kLoginPath, form).text;
}

std::string SilentRelogin(const platform::SiteConstants& site, std::string_view account,
                          std::string_view password, std::string_view machine_code) {
    return SilentReloginReply(site, account, password, machine_code).text;
}

platform::PlatformResponse SilentReloginReply(const platform::SiteConstants& site,
                                              std::string_view account, std::string_view password,
                                              std::string_view machine_code) {
    net::NameValueList form;
    form.Add("username", account);
    form.Add("password", password);
    AddClientFields(form, machine_code, site);
    return PostForm(site, kReloginPath, form);
}

}  // namespace vpsdesk::account
