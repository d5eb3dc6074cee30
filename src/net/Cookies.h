#pragma once
// Cookie texts: items "name=value" joined by "; ".
#include <string>
#include <string_view>

namespace vpsdesk::net {

// The item's name: the text before its first "=", trimmed; an item without "=" is its
// own name.
std::string CookieName(std::string_view item);

// `text` split at `separator`, each item kept at its first exact occurrence only.
std::string ListRemoveDuplicates(std::string_view text, std::string_view separator);

// New items first, then the old items whose name the merged list does not hold yet;
// items ending in "=deleted" are dropped. Both arguments are left trimmed, as the caller's
// variables are part of the contract.
std::string CookieMerge(std::string& old_cookies, std::string& new_cookies);

// The cookies a reply header block sets, in reply order: for each line named exactly
// "Set-Cookie", its first attribute, joined by "; ".
std::string CollectReplyCookies(std::string_view reply_headers);

}  // namespace vpsdesk::net
