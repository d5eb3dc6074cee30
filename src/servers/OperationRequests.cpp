#include "servers/OperationRequests.h"

#include "net/NameValueList.h"

namespace vpsdesk::servers {

namespace {

OperationRequest Post(std::string_view path, const net::NameValueList& form,
                      std::optional<bool> no_redirect = std::nullopt) {
    OperationRequest request;
    request.post = true;
    request.path = path;
    request.form = form.BuildForm();
    request.no_redirect = no_redirect;
    return request;
}

OperationRequest Get(std::string path, std::string headers = {}) {
    OperationRequest request;
    request.path = std::move(path);
    request.headers = std::move(headers);
    return request;
}

}  // namespace

OperationRequest RestartRequest(std::string_view id) {
    return Get("/user/data/vpscz?id=" + std::string(id) + "&cz=reset");
}

OperationRequest RemarkRequest(std::string_view account, std::string_view password,
                               std::string_view id, std::string_view remark) {
    net::NameValueList form;
    form.Add("username", account);
    form.Add("password", password);
    form.Add("id", id);
    form.Add("bz", remark);
    return Post("/user/data/vpsbz", form);
}

OperationRequest OsListRequest(std::string_view id) {
    net::NameValueList form;
    form.Add("id", id);
    return Post("/user/VPSIDos", form, true);
}

OperationRequest InstallRequest(std::string_view os_id, std::string_view id) {
    net::NameValueList form;
    form.Add("osid", os_id);
    form.Add("id", id);
    return Post("/user/data/installos", form, false);
}

OperationRequest PasswordRequest(std::string_view new_password, std::string_view id) {
    net::NameValueList form;
    form.Add("password", new_password);
    form.Add("id", id);
    return Post("/user/data/vpspassword", form);
}

OperationRequest RefundRequest(std::string_view id, std::string_view host) {
    net::NameValueList headers;
    headers.Add("Accept",
                "image/gif, image/jpeg, image/pjpeg, application/x-ms-application, "
                "application/xaml+xml, application/x-ms-xbap, */*");
    headers.Add("Accept-Language", "zh-Hans-CN,zh-Hans;q=0.5");
    headers.Add("User-Agent",
                "Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko");
    headers.Add("Host", host);
    headers.Add("Connection", "Keep-Alive");
    return Get("/user/ajax_tk_mng.asp?module=sqtk&id=" + std::string(id), headers.BuildHeaders());
}

OperationRequest RenewalPricesRequest(std::string_view id) {
    net::NameValueList form;
    form.Add("id", id);
    return Post("/user/xfjgb", form, true);
}

OperationRequest RenewRequest(std::string_view period, std::string_view id) {
    net::NameValueList form;
    form.Add("year", period);
    form.Add("id", id);
    return Post("/user/data/xfbuy", form, true);
}

}  // namespace vpsdesk::servers
