#pragma once
// Colours are ARGB inside the program (alpha in the top byte). Values that come in the
// Windows layout 0x00BBGGRR are turned into ARGB here and nowhere else.
#include <QColor>
#include <cstdint>

namespace vpsdesk::ui {

// Swaps the red and blue bytes and puts `alpha` on top; the input's top byte is ignored.
constexpr std::uint32_t ArgbFromWindowsColour(std::uint32_t bbggrr, std::uint8_t alpha = 0xFF) {
    const std::uint32_t red = bbggrr & 0xFFu;
    const std::uint32_t green = (bbggrr >> 8) & 0xFFu;
    const std::uint32_t blue = (bbggrr >> 16) & 0xFFu;
    return (std::uint32_t{alpha} << 24) | (red << 16) | (green << 8) | blue;
}

// ARGB as the widgets want it.
QColor ColourFromArgb(std::uint32_t argb);

// "#AARRGGBB", the form style sheets accept.
QString StyleSheetColour(std::uint32_t argb);

}  // namespace vpsdesk::ui
