#include "ClientProcess.h"

#include <cstdlib>

namespace e2e {

ClientProcess::ClientProcess(const fs::path& root) : ClientProcess(root, fs::path()) {
    fs::create_directories(Install());
    fs::copy_file(VPSDESK_BIN, Install() / "vpsdesk", fs::copy_options::overwrite_existing);
    fs::permissions(Install() / "vpsdesk", fs::perms(0755));
    program_ = Install() / "vpsdesk";
}

ClientProcess::ClientProcess(const fs::path& root, const fs::path& program)
    : root_(root), program_(program) {
    fs::create_directories(Documents());
    fs::create_directories(root_ / "cwd");
}

void ClientProcess::Start(const std::vector<std::string>& args, std::vector<std::string> env) {
    Child::Options options;
    options.argv = {program_.string()};
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    options.env = std::move(env);
    options.env.push_back("HOME=" + Home().string());
    options.env.push_back("VPSDESK_EVENT_LOG=" + Log().string());
    // The updater the client starts is a Qt program too. Qt, not built with the thread
    // sanitizer, synchronises its painting threads out of the sanitizer's sight; the
    // client excuses those reports itself, the updater gets them excused here.
    const fs::path suppressions = root_ / "tsan.supp";
    WriteAll(suppressions, "race:libQt6Core.so.6\nrace:libQt6Gui.so.6\n");
    const char* tsan = std::getenv("TSAN_OPTIONS");
    options.env.push_back(std::string("TSAN_OPTIONS=") + (tsan ? tsan : "") + " suppressions=" +
                          suppressions.string());
    options.cwd = root_ / "cwd";
    options.out = root_ / "client.out";
    options.err = root_ / "client.err";
    child_ = std::make_unique<Child>(options);
}

}  // namespace e2e
