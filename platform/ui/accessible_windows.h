// SPDX-License-Identifier: MIT
// What screen readers see of the program's windows where the toolkit's own view falls short:
// - a dialog built from a template lists its controls in reading order (ReadingOrder),
//   whatever stacking its layout needs;
// - a dialog or message box running modally over another window of the program says so
//   (the "modal" state), as the window it blocks cannot take input meanwhile;
// - a filled rectangle (FilledRect) is a separator;
// - the help page is a document whose links can be listed and followed (help_accessible).
#pragma once

namespace ui {

// Puts these views in place for every window made from now on; needs the application object.
// Calls after the first do nothing.
void UseOurAccessibleInterfaces();

}  // namespace ui
