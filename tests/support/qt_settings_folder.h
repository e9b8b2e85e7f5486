// SPDX-License-Identifier: MIT
// Where Qt's own settings go while a test program runs.
#pragma once

#include "support/temp_dir.h"

namespace support {

// Qt's widgets keep settings of their own (the file dialogs' history and last folder, in
// QtProject.conf) in the user's configuration folder. While this object lives they go to a
// temporary folder instead: never to the home folder, nor to a test's folder that is gone by
// the time a dialog is closed. Make it before any dialog and let it outlive them all.
class QtSettingsFolder {
public:
    QtSettingsFolder();

private:
    TempDir m_dir;
};

}  // namespace support
