#include "Exchange.h"

#include <algorithm>

#include "SessionStore.h"
#include "Text.h"

namespace platformd {

namespace {
constexpr const char* kCookieName = "PDSESSION";

std::string CookieValue(const httplib::Request& req) {
    for (size_t i = 0, n = req.get_header_value_count("Cookie"); i < n; ++i) {
        for (const std::string& part : SplitText(req.get_header_value("Cookie", i), ";")) {
            std::string_view item = part;
            item.remove_prefix(std::min(item.find_first_not_of(' '), item.size()));
            item.remove_suffix(item.size() - (item.find_last_not_of(' ') + 1));
            std::string prefix = std::string(kCookieName) + "=";
            if (item.starts_with(prefix)) return std::string(item.substr(prefix.size()));
        }
    }
    return {};
}
}  // namespace

Exchange::Exchange(const httplib::Request& req, httplib::Response& res, SessionStore& sessions)
    : req_(req), res_(res), sessions_(sessions) {
    std::string sid = CookieValue(req);
    if (!sid.empty() && sessions_.Touch(sid)) {
        sid_ = sid;
        user_id_ = sessions_.UserOf(sid);
    }
}

FormBody Exchange::Form(const std::vector<std::string_view>& fields) const {
    return FormBody(req_.body, fields);
}

std::string Exchange::Query(const std::string& name) const {
    return GbkToUtf8(req_.get_param_value(name));
}

const std::string& Exchange::EnsureSession() {
    if (sid_.empty()) {
        sid_ = sessions_.Create(0);
        SetCookie(sid_);
    }
    return sid_;
}

void Exchange::SignIn(std::int64_t user_id) {
    // A repeated sign-in of the same account keeps its id, so requests that other threads
    // of the client already have on the way stay signed in.
    if (!sid_.empty() && user_id_ == user_id) return;
    if (!sid_.empty()) sessions_.Remove(sid_);
    sid_ = sessions_.Create(user_id);
    user_id_ = user_id;
    SetCookie(sid_);
}

void Exchange::SignOut() {
    // The session itself stays: the client logs out right before every login, and the
    // captcha the customer just typed belongs to that session.
    if (!sid_.empty()) sessions_.SetUser(sid_, 0);
    user_id_ = 0;
}

void Exchange::SetCookie(const std::string& sid) {
    res_.set_header("Set-Cookie", std::string(kCookieName) + "=" + sid +
                                      "; Path=/; HttpOnly; Secure; SameSite=Lax");
}

void Exchange::Text(std::string_view utf8, const char* content_type) {
    res_.status = 200;
    res_.set_content(Utf8ToGbk(utf8), content_type);
}

void Exchange::Json(const nlohmann::ordered_json& doc) {
    Text(doc.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace),
         "application/json; charset=GBK");
}

void Exchange::Status(int code, std::string_view message) {
    nlohmann::ordered_json doc;
    doc["status"] = code;
    doc["data"] = std::string(message);
    Json(doc);
}

void Exchange::Bytes(std::string bytes, const char* content_type) {
    res_.status = 200;
    res_.set_content(std::move(bytes), content_type);
}

}  // namespace platformd
