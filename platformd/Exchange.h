#pragma once
// One request being answered: the parsed request, the reply being built, and the caller's
// sign-in. Replies are written as GBK whatever the handler produced.
#include <httplib.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "FormBody.h"

namespace platformd {

class SessionStore;

class Exchange {
  public:
    Exchange(const httplib::Request& req, httplib::Response& res, SessionStore& sessions);

    const httplib::Request& Req() const { return req_; }
    httplib::Response& Res() { return res_; }

    // The form in the body, read in the field order the client uses.
    FormBody Form(const std::vector<std::string_view>& fields = {}) const;
    std::string Query(const std::string& name) const;

    // The session id from the cookie, or empty.
    const std::string& SessionId() const { return sid_; }
    // The signed-in account, or 0.
    std::int64_t UserId() const { return user_id_; }
    // Makes sure the caller has a session (for the captcha), setting the cookie if new.
    const std::string& EnsureSession();
    // Starts a fresh signed-in session (a new id, so a captcha-time id is never reused).
    void SignIn(std::int64_t user_id);
    void SignOut();

    void Text(std::string_view utf8, const char* content_type = "text/plain; charset=GBK");
    void Html(std::string_view utf8) { Text(utf8, "text/html; charset=GBK"); }
    void Json(const nlohmann::ordered_json& doc);
    // The status document: {"status": code, "data": message}.
    void Status(int code, std::string_view message);
    void Bytes(std::string bytes, const char* content_type);

  private:
    void SetCookie(const std::string& sid);

    const httplib::Request& req_;
    httplib::Response& res_;
    SessionStore& sessions_;
    std::string sid_;
    std::int64_t user_id_ = 0;
};

}  // namespace platformd
