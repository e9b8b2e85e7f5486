// SPDX-License-Identifier: MIT
// Icon resources as XPM images, one per size.
#pragma once

#include <span>

namespace res {

struct IconImage {
    int size;                // width and height in pixels
    const char* const* xpm;  // the image in XPM form, with a transparent background colour
};

// The images of icon resource `id`, largest first; empty when there is no such icon.
std::span<const IconImage> FindIconImages(int id);

}  // namespace res
