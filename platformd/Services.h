#pragma once
// What every group of endpoints shares.
#include <string>

namespace platformd {

class Database;
class SessionStore;
class StopSignal;
class TestControl;

struct Services {
    Database& db;
    SessionStore& sessions;
    TestControl& control;
    StopSignal& stop;
    // The file served to the updater, or empty when none is configured.
    std::string update_file;
    // "https://host:port" as this server is reached, for the addresses it hands out.
    std::string public_base;
    // How long a restart or reinstall shows its working status.
    int busy_seconds = 8;
};

}  // namespace platformd
