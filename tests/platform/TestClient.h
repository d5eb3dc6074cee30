#pragma once
// One customer of the platform, sending through the client's own WebRequest. Each
// customer keeps his own cookies, so two of them in one process are two sessions. Forms
// are built by the client's NameValueList, so the bytes on the wire are the client's.
#include <string>
#include <vector>

#include "net/NameValueList.h"

namespace platformd::test {

struct Reply {
    long status = 0;           // 0 when no reply came
    std::string bytes;         // the body as received (GBK)
    std::string Text() const;  // the body as UTF-8
};

class TestClient {
  public:
    // Trusts `ca_file` for every request of the process from now on.
    TestClient(std::string base_url, const std::string& ca_file);

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
    std::string cookies_;
};

}  // namespace platformd::test
