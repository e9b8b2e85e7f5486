// SPDX-License-Identifier: MIT
#include "support/qt_settings_folder.h"

#include <QSettings>
#include <QString>

namespace support {

// QSettings takes the folder from XDG_CONFIG_HOME once, at its first use, and keeps it; a
// path set here wins over that.
QtSettingsFolder::QtSettingsFolder() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(m_dir.path()));
}

}  // namespace support
