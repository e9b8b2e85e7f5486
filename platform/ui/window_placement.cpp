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

}  // namespace ui
