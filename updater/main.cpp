// update: replaces the client beside it with the platform's current version and starts it.
//   update [--ca-file PEM]
#include <QApplication>

#include <cstdio>
#include <string>

#include "UpdateWindow.h"
#include "os/ProgramFolder.h"

int main(int argc, char** argv) {
    std::string ca_file;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--ca-file" && i + 1 < argc) {
            ca_file = argv[++i];
        } else {
            std::fprintf(stderr, "usage: update [--ca-file PEM]\n");
            return 2;
        }
    }

    QApplication app(argc, argv);
    // Its own folder, never the per-user data folder: the client it replaces is here.
    std::filesystem::path folder = vpsdesk::os::ExecutableFolder();
    vpsdesk::updater::UpdateWindow window(folder, ca_file);
    window.show();
    window.Start();
    return QApplication::exec();
}
