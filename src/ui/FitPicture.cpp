#include "ui/FitPicture.h"

#include <algorithm>
#include <cmath>

namespace vpsdesk::ui {

QPixmap FitPicture(const QPixmap& picture, QSize box, qreal device_pixel_ratio) {
    if (picture.isNull() || box.isEmpty()) return picture;
    const QSizeF own = picture.deviceIndependentSize();
    if (own.width() <= box.width() && own.height() <= box.height()) return picture;
    const QSizeF shown = own.scaled(QSizeF(box), Qt::KeepAspectRatio);
    const qreal ratio = std::max<qreal>(device_pixel_ratio, 1.0);
    const QSize device(std::max(1, static_cast<int>(std::floor(shown.width() * ratio))),
                       std::max(1, static_cast<int>(std::floor(shown.height() * ratio))));
    if (picture.width() <= device.width() || picture.height() <= device.height()) {
        // The screen has room for every pixel the picture has: none are thrown away.
        QPixmap same = picture;
        same.setDevicePixelRatio(
            std::max(picture.width() / shown.width(), picture.height() / shown.height()));
        return same;
    }
    QPixmap fitted = picture.scaled(device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(ratio);
    return fitted;
}

}  // namespace vpsdesk::ui
