#include "ui/Colour.h"

namespace vpsdesk::ui {

QColor ColourFromArgb(std::uint32_t argb) { return QColor::fromRgba(argb); }

QString StyleSheetColour(std::uint32_t argb) {
    return QStringLiteral("#%1").arg(argb, 8, 16, QLatin1Char('0'));
}

}  // namespace vpsdesk::ui
