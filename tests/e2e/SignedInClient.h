#pragma once
// The client signed in as the demo customer through its automatic login, with its main
// window up and the first page of servers shown.
#include <string>
#include <vector>

#include "ClientProcess.h"
#include "E2eSupport.h"

namespace e2e {

// Remembers the demo account in the client's account file with the automatic login ticked.
void RememberDemoLogin(Platform& platform, const ClientProcess& client);

// Starts the client with `env` and waits until it shows the demo's first five servers;
// false when it ended or never got there.
bool StartSignedIn(Platform& platform, ClientProcess& client, const std::vector<std::string>& env);

// How often the event log holds `line`.
int CountLogged(const ClientProcess& client, const std::string& line);

}  // namespace e2e
