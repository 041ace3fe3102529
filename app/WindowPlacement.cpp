#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orbisk {

namespace {

// The gap between two spans along one axis; 0 when they overlap.
std::int64_t Gap(std::int64_t from, std::int64_t to, std::int64_t otherFrom, std::int64_t otherTo) {
    if (to <= otherFrom) return otherFrom - to;
    if (otherTo <= from) return from - otherTo;
    return 0;
}

std::int64_t Overlap(std::int64_t from, std::int64_t to, std::int64_t otherFrom,
                     std::int64_t otherTo) {
    return std::max<std::int64_t>(0, std::min(to, otherTo) - std::max(from, otherFrom));
}

}  // namespace

WindowSize StartSize(WindowSize saved, WindowSize design, WindowSize smallest, WindowSize frame,
                     const ScreenRect& area) {
    const WindowSize wanted = saved.width > 0 && saved.height > 0 ? saved : design;
    const auto fit = [](int size, int room, int least) {
        return std::max(least, room > 0 ? std::min(size, room) : size);
    };
    return {fit(wanted.width, area.width - frame.width, smallest.width),
            fit(wanted.height, area.height - frame.height, smallest.height)};
}

WindowPosition PlaceOnScreens(WindowPosition saved, int width, int height,
                              const std::vector<ScreenRect>& screens) {
    const std::int64_t left = saved.left;
    const std::int64_t top = saved.top;
    const std::int64_t right = left + std::max(width, 1);
    const std::int64_t bottom = top + std::max(height, 1);
    const std::int64_t grip = std::min<std::int64_t>(kTitleGrip, right - left);

    const ScreenRect* nearest = nullptr;
    std::int64_t nearestDistance = std::numeric_limits<std::int64_t>::max();
    std::int64_t nearestOverlap = -1;
    for (const ScreenRect& s : screens) {
        if (s.width <= 0 || s.height <= 0) continue;
        const std::int64_t sRight = std::int64_t{s.left} + s.width;
        const std::int64_t sBottom = std::int64_t{s.top} + s.height;
        const bool topEdgeOnScreen = top >= s.top && top < sBottom;
        if (topEdgeOnScreen && Overlap(left, right, s.left, sRight) >= grip) return saved;

        const std::int64_t dx = Gap(left, right, s.left, sRight);
        const std::int64_t dy = Gap(top, bottom, s.top, sBottom);
        const std::int64_t distance = dx * dx + dy * dy;
        const std::int64_t overlap =
            Overlap(left, right, s.left, sRight) * Overlap(top, bottom, s.top, sBottom);
        if (distance < nearestDistance ||
            (distance == nearestDistance && overlap > nearestOverlap)) {
            nearest = &s;
            nearestDistance = distance;
            nearestOverlap = overlap;
        }
    }
    if (!nearest) return saved;

    const auto fit = [](std::int64_t at, int size, int from, int length) {
        const std::int64_t last = std::int64_t{from} + length - std::max(size, 1);
        return static_cast<int>(std::max<std::int64_t>(from, std::min(at, last)));
    };
    return {fit(left, width, nearest->left, nearest->width),
            fit(top, height, nearest->top, nearest->height)};
}

}  // namespace orbisk
