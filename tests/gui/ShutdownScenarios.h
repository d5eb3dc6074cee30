#pragma once
// Scenarios that create and end their own application, so they run in a child process of
// the test binary (see ShutdownTest.cpp). Each returns the process's exit code.

namespace vpsdesk::ui::guitest {

inline constexpr const char* kScenarioVariable = "VPSDESK_GUI_SCENARIO";

// A worker waiting on the UI thread when the main loop quits is released without its call
// running, and a nested wait on the UI thread ends with the loop.
int RunQuitScenario(int& argc, char** argv);
// A call posted to an application that is destroyed without ever running its loop is
// released unrun; without an application calls are refused.
int RunDestroyScenario(int& argc, char** argv);

}  // namespace vpsdesk::ui::guitest
