#pragma once
// Where the main window opens. Its frame goes back where the person left it, unless the screens
// have changed since (a monitor unplugged, a smaller resolution, a position saved off the top):
// a window that would open with its title bar out of reach is brought onto the nearest screen.
#include <vector>

namespace orbisk {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct WindowPosition {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPosition&) const = default;
};

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The inside size of the main window on a start: `saved` when both its sides are above zero,
// otherwise `design`; made smaller where that and its frame of `frame` (the title bar and
// borders) do not fit in `area`, the screen's part that windows may use, but never smaller than
// `smallest`.
WindowSize StartSize(WindowSize saved, WindowSize design, WindowSize smallest, WindowSize frame,
                     const ScreenRect& area);

// How much of the top edge must lie on a screen for the person to grab the window by its title.
inline constexpr int kTitleGrip = 100;

// The frame's top-left corner for a frame of `width` × `height` saved at `saved`, given the
// areas of the screens that windows may use. The saved place stays when the frame's top edge
// lies on one of them for kTitleGrip pixels (the whole edge when narrower); otherwise the frame
// moves onto the screen nearest to it, just far enough to lie inside it (its top-left corner on
// the screen when it is larger). Without screens the saved place stays.
WindowPosition PlaceOnScreens(WindowPosition saved, int width, int height,
                              const std::vector<ScreenRect>& screens);

}  // namespace orbisk
