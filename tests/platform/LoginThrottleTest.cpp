// How long sign-ins from a source wait, by the wrong passwords it has sent.
#include <gtest/gtest.h>

#include "LoginThrottle.h"

namespace platformd::test {
namespace {

using namespace std::chrono_literals;

TEST(LoginThrottleTest, DelayGrowsWithTheSourcesFailuresAndIsBounded) {
    struct Case {
        int failures;
        std::chrono::milliseconds delay;
    };
    const Case cases[] = {{0, 0ms},    {4, 0ms},     {5, 250ms},   {6, 500ms},
                          {7, 1000ms}, {10, 8000ms}, {100, 8000ms}};
    const auto now = LoginThrottle::Clock::now();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        LoginThrottle throttle;
        for (int i = 0; i < c.failures; ++i) throttle.Failed("10.0.0.1", now);
        EXPECT_EQ(throttle.Delay("10.0.0.1", now), c.delay);
        // Other sources are not slowed down by it.
        EXPECT_EQ(throttle.Delay("10.0.0.2", now), 0ms);
    }
}

TEST(LoginThrottleTest, FailuresAreForgottenAfterAQuietSpell) {
    LoginThrottle throttle;
    auto now = LoginThrottle::Clock::now();
    for (int i = 0; i < 8; ++i) throttle.Failed("10.0.0.1", now);
    EXPECT_GT(throttle.Delay("10.0.0.1", now + 9min), 0ms);
    EXPECT_EQ(throttle.Delay("10.0.0.1", now + 10min), 0ms);
    // A new failure after the quiet spell starts the count again.
    throttle.Failed("10.0.0.1", now + 11min);
    EXPECT_EQ(throttle.Delay("10.0.0.1", now + 11min), 0ms);
}

}  // namespace
}  // namespace platformd::test
