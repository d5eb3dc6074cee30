#include "SignedInClient.h"

#include "platform/SettingsFiles.h"

namespace e2e {

void RememberDemoLogin(Platform& platform, const ClientProcess& client) {
    vpsdesk::platform::AccountSettingsFile settings(client.Documents(), platform.Command("biaoti"));
    settings.SaveRememberedLogin(true, "demo", "demo2026");
    settings.SaveAutoLogin(true);
}

bool StartSignedIn(Platform& platform, ClientProcess& client, const std::vector<std::string>& env) {
    RememberDemoLogin(platform, client);
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()}, env);
    PollFor([&] { return client.Logged("server-list-rows 5") || !client.Process().Running(); });
    return client.Logged("server-list-rows 5");
}

int CountLogged(const ClientProcess& client, const std::string& line) {
    const std::string log = EventLog(client.Log());
    int count = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
        ++count;
    return count;
}

}  // namespace e2e
