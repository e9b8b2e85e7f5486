// SPDX-License-Identifier: MIT
// Where a dialog opens: centred over its owner, and wholly on the screen's work area.
#pragma once

#include <optional>

#include "platform/ui/dialog_units.h"

namespace ui {

struct Point {
    int x;
    int y;

    bool operator==(const Point&) const = default;
};

// The top-left corner for a window of `width` x `height` (frame included): centred over
// `owner` (its frame), or over `workArea` when there is no owner to centre on (none, hidden or
// minimised), then moved as little as needed to lie inside `workArea`. A window larger than
// the work area keeps its top-left corner on it, so its title bar stays reachable.
Point CenteredPosition(int width, int height, const std::optional<PixelRect>& owner,
                       const PixelRect& workArea);

// The top-left corner for a window of `width` x `height` (frame included) beside `owner`
// rather than over it: `gap` pixels to its right when that fits on `workArea`, else to its
// left, else as close to the right as fits; top-aligned with the owner; always on the work
// area as far as the window's size allows.
Point BesidePosition(int width, int height, const PixelRect& owner, const PixelRect& workArea,
                     int gap);

}  // namespace ui
