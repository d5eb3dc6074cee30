#pragma once
// The profile requests: the user's profile, and the real-name verification that the
// platform requires before the servers can be used.
#include <string>
#include <string_view>

namespace vpsdesk::account {

inline constexpr std::string_view kNotVerified = "未实名";

// GET /user/userinfo. Stores mobile, QQ and e-mail in the session when the reply gives
// them (an empty value keeps the previous one) and the balance + "元" always. Returns the
// verified name, or "未实名"; the caller decides whether to store it.
std::string LoadProfile();

// The name as the verification form carries it: escape()d, with "%u" sent as "%25u".
std::string EncodeRealName(const std::string& name);

// POST /user/sm2 with truename = `encoded_name`, perid = `id_number`, mobi = the session's
// mobile number. The reply as text; "1000" means verified.
std::string SubmitRealName(const std::string& encoded_name, const std::string& id_number);

}  // namespace vpsdesk::account
