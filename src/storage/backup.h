#pragma once

#include <QDate>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace kalvado {

// The daily backup: a consistent copy of the database, and of the settings
// file, in backups/ beside the database, named by date. Only files named the
// way this class names them are ever deleted there.
class Backup final {
public:
    enum class Outcome { Written, NotDue, Busy, Failed };

    Backup(const QString &databasePath, const QString &settingsPath);

    QString folder() const;
    // KD2-yyyy-MM-dd.mdb and Kalvado2-yyyy-MM-dd.ini
    static QString DatabaseFileName(QDate day);
    static QString SettingsFileName(QDate day);
    static constexpr int kKeep = 10;

    // Due when there is no database backup of that day yet.
    bool isDue(QDate today) const;
    // Writes the day's copies when due, then keeps the newest kKeep of each
    // kind. Never throws and never leaves a partly written file: a failure is
    // Failed and the next start tries again; Busy when another copy of the
    // program is making a backup at the same moment.
    Outcome run(QDate today) const;

private:
    bool copyDatabase(const QString &target) const;
    bool copySettings(const QString &target) const;
    void prune(const QString &pattern, const QString &keepAlways) const;
    void removeLeftovers() const;

    QString m_databasePath;
    QString m_settingsPath;
};

// Runs one Backup on a thread of its own, so that the program never waits for
// it; destroying it waits for a backup in progress to finish.
class BackgroundBackup final {
public:
    explicit BackgroundBackup(const Backup &backup);
    ~BackgroundBackup();
    BackgroundBackup(const BackgroundBackup &) = delete;
    BackgroundBackup &operator=(const BackgroundBackup &) = delete;

    // Starts the run (once; later calls do nothing).
    void start(QDate today);
    bool isRunning() const;
    void wait();
    // What the run gave; NotDue until it has finished.
    Backup::Outcome outcome() const { return m_outcome.load(); }

private:
    Backup m_backup;
    std::unique_ptr<QThread> m_thread;
    std::atomic<Backup::Outcome> m_outcome{Backup::Outcome::NotDue};
};

} // namespace kalvado
