#include <gtest/gtest.h>

#include <QSignalSpy>
#include <atomic>
#include <vector>

#include "GuiTestSupport.h"
#include "ui/IndicatorFrames.h"
#include "ui/ResultIndicator.h"
#include "ui/Waiting.h"

using namespace vpsdesk::ui;
namespace ind = vpsdesk::ui::indicator;
using vpsdesk::ui::guitest::PumpUntil;

namespace {

struct Tally {
    int green = 0;
    int red = 0;
    int blue = 0;
};

// Counts clearly coloured, mostly opaque pixels by their dominant channel.
Tally Count(const QImage& image) {
    Tally tally;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 160) continue;
            if (c.green() > c.red() + 60 && c.green() > c.blue() + 40) ++tally.green;
            if (c.red() > c.green() + 60 && c.red() > c.blue() + 60) ++tally.red;
            if (c.blue() > c.red() + 60 && c.blue() > c.green() + 40) ++tally.blue;
        }
    }
    return tally;
}

}  // namespace

TEST(IndicatorFrames, EachPhaseHasItsOwnColourAndTheFramesMove) {
    for (int f = 0; f < ind::kFrameCount; ++f) {
        const QImage image = ind::DrawFrame(f);
        ASSERT_EQ(image.size(), QSize(23, 23)) << f;
        const Tally t = Count(image);
        if (f <= 25) {
            EXPECT_GT(t.blue, 0) << f;
            EXPECT_EQ(t.green + t.red, 0) << f;
        } else if (f <= 40) {
            EXPECT_GT(t.green, 0) << f;
            EXPECT_EQ(t.red + t.blue, 0) << f;
        } else {
            EXPECT_GT(t.red, 0) << f;
            EXPECT_EQ(t.green + t.blue, 0) << f;
        }
    }
    // The spinner turns, the marks draw themselves, and the unused frames join seamlessly.
    EXPECT_NE(ind::DrawFrame(0), ind::DrawFrame(6));
    EXPECT_NE(ind::DrawFrame(26), ind::DrawFrame(39));
    EXPECT_NE(ind::DrawFrame(41), ind::DrawFrame(49));
    EXPECT_EQ(ind::DrawFrame(25), ind::DrawFrame(0));
    EXPECT_EQ(ind::DrawFrame(40), ind::DrawFrame(39));
    EXPECT_EQ(ind::DrawFrame(-3), ind::DrawFrame(0));
    EXPECT_EQ(ind::DrawFrame(77), ind::DrawFrame(49));
}

TEST(ResultIndicator, BusyRepeatsZeroToTwentyFourNeverShowingTwentyFive) {
    ResultIndicator indicator;
    indicator.SetInterval(1);
    std::vector<int> shown;
    QObject::connect(&indicator, &ResultIndicator::frameChanged, [&](int f) { shown.push_back(f); });
    indicator.PlayBusy();
    EXPECT_FALSE(indicator.isHidden());
    PumpUntil([&] { return shown.size() >= 60; });
    indicator.Stop();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ASSERT_LE(shown[i], 24) << i;
        if (i > 0) {
            ASSERT_EQ(shown[i], shown[i - 1] == 24 ? 0 : shown[i - 1] + 1) << i;
        }
    }
    EXPECT_FALSE(indicator.IsPlaying());
}

TEST(ResultIndicator, SuccessAndFailureStopOnTheirLastFrame) {
    ResultIndicator indicator;
    indicator.SetInterval(1);
    QSignalSpy finished(&indicator, &ResultIndicator::finished);
    std::vector<int> shown;
    QObject::connect(&indicator, &ResultIndicator::frameChanged, [&](int f) { shown.push_back(f); });

    indicator.PlaySuccess();
    PumpUntil([&] { return finished.count() == 1; });
    std::vector<int> expected;
    for (int f = 26; f <= 39; ++f) expected.push_back(f);
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(indicator.IsPlaying());
    WaitPumping(10, WaitUnit::Milliseconds);  // a stopped timer shows nothing more
    EXPECT_EQ(indicator.Frame(), 39);
    EXPECT_EQ(shown.size(), expected.size());

    shown.clear();
    indicator.PlayFailure();
    PumpUntil([&] { return finished.count() == 2; });
    EXPECT_EQ(shown.front(), 41);
    EXPECT_EQ(shown.back(), 49);
    EXPECT_EQ(indicator.Frame(), 49);

    indicator.HideIndicator();
    EXPECT_TRUE(indicator.isHidden());
    EXPECT_FALSE(indicator.IsPlaying());
}

// The login flow waits on a worker until the success frame is reached.
TEST(ResultIndicator, AWorkerCanWaitForTheLastFrame) {
    ResultIndicator indicator;
    indicator.SetInterval(1);
    std::atomic<bool> reached{false};
    indicator.PlaySuccess();
    ASSERT_TRUE(RunInBackground([&] {
        while (indicator.Frame() != 39) WaitPumping(1, WaitUnit::Milliseconds);
        reached = true;
    }));
    PumpUntil([&] { return reached.load(); });
    EXPECT_EQ(indicator.Frame(), 39);
}
