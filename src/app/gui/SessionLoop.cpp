#include "app/gui/SessionLoop.h"

#include "app/gui/ExitClient.h"

namespace vpsdesk::app {

bool SessionLoop::Retired() const {
    return session_.session_ended.load() != 0 || kind_.load() != generation_ || ClientExiting();
}

}  // namespace vpsdesk::app
