#pragma once
// The 50 pictures of the result indicator, 23 by 23 pixels: a turning arc while working
// (0-24), a green tick that draws itself on success (26-39) and a red cross on failure
// (41-49). Frame 25 repeats frame 0 and frame 40 holds the finished tick, so a timer that
// overshoots by one never shows a gap.
#include <QImage>
#include <cstdint>

namespace vpsdesk::ui::indicator {

inline constexpr int kFrameCount = 50;
inline constexpr int kFrameSize = 23;

inline constexpr int kBusyFirst = 0;
inline constexpr int kBusyLast = 24;
inline constexpr int kSuccessFirst = 26;
inline constexpr int kSuccessLast = 39;
inline constexpr int kFailureFirst = 41;
inline constexpr int kFailureLast = 49;

inline constexpr std::uint32_t kBusyColour = 0xFF3D8BFF;
inline constexpr std::uint32_t kSuccessColour = 0xFF21B35A;
inline constexpr std::uint32_t kFailureColour = 0xFFE5484D;

// Draws frame `frame` (clamped to 0-49) on a transparent background. Safe on any thread.
QImage DrawFrame(int frame);

}  // namespace vpsdesk::ui::indicator
