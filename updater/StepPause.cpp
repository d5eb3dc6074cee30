#include "StepPause.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "os/FileBytes.h"

namespace vpsdesk::updater {

void StepPause::At(std::string_view step) {
    const char* wanted = std::getenv("VPSDESK_UPDATER_PAUSE_AT");
    const char* announce = std::getenv("VPSDESK_UPDATER_PAUSE_FILE");
    if (wanted == nullptr || announce == nullptr || step != wanted) return;
    // Whole or not at all, so the test never reads half a name.
    os::WriteFileAtomically(announce, step);
    for (;;) pause();
}

}  // namespace vpsdesk::updater
