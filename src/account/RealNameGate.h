#pragma once
// Which main-window entries only a verified user may open.
#include <string>

namespace vpsdesk::account {

// The side navigation's entries behind the gate: the server list and card activation.
inline constexpr int kServerListEntry = 0;
inline constexpr int kCardActivationEntry = 4;

bool EntryIsGated(int entry);

// True when `status` (the session's real-name text) keeps the user out. Before the first
// profile load the text is empty and the user passes.
bool RealNameBlocks(const std::string& status);

}  // namespace vpsdesk::account
