#pragma once

#include <QMap>
#include <QSettings>
#include <QString>

#include <memory>

namespace kalvado {

// The per-user store of text values under the application Kalvado2,
// addressed by section and key. The only way the program reaches it.
class SettingsStore final {
public:
    // The user's own store.
    SettingsStore();
    // A store in the given ini file (tests, portable use).
    explicit SettingsStore(const QString &iniFile);
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // The stored text, or the default when the key does not exist.
    QString ReadSetting(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    void WriteSetting(const QString &section, const QString &key, const QString &text);
    // Pushes pending writes to disk; callers do this at the end of a save.
    // False when the file could not be written (full disk, read-only file or
    // folder); what was not written is kept and tried again at the next sync.
    bool sync();
    QString fileName() const { return m_settings->fileName(); }

    static QString applicationName() { return QStringLiteral("Kalvado2"); }

private:
    std::unique_ptr<QSettings> open() const;

    QString m_iniFile; // empty: the user's own store
    std::unique_ptr<QSettings> m_settings;
    // Written since the last sync that reached the file.
    QMap<QString, QString> m_unsaved;
    bool m_failed = false;
};

} // namespace kalvado
