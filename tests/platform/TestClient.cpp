#include "TestClient.h"

#include <stdexcept>

#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/Text.h"

namespace platformd::test {

namespace {
size_t Collect(char* data, size_t size, size_t n, void* out) {
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}
}  // namespace

std::string Reply::Text() const { return vpsdesk::net::GbkToUtf8(bytes); }

TestClient::TestClient(std::string base_url, const std::string& ca_file)
    : base_(std::move(base_url)), curl_(curl_easy_init()) {
    if (curl_ == nullptr) throw std::runtime_error("curl_easy_init failed");
    curl_easy_setopt(curl_, CURLOPT_CAINFO, ca_file.c_str());
    curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");  // cookie engine on, in memory
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
}

TestClient::~TestClient() { curl_easy_cleanup(curl_); }

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
    Reply reply;
    std::string url = base_ + path;
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &reply.bytes);
    if (body != nullptr) {
        curl_easy_setopt(curl_, CURLOPT_POST, 1L);
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE, static_cast<long>(body->size()));
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, body->data());
    } else {
        curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
    }
    curl_slist* list = nullptr;
    for (const std::string& h : headers) list = curl_slist_append(list, h.c_str());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, list);
    CURLcode rc = curl_easy_perform(curl_);
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(list);
    if (rc != CURLE_OK) throw std::runtime_error(std::string("request failed: ") + curl_easy_strerror(rc));
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

std::string TestClient::Login(const std::string& account, const std::string& password,
                              const std::string& control_token) {
    Get("/user/captcha?id=0.5");
    vpsdesk::net::JsonDocument doc;
    doc.Parse(Get("/__control/captcha", {"X-Control-Token: " + control_token}).Text());
    std::string answer = doc.GetText("answer");
    vpsdesk::net::NameValueList form;
    form.Add("username", account);
    form.Add("password", password);
    form.Add("captcha", answer);
    form.Add("khdkey", "0123456789ABCDEF");
    form.Add("zd", "1");
    form.Add("ver", "Ver 4.92");
    return Post("/user/loginpost", form).Text();
}

}  // namespace platformd::test
