#pragma once
// Pictures that come from the platform are drawn in places of a fixed size.
#include <QPixmap>
#include <QSize>

namespace vpsdesk::ui {

// `picture` as it is when it fits in `box` (logical pixels); else made to fit, keeping its
// shape. On a screen of `device_pixel_ratio` it keeps as many of its own pixels as the
// screen can show, so a large picture stays sharp on a high-density screen.
QPixmap FitPicture(const QPixmap& picture, QSize box, qreal device_pixel_ratio);

}  // namespace vpsdesk::ui
