#pragma once
// The look shared by every window: a dark background, white texts, one Chinese UI font
// with fallbacks for systems that do not have it.
#include <QFont>
#include <QString>
#include <cstdint>

namespace vpsdesk::ui::skin {

inline constexpr std::uint32_t kBackground = 0xFF1E2230;
inline constexpr std::uint32_t kPanel = 0xFF272C3D;
inline constexpr std::uint32_t kText = 0xFFFFFFFF;
inline constexpr std::uint32_t kHintText = 0xFFB3B3B3;
inline constexpr std::uint32_t kCaptionHover = 0xFFFFFFFF;
inline constexpr std::uint32_t kCaptionIdle = 0xBBE6E6E6;

// "微软雅黑" where it exists, else the CJK fonts a Linux desktop usually has.
QFont Font(int point_size = 10);

// Style sheet of a skinned window and of the widgets inside it.
QString DarkStyleSheet();

}  // namespace vpsdesk::ui::skin
