#include "storage/settingsstore.h"

#include <QFile>
#include <QStringList>

#include <optional>

namespace kalvado {

namespace {

// The value of a key as it stands in the file, for text that the ini reader
// would otherwise turn into a list or another type.
std::optional<QString> RawValue(const QString &file, const QString &section, const QString &key) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    const QString wantedSection = u'[' + section + u']';
    bool inSection = false;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            inSection = trimmed == wantedSection;
            continue;
        }
        const qsizetype eq = trimmed.indexOf(u'=');
        if (inSection && eq > 0 && trimmed.left(eq).trimmed() == key) return trimmed.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

} // namespace

SettingsStore::SettingsStore() : m_settings(open()) {}

SettingsStore::SettingsStore(const QString &iniFile) : m_iniFile(iniFile), m_settings(open()) {}

std::unique_ptr<QSettings> SettingsStore::open() const {
    if (m_iniFile.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, applicationName(),
                                           applicationName());
    return std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
}

QString SettingsStore::ReadSetting(const QString &section, const QString &key,
                                   const QString &defaultValue) const {
    const QString path = section + u'/' + key;
    if (!m_settings->contains(path)) return defaultValue;
    const QVariant v = m_settings->value(path);
    if (v.metaType().id() == QMetaType::QString || v.metaType().id() == QMetaType::QByteArray)
        return v.toString();
    // A hand-edited value such as 2,5 (read as a list) or @Rect(...): the text
    // as written in the file.
    if (const auto raw = RawValue(m_settings->fileName(), section, key)) return *raw;
    return v.toString();
}

void SettingsStore::WriteSetting(const QString &section, const QString &key, const QString &text) {
    const QString path = section + u'/' + key;
    m_settings->setValue(path, text);
    m_unsaved.insert(path, text);
}

bool SettingsStore::sync() {
    if (m_failed) {
        // QSettings keeps reporting its first error for good, even once the
        // file can be written again: a fresh object tries afresh, holding
        // what the last one could not write.
        m_settings.reset();
        m_settings = open();
        for (auto it = m_unsaved.cbegin(); it != m_unsaved.cend(); ++it)
            m_settings->setValue(it.key(), it.value());
    }
    m_settings->sync();
    m_failed = m_settings->status() != QSettings::NoError;
    if (!m_failed) m_unsaved.clear();
    return !m_failed;
}

} // namespace kalvado
