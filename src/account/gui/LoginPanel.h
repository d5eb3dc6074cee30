#pragma once
// Where the login window's pages put their panel of boxes, and where the panel slides in
// from: the login, registration and recovery pages line up.
namespace vpsdesk::account::login_panel {

inline constexpr int kX = 68;
inline constexpr int kStartX = 600;
inline constexpr int kWidth = 360;
inline constexpr int kHeight = 260;
inline constexpr int kBoxWidth = 300;
inline constexpr int kBoxHeight = 34;
inline constexpr int kButtonHeight = 38;

}  // namespace vpsdesk::account::login_panel
