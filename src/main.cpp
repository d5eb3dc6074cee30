// vpsdesk: the desktop client.
//   vpsdesk [--site HOST[:PORT]] [--ca-file PEM]
// The two options point a development build at another platform (the demo's, a test's).
#include "app/gui/ClientApp.h"
#include "app/gui/ExitClient.h"
#include "updater/UpdaterImage.h"

#if defined(__SANITIZE_THREAD__)
// Qt is not built with the thread sanitizer: its painting thread pool synchronises inside
// Qt, out of the sanitizer's sight. Reports through the two libraries are excused; every
// access made by our own code stays checked.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n";
}
#endif

int main(int argc, char** argv) {
    const int code = vpsdesk::app::StartClient(argc, argv, vpsdesk::UpdaterImage());
    vpsdesk::app::EndProcess(code);
}
