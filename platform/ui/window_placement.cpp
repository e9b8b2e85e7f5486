// SPDX-License-Identifier: MIT
#include "platform/ui/window_placement.h"

#include <algorithm>

namespace ui {

namespace {

// Start of a span of `length` centred on [start, start + size), kept inside
// [areaStart, areaStart + areaSize); the far edge gives way first.
int CentredAndKeptInside(int length, int start, int size, int areaStart, int areaSize) {
    const int centred = start + (size - length) / 2;
    const int kept = std::min(centred, areaStart + areaSize - length);
    return std::max(kept, areaStart);
}

}  // namespace

Point CenteredPosition(int width, int height, const std::optional<PixelRect>& owner,
                       const PixelRect& workArea) {
    const PixelRect& over = owner ? *owner : workArea;
    return {CentredAndKeptInside(width, over.x, over.width, workArea.x, workArea.width),
            CentredAndKeptInside(height, over.y, over.height, workArea.y, workArea.height)};
}

Point BesidePosition(int width, int height, const PixelRect& owner, const PixelRect& workArea,
                     int gap) {
    const int workRight = workArea.x + workArea.width;
    int x = owner.x + owner.width + gap;
    if (x + width > workRight) {
        const int left = owner.x - gap - width;
        x = left >= workArea.x ? left : workRight - width;
    }
    x = std::max(std::min(x, workRight - width), workArea.x);
    const int y = std::max(std::min(owner.y, workArea.y + workArea.height - height), workArea.y);
    return {x, y};
}

}  // namespace ui
