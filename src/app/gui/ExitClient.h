#pragma once
// The one way the client ends once it runs: requests in progress are cancelled, the
// registered clean-ups run on the UI thread, the UI loop quits, and the process ends
// without waiting for its detached workers.
#include <functional>

namespace vpsdesk::app {

// A clean-up to run on the UI thread before the loop quits (stopping animations).
// UI thread, during start-up.
void AtClientExit(std::function<void()> hook);

// Any thread; only the first call counts. Cancels every request, runs the clean-ups and
// quits the UI loop, so that StartClient returns `code`. A worker that calls it simply
// returns afterwards and should stop what it was doing.
void ExitClient(int code = 0);

// True once ExitClient was called: start-up checks it after each long step, loops stop.
bool ClientExiting();
int ClientExitCode();

// Flushes the standard streams and ends the process at once. Detached workers may still
// be inside a request or a wait: nothing is destroyed under them and nobody waits for them.
[[noreturn]] void EndProcess(int code);

}  // namespace vpsdesk::app
