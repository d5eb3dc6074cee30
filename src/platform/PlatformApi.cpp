#include "platform/PlatformApi.h"

#include "net/Gbk.h"
#include "net/NameValueList.h"
#include "net/WebRequest.h"

namespace vpsdesk::platform {

std::string BrowserHeaders(const platform::SiteConstants& site) {
    net::NameValueList headers;
    headers.Add("Accept",
                "image/gif, image/jpeg, image/pjpeg, application/x-ms-application, "
                "application/xaml+xml, application/x-ms-xbap, */*");
    headers.Add("Referer", site.BaseUrl() + "/user/cloud-logininfo.asp");
    headers.Add("Accept-Language", "zh-Hans-CN,zh-Hans;q=0.5");
    headers.Add("User-Agent",
                "Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko");
    headers.Add("Host", site.site_host);
    headers.Add("Connection", "Keep-Alive");
    headers.Add("Cache-Control", "no-cache");
    return headers.BuildHeaders();
}

void PlatformLogout(const platform::SiteConstants& site) {
    net::WebRequestOptions options;
    options.headers = BrowserHeaders(site);
    net::WebRequest(site.BaseUrl() + "/user/logout.asp", options);
}

std::string FetchCommand(const platform::SiteConstants& site, std::string_view name) {
    return FetchCommandReply(site, name).text;
}

PlatformResponse FetchCommandReply(const platform::SiteConstants& site, std::string_view name) {
    const net::WebReply reply = net::WebRequest(site.CommandUrl() + std::string(name));
    return {net::ReplyText(reply.body), !reply.Ok()};
}

}  // namespace vpsdesk::platform
