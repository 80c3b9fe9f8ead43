#include "storage/datalocation.h"

#include "storage/database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <unistd.h>

namespace kalvado {

namespace {

// One message: what failed, the path on a line of its own, why, and what happens now.
QString Message(const QString &what, const QString &path, const QString &why = {}) {
    QString text = what + QStringLiteral(":\n") + QDir::toNativeSeparators(path) + QStringLiteral("\n\n");
    if (!why.isEmpty()) text += why + u' ';
    return text + QStringLiteral("Програмата ще работи без данни.");
}

// A starter that is not an SQLite file would only be copied to be refused later.
bool LooksLikeDatabase(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// What a first start killed mid-copy left behind. A copy younger than an hour
// may belong to another first start running right now, so it stays.
void RemoveStaleCopies(const QString &folder) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QFileInfoList parts = QDir(folder).entryInfoList({QStringLiteral(".KD2.mdb-*.part")},
                                                           QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &part : parts)
        if (part.lastModified().toUTC() < before) QFile::remove(part.filePath());
}

} // namespace

DataLocation::DataLocation(const QString &programDir, const QString &shareDir, const QString &userDataDir) {
    const QString beside = QDir(programDir).filePath(Database::fileName());
    // Anything by that name beside the executable wins, even a damaged file:
    // the user put it there and gets told about it rather than silently
    // working on another database.
    if (QFileInfo(beside).exists() || QFileInfo(beside).isSymLink()) {
        m_portable = true;
        m_databasePath = beside;
        return;
    }
    if (userDataDir.isEmpty()) { // no home folder: never a KD2.mdb in whatever folder we started from
        m_error = Message(QStringLiteral("Папката за данни не може да бъде създадена"), userDataDir);
        return;
    }
    m_databasePath = QDir(userDataDir).filePath(Database::fileName());
    const QFileInfo target(m_databasePath);
    if (target.exists() || target.isSymLink()) return;
    m_error = makeFromStarter(QDir(shareDir).filePath(Database::fileName()), userDataDir);
}

QString DataLocation::makeFromStarter(const QString &starter, const QString &folder) {
    if (!QFileInfo(starter).isFile() || !LooksLikeDatabase(starter))
        return Message(QStringLiteral("Началната база данни липсва в инсталацията или е повредена"), starter);
    if (!QDir().mkpath(folder))
        return Message(QStringLiteral("Папката за данни не може да бъде създадена"), folder);

    RemoveStaleCopies(folder);
    const QString cannotMake = QStringLiteral("Базата данни не може да бъде създадена");
    QFile source(starter);
    if (!source.open(QIODevice::ReadOnly))
        return Message(
            cannotMake, m_databasePath,
            QStringLiteral("Началната база данни не може да бъде прочетена (%1).").arg(source.errorString()));
    // Written under a temporary name and renamed into place, so that a crash
    // or a full disk never leaves half a database where the program looks.
    QTemporaryFile copy(QDir(folder).filePath(QStringLiteral(".KD2.mdb-XXXXXX.part")));
    if (!copy.open())
        return Message(cannotMake, m_databasePath,
                       QStringLiteral("Папката не може да бъде записвана (%1).").arg(copy.errorString()));
    const auto writeFailed = [&] {
        return Message(cannotMake, m_databasePath,
                       QStringLiteral("Записът не успя (%1).").arg(copy.errorString()));
    };
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return Message(cannotMake, m_databasePath,
                           QStringLiteral("Началната база данни не може да бъде прочетена (%1).")
                               .arg(source.errorString()));
        if (copy.write(chunk) != chunk.size()) return writeFailed();
    }
    if (!copy.flush() || ::fsync(copy.handle()) != 0) return writeFailed();
    // rename never replaces: a copy of the program started at the same moment
    // may have put its file there first, and that one stays.
    if (copy.rename(m_databasePath)) {
        copy.setAutoRemove(false);
        return {};
    }
    if (QFileInfo::exists(m_databasePath)) return {};
    return writeFailed();
}

QString DataLocation::HelpPage(const QString &programDir, const QString &shareDir) {
    const QString page = QStringLiteral("help/KdHelp.html");
    for (const QString &dir : {programDir, shareDir}) {
        const QString path = QDir(dir).filePath(page);
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

} // namespace kalvado
