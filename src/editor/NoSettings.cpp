#include "NoSettings.h"

#include <QSettings>

void keepNoSettings() {
    // The file dialog opens its QSettings in the native format and the user scope; the
    // system scope holds nothing a user could have changed, so it is left as it is.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral(":/krelwin-no-settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStringLiteral(":/krelwin-no-settings"));
}
