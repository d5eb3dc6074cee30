#pragma once
// The short tip that appears at the mouse pointer and goes away by itself. It is a window
// of its own, so a tip given as a window closes ("saved") stays readable after it.
#include <string>
#include <string_view>

namespace vpsdesk::ui {

inline constexpr int kTipShownMs = 3000;

// Shows `text` at the pointer's screen position for kTipShownMs; any thread. A newer tip
// replaces the one showing. An empty text hides the tip.
void ShowTip(std::string_view text);
void HideTip();

// What the tip shows now: its text, or empty when hidden. UI thread.
std::string ShownTip();

}  // namespace vpsdesk::ui
