#pragma once
// The login requests: captcha picture, login with captcha, silent re-login.
#include <string>
#include <string_view>

#include "net/ByteArray.h"
#include "platform/PlatformRequest.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

// A fresh captcha id: the text a script engine prints for Math.random(), such as
// "0.8263512278236542".
std::string CaptchaId();

// GET /user/captcha?id=<CaptchaId()>: the picture's bytes, empty when the request failed.
net::ByteArray LoadCaptcha(const platform::SiteConstants& site);

// POST /user/loginpost with username, password, captcha, khdkey, zd = "1" and
// ver = the site's local version label, values sent exactly as given. Returns the reply as text,
// "\u" escapes decoded; empty when the request failed.
std::string PostLogin(const platform::SiteConstants& site, std::string_view account,
                      std::string_view password, std::string_view captcha,
                      std::string_view machine_code);

// POST /user/khdloginpd: the same without the captcha.
std::string SilentRelogin(const platform::SiteConstants& site, std::string_view account,
                          std::string_view password, std::string_view machine_code);
// The same, telling a network failure apart from a platform that answered.
platform::PlatformResponse SilentReloginReply(const platform::SiteConstants& site,
                                              std::string_view account, std::string_view password,
                                              std::string_view machine_code);

}  // namespace vpsdesk::account
