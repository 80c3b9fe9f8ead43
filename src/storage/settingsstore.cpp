#include "storage/settingsstore.h"

#include <QStringList>

namespace kalvado {

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, applicationName(),
                                             applicationName())) {}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString SettingsStore::ReadSetting(const QString &section, const QString &key,
                                   const QString &defaultValue) const {
    const QString path = section + u'/' + key;
    if (!m_settings->contains(path)) return defaultValue;
    const QVariant v = m_settings->value(path);
    // A hand-edited value with commas reads back as a list; show it as written.
    if (v.metaType().id() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SettingsStore::WriteSetting(const QString &section, const QString &key, const QString &text) {
    m_settings->setValue(section + u'/' + key, text);
}

bool SettingsStore::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace kalvado
