// Platform pictures in places of a fixed size: they fit, keep their shape, and keep the
// pixels a high-density screen can show.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "ui/FitPicture.h"

namespace {

using vpsdesk::ui::FitPicture;

QPixmap Picture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    return QPixmap::fromImage(image);
}

struct FitCase {
    const char* what;
    QSize picture;
    QSize box;
    qreal screen_ratio;
    QSize pixels;  // what the fitted picture holds
};

TEST(FitPicture, FitsItsPlaceKeepingItsShapeAndAsManyPixelsAsTheScreenShows) {
    const FitCase cases[] = {
        {"a small picture is left alone", {100, 40}, {240, 56}, 1.0, {100, 40}},
        {"a small picture on a dense screen too", {100, 40}, {240, 56}, 2.0, {100, 40}},
        {"too large: scaled down", {260, 64}, {240, 56}, 1.0, {227, 56}},
        {"too large here, but the dense screen shows all of it",
         {260, 64},
         {240, 56},
         2.0,
         {260, 64}},
        {"far too large even for the dense screen", {1040, 256}, {240, 56}, 2.0, {455, 112}},
        {"too wide", {480, 56}, {240, 56}, 1.0, {240, 28}},
    };
    for (const FitCase& c : cases) {
        const QPixmap fitted =
            FitPicture(Picture(c.picture.width(), c.picture.height()), c.box, c.screen_ratio);
        EXPECT_EQ(fitted.size(), c.pixels) << c.what;
        const QSizeF shown = fitted.deviceIndependentSize();
        EXPECT_LE(shown.width(), c.box.width() + 1e-9) << c.what;
        EXPECT_LE(shown.height(), c.box.height() + 1e-9) << c.what;
        // The shape stays as the platform drew it, to within a pixel.
        EXPECT_NEAR(shown.height(), shown.width() * c.picture.height() / c.picture.width(), 1.0)
            << c.what;
        if (c.pixels != c.picture) {
            // A picture that had to change fills its place in one direction.
            const bool fills =
                shown.width() > c.box.width() - 1 || shown.height() > c.box.height() - 1;
            EXPECT_TRUE(fills) << c.what;
        }
    }
}

TEST(FitPicture, NothingToFitGivesNothing) {
    EXPECT_TRUE(FitPicture(QPixmap(), QSize(240, 56), 1.0).isNull());
}

}  // namespace
