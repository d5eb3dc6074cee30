#pragma once
// The short tip that appears at the mouse pointer and goes away by itself.
#include <string_view>

namespace vpsdesk::ui {

// Shows `text` at the pointer's screen position; any thread. An empty text hides the tip.
void ShowTip(std::string_view text);
void HideTip();

}  // namespace vpsdesk::ui
