#include "storage/backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace kalvado {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// A file written under a temporary name in the backup folder: renamed into
// place only when whole, removed otherwise.
QString TemporaryTemplate(const QString &folder, const QString &finalName) {
    return QDir(folder).filePath(u'.' + finalName + QStringLiteral("-XXXXXX.part"));
}

bool SyncToDisk(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && ::fsync(f.handle()) == 0;
}

// A rename or a new entry lasts through a power cut only once its folder is synced.
bool SyncFolder(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool PutInPlace(QTemporaryFile &file, const QString &target) {
    // rename never replaces an existing file.
    if (!file.rename(target)) return false;
    file.setAutoRemove(false);
    return SyncFolder(QFileInfo(target).absolutePath());
}

} // namespace

Backup::Backup(const QString &databasePath, const QString &settingsPath)
    : m_databasePath(databasePath), m_settingsPath(settingsPath) {}

QString Backup::folder() const {
    return QFileInfo(m_databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QString Backup::DatabaseFileName(QDate day) {
    return QStringLiteral("KD2-%1.mdb").arg(day.toString(kDateFormat));
}

QString Backup::SettingsFileName(QDate day) {
    return QStringLiteral("Kalvado2-%1.ini").arg(day.toString(kDateFormat));
}

bool Backup::isDue(QDate today) const {
    const QFileInfo newest(QDir(folder()).filePath(DatabaseFileName(today)));
    return !newest.exists() && !newest.isSymLink();
}

Backup::Outcome Backup::run(QDate today) const {
    if (!today.isValid() || !isDue(today)) return Outcome::NotDue;
    if (!QFileInfo(m_databasePath).isFile()) return Outcome::Failed;
    if (!QFileInfo(folder()).isDir() &&
        (!QDir().mkpath(folder()) || !SyncFolder(QFileInfo(m_databasePath).absolutePath())))
        return Outcome::Failed;
    // Two copies of the program started together: one makes the backup, the
    // other leaves it alone. A lock left by a crashed copy is taken over.
    QLockFile lock(QDir(folder()).filePath(QStringLiteral(".backup.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return lock.error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Failed;
    if (!isDue(today)) return Outcome::NotDue;
    removeLeftovers();
    // The settings first: the database copy is what marks the day as done.
    if (!copySettings(QDir(folder()).filePath(SettingsFileName(today)))) return Outcome::Failed;
    if (!copyDatabase(QDir(folder()).filePath(DatabaseFileName(today)))) return Outcome::Failed;
    prune(QStringLiteral("^KD2-(\\d{4}-\\d{2}-\\d{2})\\.mdb$"), DatabaseFileName(today));
    prune(QStringLiteral("^Kalvado2-(\\d{4}-\\d{2}-\\d{2})\\.ini$"), SettingsFileName(today));
    return Outcome::Written;
}

bool Backup::copyDatabase(const QString &target) const {
    QTemporaryFile copy(TemporaryTemplate(folder(), QFileInfo(target).fileName()));
    if (!copy.open()) return false;
    copy.close(); // SQLite writes into the empty file itself
    static std::atomic<int> serial{0};
    const QString connection = QStringLiteral("kalvado-backup-%1").arg(++serial);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        QUrl url = QUrl::fromLocalFile(QFileInfo(m_databasePath).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=ro"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            // One read transaction: a consistent copy even while the program writes.
            QSqlQuery vacuum(db);
            ok = vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
            vacuum.addBindValue(copy.fileName());
            ok = ok && vacuum.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok && SyncToDisk(copy.fileName()) && PutInPlace(copy, target);
}

bool Backup::copySettings(const QString &target) const {
    QFile settings(m_settingsPath);
    if (!settings.exists() || QFileInfo::exists(target)) return true; // nothing saved yet, or done before
    if (!settings.open(QIODevice::ReadOnly)) return false;
    const QByteArray content = settings.readAll();
    if (settings.error() != QFileDevice::NoError) return false;
    QTemporaryFile copy(TemporaryTemplate(folder(), QFileInfo(target).fileName()));
    return copy.open() && copy.write(content) == content.size() && copy.flush() &&
           ::fsync(copy.handle()) == 0 && PutInPlace(copy, target);
}

void Backup::prune(const QString &pattern, const QString &keepAlways) const {
    const QRegularExpression own(pattern);
    QDir dir(folder());
    QList<std::pair<QDate, QString>> backups;
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = own.match(name);
        if (!m.hasMatch()) continue;
        const QDate day = QDate::fromString(m.captured(1), kDateFormat);
        if (day.isValid()) backups.append({day, name});
    }
    std::sort(backups.begin(), backups.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (qsizetype i = kKeep; i < backups.size(); ++i)
        if (backups.at(i).second != keepAlways) dir.remove(backups.at(i).second);
}

void Backup::removeLeftovers() const {
    // Only ever called under the lock, so no other copy is writing these. A
    // cut while SQLite wrote the copy can leave the copy's journal too.
    static const QRegularExpression leftover(
        QStringLiteral("^\\.(KD2-\\d{4}-\\d{2}-\\d{2}\\.mdb|Kalvado2-\\d{4}-\\d{2}-\\d{2}\\.ini)-\\w{6}"
                       "\\.part(-journal)?$"));
    QDir dir(folder());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        if (leftover.match(name).hasMatch()) dir.remove(name);
}

BackgroundBackup::BackgroundBackup(const Backup &backup) : m_backup(backup) {}

BackgroundBackup::~BackgroundBackup() {
    wait();
}

void BackgroundBackup::start(QDate today) {
    if (m_thread) return;
    m_thread.reset(QThread::create([this, today] { m_outcome = m_backup.run(today); }));
    m_thread->setObjectName(QStringLiteral("backup"));
    m_thread->start(QThread::LowPriority);
}

bool BackgroundBackup::isRunning() const {
    return m_thread && m_thread->isRunning();
}

void BackgroundBackup::wait() {
    if (m_thread) m_thread->wait();
}

} // namespace kalvado
