#include "TestClient.h"

#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/Text.h"
#include "net/WebRequest.h"

namespace platformd::test {

std::string Reply::Text() const {
    return vpsdesk::net::GbkToUtf8(bytes);
}

TestClient::TestClient(std::string base_url, const std::string& ca_file)
    : base_(std::move(base_url)) {
    vpsdesk::net::SetTlsSettings({ca_file, true});
}

Reply TestClient::Get(const std::string& path, const std::vector<std::string>& headers) {
    return Send(path, nullptr, headers);
}

Reply TestClient::Post(const std::string& path, const vpsdesk::net::NameValueList& form,
                       const std::vector<std::string>& headers) {
    vpsdesk::net::ByteArray bytes = form.BuildFormBytes();
    return PostBytes(path, std::string(bytes.begin(), bytes.end()), headers);
}

Reply TestClient::PostBytes(const std::string& path, const std::string& body,
                            const std::vector<std::string>& headers) {
    return Send(path, &body, headers);
}

Reply TestClient::Send(const std::string& path, const std::string* body,
                       const std::vector<std::string>& headers) {
    vpsdesk::net::WebRequestOptions options;
    if (body != nullptr) {
        options.verb = vpsdesk::net::HttpVerb::Post;
        options.body_bytes = vpsdesk::net::ToBytes(*body);
    }
    if (!headers.empty()) options.headers = vpsdesk::net::JoinText(headers, "\r\n");
    options.cookies_in = cookies_;
    options.no_redirect = true;
    vpsdesk::net::WebReply web = vpsdesk::net::WebRequest(base_ + path, options);
    Reply reply;
    reply.bytes = vpsdesk::net::BytesToString(web.body);
    if (!web.headers.empty()) {
        cookies_ = web.cookies;
        reply.status = web.status;
    }
    return reply;
}

std::string TestClient::Login(const std::string& account, const std::string& password,
                              const std::string& control_token) {
    Get("/user/captcha?id=0.5");
    vpsdesk::net::JsonDocument doc;
    doc.Parse(Get("/__control/captcha", {"X-Control-Token: " + control_token}).Text());
    vpsdesk::net::NameValueList form;
    form.Add("username", account);
    form.Add("password", password);
    form.Add("captcha", doc.GetText("answer"));
    form.Add("khdkey", "0123456789ABCDEF");
    form.Add("zd", "1");
    form.Add("ver", "Ver 4.92");
    return Post("/user/loginpost", form).Text();
}

}  // namespace platformd::test
