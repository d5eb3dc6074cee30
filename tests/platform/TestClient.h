#pragma once
// One customer's connection to the platform: its own cookie store and kept-alive
// connection, TLS verified against the platform's CA. Forms are built by the client's
// NameValueList, so the bytes on the wire are the client's.
#include <curl/curl.h>

#include <string>
#include <utility>
#include <vector>

#include "net/NameValueList.h"

namespace platformd::test {

struct Reply {
    long status = 0;
    std::string bytes;  // the body as received (GBK)
    std::string Text() const;  // the body as UTF-8
};

class TestClient {
public:
    TestClient(std::string base_url, const std::string& ca_file);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    Reply Get(const std::string& path, const std::vector<std::string>& headers = {});
    Reply Post(const std::string& path, const vpsdesk::net::NameValueList& form,
               const std::vector<std::string>& headers = {});
    Reply PostBytes(const std::string& path, const std::string& body,
                    const std::vector<std::string>& headers = {});

    // Signs in through the captcha form, reading the captcha's digits from test control.
    std::string Login(const std::string& account, const std::string& password,
                      const std::string& control_token);
    const std::string& Base() const { return base_; }

private:
    Reply Send(const std::string& path, const std::string* body,
               const std::vector<std::string>& headers);

    std::string base_;
    CURL* curl_;
};

}  // namespace platformd::test
