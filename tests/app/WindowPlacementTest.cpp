#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace orbisk {
namespace {

// A laptop's screen (a taskbar along its bottom) with a larger monitor to its right.
const std::vector<ScreenRect> kLaptopAndMonitor = {{0, 0, 1366, 728}, {1366, 0, 1920, 1040}};

TEST(WindowPlacement, TheSavedPlaceStaysWhileTheTitleBarCanBeGrabbed) {
    struct Case {
        WindowPosition saved;
        WindowPosition expected;
        const char* why;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, "the default: the screen's corner"},
        {{99, 60}, {99, 60}, "a place on the laptop"},
        {{2000, 300}, {2000, 300}, "a place on the monitor"},
        {{1300, 100}, {1300, 100}, "across both screens"},
        {{-860, 40}, {-860, 40}, "mostly off the left edge, 100 pixels of title left"},
        {{1266, 700}, {1266, 700}, "low on the laptop, its title bar still on it"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceOnScreens(c.saved, 960, 720, kLaptopAndMonitor), c.expected) << c.why;
    }
}

TEST(WindowPlacement, AWindowOutOfReachComesOntoTheNearestScreen) {
    struct Case {
        WindowPosition saved;
        WindowPosition expected;
        const char* why;
    };
    const Case cases[] = {
        {{95, -20}, {95, 0}, "its title bar above the laptop's top"},
        {{96, -700}, {96, 0}, "far above"},
        {{-861, 40}, {0, 8}, "less than 100 pixels of title left on the left"},
        {{4000, 200}, {2326, 200}, "a monitor to the right that is gone"},
        {{1500, 1100}, {1500, 320}, "below the monitor"},
        {{100, 900}, {100, 8}, "below the laptop, which is nearer than the monitor"},
        {{-3000, -3000}, {0, 0}, "far up and left"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceOnScreens(c.saved, 960, 720, kLaptopAndMonitor), c.expected) << c.why;
    }
}

TEST(WindowPlacement, AFrameLargerThanTheScreenOpensAtItsCornerAndNoScreensChangeNothing) {
    const std::vector<ScreenRect> small = {{0, 0, 800, 560}};
    EXPECT_EQ(PlaceOnScreens({500, -30}, 960, 720, small), (WindowPosition{0, 0}));
    EXPECT_EQ(PlaceOnScreens({30, 600}, 60, 40, small), (WindowPosition{30, 520}));
    EXPECT_EQ(PlaceOnScreens({5000, 5000}, 960, 720, {}), (WindowPosition{5000, 5000}));
    // A screen that reports no area is no place to go.
    EXPECT_EQ(PlaceOnScreens({5000, 5000}, 960, 720, {{0, 0, 0, 0}}), (WindowPosition{5000, 5000}));
}

TEST(WindowPlacement, TheStartSizeIsTheSavedOrTheDesignSizeAsTheScreenHasRoomForIt) {
    constexpr WindowSize kDesign{960, 720};
    constexpr WindowSize kSmallest{800, 560};
    constexpr WindowSize kFrame{10, 40};
    struct Case {
        WindowSize saved;
        ScreenRect area;
        WindowSize expected;
        const char* why;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0, 1920, 1040}, {960, 720}, "a first start on a large screen"},
        {{0, 0}, {0, 0, 1366, 728}, {960, 688}, "a laptop: the frame's height is taken off"},
        {{0, 0}, {0, 0, 1024, 560}, {960, 560}, "never below the smallest size"},
        {{1200, 650}, {0, 0, 1920, 1040}, {1200, 650}, "the saved size"},
        {{1200, 0}, {0, 0, 1920, 1040}, {960, 720}, "half a saved size is none"},
        {{1900, 1000}, {0, 0, 1366, 728}, {1356, 688}, "a saved size for a larger screen"},
        {{0, 0}, {0, 0, 0, 0}, {960, 720}, "a screen that reports no area"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartSize(c.saved, kDesign, kSmallest, kFrame, c.area), c.expected) << c.why;
    }
}

}  // namespace
}  // namespace orbisk
