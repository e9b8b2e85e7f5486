// SPDX-License-Identifier: MIT
// Icon handles: icon resources loaded once and kept for the life of the process.
#pragma once

class QIcon;

namespace ui {
struct LoadedIcon;
}

// Stands for a loaded icon; never released by its users.
using HICON = const ui::LoadedIcon*;

// The icon resource `resourceId` with all its image sizes, or nullptr when there is none.
// Needs the application object of the toolkit to exist.
HICON LoadIconResource(int resourceId);

namespace ui {

// The toolkit's icon behind a handle; an empty icon for nullptr.
QIcon ToQIcon(HICON icon);

}  // namespace ui
