#pragma once
// The client as a user starts it: its own install folder, home and Documents folder, an
// offscreen display, and the event-log hook so that its message boxes close themselves
// and the test can read what it showed.
#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"

namespace e2e {

class ClientProcess {
public:
    // Copies the built client into `root`/install and prepares `root`/home.
    explicit ClientProcess(const fs::path& root);
    // Runs `program` where it is (an installed client) with `root`/home as its home.
    ClientProcess(const fs::path& root, const fs::path& program);

    fs::path Install() const { return root_ / "install"; }
    fs::path Home() const { return root_ / "home"; }
    fs::path Documents() const { return Home() / "Documents"; }
    fs::path Log() const { return root_ / "events.log"; }
    std::string Err() const { return ReadAll(root_ / "client.err"); }
    std::string Out() const { return ReadAll(root_ / "client.out"); }

    // Starts the client with `args`, from `root`/cwd (not the install folder).
    // `env` replaces the offscreen display when given.
    void Start(const std::vector<std::string>& args,
               std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen"});
    Child& Process() { return *child_; }
    bool Logged(const std::string& text) const { return ReadAll(Log()).find(text) != std::string::npos; }

private:
    fs::path root_;
    fs::path program_;
    std::unique_ptr<Child> child_;
};

}  // namespace e2e
