// SPDX-License-Identifier: MIT
#include "res/icon_images.h"

#include "res/icons/mainframe_16.xpm.h"
#include "res/icons/mainframe_32.xpm.h"
#include "res/resource.h"

namespace res {

namespace {

const IconImage kMainFrame[] = {
    {32, mainframe_32_xpm},
    {16, mainframe_16_xpm},
};

}  // namespace

std::span<const IconImage> FindIconImages(int id) {
    if (id == IDR_MAINFRAME) {
        return kMainFrame;
    }
    return {};
}

}  // namespace res
