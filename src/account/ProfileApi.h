#pragma once
// The profile requests: the user's profile, and the real-name verification that the
// platform requires before the servers can be used.
#include <optional>
#include <string>
#include <string_view>

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

inline constexpr std::string_view kNotVerified = "未实名";

// GET /user/userinfo. Stores mobile, QQ and e-mail in `session` when the reply gives
// them (an empty value keeps the previous one) and the balance + "元" always. Returns the
// verified name, or "未实名"; the caller decides whether to store it. A reply that is not
// JSON (a failed request, an error page) stores nothing and gives nullopt, so a network
// blip never replaces the profile or locks a verified customer out. Nothing is stored
// either once the customer the request was made for has signed out.
std::optional<std::string> LoadProfile(const platform::SiteConstants& site,
                                       platform::SessionState& session);

// LoadProfile, with the verified name stored as the session's real-name status.
// False when nothing came back.
bool RefreshProfile(const platform::SiteConstants& site, platform::SessionState& session);

// The user-name request: GET /user/data/usernmae, "data.username" of the JSON reply;
// nullopt when the reply is not JSON (an empty reply included), so that a platform that is
// down neither replaces the shown name nor counts as a name that came back empty.
std::optional<std::string> FetchUserName(const platform::SiteConstants& site);

// The name as the verification form carries it: escape()d, with "%u" sent as "%25u".
std::string EncodeRealName(const std::string& name);

// POST /user/sm2 with truename = `encoded_name`, perid = `id_number`, mobi = `mobile` (the
// session's mobile number). The reply as text; "1000" means verified.
std::string SubmitRealName(const platform::SiteConstants& site, const std::string& encoded_name,
                           const std::string& id_number, const std::string& mobile);

}  // namespace vpsdesk::account
