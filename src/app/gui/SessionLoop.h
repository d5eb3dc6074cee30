#pragma once
// The life of one background loop of the signed-in user. A loop retires when the session
// ends, when the client exits, or when a newer loop of the same kind starts: a new
// sign-in clears session_ended again, and the old loop must not come back to life.
#include <atomic>

#include "platform/SessionState.h"

namespace vpsdesk::app {

class SessionLoop {
  public:
    // `kind` counts the loops of one kind started so far; it must outlive the loop.
    SessionLoop(platform::SessionState& session, std::atomic<unsigned>& kind)
        : session_(session), kind_(kind), generation_(++kind) {}

    bool Retired() const;
    platform::SessionState& Session() const { return session_; }

  private:
    platform::SessionState& session_;
    std::atomic<unsigned>& kind_;
    unsigned generation_;
};

}  // namespace vpsdesk::app
