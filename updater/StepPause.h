#pragma once
// A test hook for the replacement of the client. With VPSDESK_UPDATER_PAUSE_AT=<step> in
// the environment the updater, on reaching that step, writes the step's name to the file
// VPSDESK_UPDATER_PAUSE_FILE and then waits for good, so that a test can kill it exactly
// there and check what the folder holds. Without the variable nothing happens.
#include <string_view>

namespace vpsdesk::updater {

class StepPause {
  public:
    static void At(std::string_view step);
};

}  // namespace vpsdesk::updater
