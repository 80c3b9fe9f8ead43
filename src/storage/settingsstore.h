#pragma once

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
    bool sync();
    QString fileName() const { return m_settings->fileName(); }

    static QString applicationName() { return QStringLiteral("Kalvado2"); }

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kalvado
