// SPDX-License-Identifier: Apache-2.0
#include "personal_data_settings.h"

#include "settings_location.h"

#include <QSettings>
#include <QStringList>

#include <sys/stat.h>

namespace {

constexpr int kValueLimit = 127;

QString settingsPath() {
    return QString::fromStdString(settingsFilePath().string());
}

QString sectionKey(const char* key) {
    return QStringLiteral("PD/") + QLatin1String(key);
}

} // namespace

bool writePersonalDataSetting(const char* key, const QString& value) {
    if (!prepareSettingsFile()) {
        return false;
    }
    bool written = false;
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(sectionKey(key), value);
        settings.sync();
        written = settings.status() == QSettings::NoError;
    }
    // The rewritten file keeps the mode of the one it replaces; this makes sure of it.
    return chmod(settingsFilePath().c_str(), 0600) == 0 && written;
}

QString readPersonalDataSetting(const char* key, const QString& fallback) {
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    const QVariant value = settings.value(sectionKey(key));
    if (!value.isValid()) {
        return fallback;
    }
    // A value with an unquoted comma, written by hand, comes back as a list.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QStringLiteral(", "))
                             : value.toString();
    return text.left(kValueLimit);
}
