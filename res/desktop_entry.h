// SPDX-License-Identifier: MIT
// The program's name on the desktop: its menu entry and its software-centre listing.
#pragma once

namespace res {

// The desktop entry is "<id>.desktop" and the metainfo "<id>.metainfo.xml" (packaging/); a
// window that names it is matched to its entry's icon and name on Wayland.
inline constexpr char kDesktopEntryId[] = "io.github.tabulon.tabulon";

}  // namespace res
