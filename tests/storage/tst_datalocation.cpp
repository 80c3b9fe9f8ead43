#include "storage/database.h"
#include "storage/datalocation.h"
#include "storage/filesizelimit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvado;

namespace {

QByteArray Content(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Starter() {
    return Content(QStringLiteral(KALVADO_STARTER_DB));
}

void Put(const QString &path, const QByteArray &content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
}

// What a file in the test folder holds before the run.
enum class File { None, Starter, Changed, Foreign, Empty };

QByteArray ContentOf(File kind) {
    switch (kind) {
    case File::Starter:
        return Starter();
    case File::Changed: {
        QByteArray changed = Starter();
        changed[100] = char(changed[100] + 1); // same header, other bytes: the user's own data
        return changed;
    }
    case File::Foreign:
        return QByteArray("Standard Jet DB\0 someone else's file", 36);
    case File::Empty:
    case File::None:
        break;
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(File)

class TestDataLocation final : public QObject {
    Q_OBJECT

private slots:
    void chooseAndMake_data();
    void chooseAndMake();
    void diskFullLeavesNothingAndRetries();
    void firstStartGivesAWorkingDatabase();
    void copyLeftByACrashIsCleared();
    void helpPage_data();
    void helpPage();
};

void TestDataLocation::chooseAndMake_data() {
    QTest::addColumn<File>("beside");
    QTest::addColumn<File>("user");
    QTest::addColumn<File>("starter");
    QTest::addColumn<bool>("portable");
    // The user's file afterwards; None when it must not exist.
    QTest::addColumn<File>("userAfter");
    // Which path the one message names; empty when there is no message.
    QTest::addColumn<QString>("messageNames");
    // A plain file where the data folder's parent should be.
    QTest::addColumn<bool>("blocked");

    QTest::newRow("file beside the program wins")
        << File::Changed << File::Changed << File::Starter << true << File::Changed << QString() << false;
    QTest::newRow("damaged file beside still wins")
        << File::Foreign << File::None << File::Starter << true << File::None << QString() << false;
    QTest::newRow("first start copies the starter")
        << File::None << File::None << File::Starter << false << File::Starter << QString() << false;
    QTest::newRow("the user's file is kept")
        << File::None << File::Changed << File::Starter << false << File::Changed << QString() << false;
    QTest::newRow("foreign user file is never overwritten")
        << File::None << File::Foreign << File::Starter << false << File::Foreign << QString() << false;
    QTest::newRow("empty user file is never overwritten")
        << File::None << File::Empty << File::Starter << false << File::Empty << QString() << false;
    QTest::newRow("user file kept without a starter")
        << File::None << File::Changed << File::None << false << File::Changed << QString() << false;
    QTest::newRow("starter missing") << File::None << File::None << File::None << false << File::None
                                     << "share/KD2.mdb" << false;
    QTest::newRow("starter empty") << File::None << File::None << File::Empty << false << File::None
                                   << "share/KD2.mdb" << false;
    QTest::newRow("starter not a database")
        << File::None << File::None << File::Foreign << false << File::None << "share/KD2.mdb" << false;
    QTest::newRow("data folder cannot be made") << File::None << File::None << File::Starter << false
                                                << File::None << "home/.local/share/Kalvado2" << true;
}

void TestDataLocation::chooseAndMake() {
    QFETCH(File, beside);
    QFETCH(File, user);
    QFETCH(File, starter);
    QFETCH(bool, portable);
    QFETCH(File, userAfter);
    QFETCH(QString, messageNames);
    QFETCH(bool, blocked);
    QTemporaryDir dir;
    const QString programDir = dir.filePath(QStringLiteral("bin"));
    const QString shareDir = dir.filePath(QStringLiteral("share"));
    // Not there yet: the first start makes the whole path.
    const QString userDir = dir.filePath(QStringLiteral("home/.local/share/Kalvado2"));
    QDir().mkpath(programDir);
    QDir().mkpath(shareDir);
    const QString besidePath = programDir + QStringLiteral("/KD2.mdb");
    const QString userPath = userDir + QStringLiteral("/KD2.mdb");
    if (blocked) Put(dir.filePath(QStringLiteral("home")), "not a folder");
    if (beside != File::None) Put(besidePath, ContentOf(beside));
    if (user != File::None) Put(userPath, ContentOf(user));
    if (starter != File::None) Put(shareDir + QStringLiteral("/KD2.mdb"), ContentOf(starter));

    const DataLocation location(programDir, shareDir, userDir);

    QCOMPARE(location.isPortable(), portable);
    QCOMPARE(location.databasePath(), portable ? besidePath : userPath);
    if (messageNames.isEmpty()) {
        QCOMPARE(location.errorMessage(), QString());
    } else {
        QVERIFY2(location.errorMessage().contains(dir.filePath(messageNames)),
                 qPrintable(location.errorMessage()));
        QVERIFY(location.errorMessage().contains(QStringLiteral("без данни")));
    }
    if (beside != File::None) QCOMPARE(Content(besidePath), ContentOf(beside));
    QCOMPARE(QFileInfo::exists(userPath), userAfter != File::None);
    if (userAfter != File::None) QCOMPARE(Content(userPath), ContentOf(userAfter));
    // Nothing half-made is ever left in the data folder.
    const QStringList left = QDir(userDir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(left, userAfter == File::None ? QStringList() : QStringList{QStringLiteral("KD2.mdb")});
}

void TestDataLocation::diskFullLeavesNothingAndRetries() {
    QTemporaryDir dir;
    const QString shareDir = dir.filePath(QStringLiteral("share"));
    const QString userDir = dir.filePath(QStringLiteral("data"));
    Put(shareDir + QStringLiteral("/KD2.mdb"), Starter());
    QVERIFY(Starter().size() > 4096);
    {
        test::FileSizeLimit full(4096);
        const DataLocation location(dir.filePath(QStringLiteral("bin")), shareDir, userDir);
        QVERIFY2(location.errorMessage().contains(userDir + QStringLiteral("/KD2.mdb")),
                 qPrintable(location.errorMessage()));
    }
    QCOMPARE(QDir(userDir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    // The next start, with room again, makes the file.
    const DataLocation again(dir.filePath(QStringLiteral("bin")), shareDir, userDir);
    QCOMPARE(again.errorMessage(), QString());
    QCOMPARE(Content(again.databasePath()), Starter());
}

void TestDataLocation::firstStartGivesAWorkingDatabase() {
    QTemporaryDir dir;
    const QString shareDir = dir.filePath(QStringLiteral("share"));
    Put(shareDir + QStringLiteral("/KD2.mdb"), Starter());
    QFile(shareDir + QStringLiteral("/KD2.mdb"))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const DataLocation location(dir.filePath(QStringLiteral("bin")), shareDir,
                                dir.filePath(QStringLiteral("data")));
    // The starter is installed read-only; the user's copy must be writable.
    Database db(location.databasePath(), QStringLiteral("firststart"));
    QVERIFY2(db.isOpen(), qPrintable(db.errorMessage()));
}

void TestDataLocation::copyLeftByACrashIsCleared() {
    QTemporaryDir dir;
    const QString shareDir = dir.filePath(QStringLiteral("share"));
    const QString userDir = dir.filePath(QStringLiteral("data"));
    Put(shareDir + QStringLiteral("/KD2.mdb"), Starter());
    const QString stale = userDir + QStringLiteral("/.KD2.mdb-aB12cD.part");
    const QString running = userDir + QStringLiteral("/.KD2.mdb-xY34zW.part");
    const QString unrelated = userDir + QStringLiteral("/notes.part");
    for (const QString &path : {stale, running, unrelated})
        Put(path, "half");
    for (const QString &path : {stale, unrelated}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    }

    const DataLocation location(dir.filePath(QStringLiteral("bin")), shareDir, userDir);

    QCOMPARE(location.errorMessage(), QString());
    QCOMPARE(Content(location.databasePath()), Starter());
    QVERIFY(!QFileInfo::exists(stale));
    // Another first start may still be writing this one; other files are not ours.
    QVERIFY(QFileInfo::exists(running));
    QVERIFY(QFileInfo::exists(unrelated));
}

void TestDataLocation::helpPage_data() {
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the program") << true << false << "bin/help/KdHelp.html";
    QTest::newRow("installed") << false << true << "share/help/KdHelp.html";
    QTest::newRow("beside wins") << true << true << "bin/help/KdHelp.html";
    QTest::newRow("none") << false << false << QString();
}

void TestDataLocation::helpPage() {
    QFETCH(bool, besideProgram);
    QFETCH(bool, installed);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (besideProgram) Put(dir.filePath(QStringLiteral("bin/help/KdHelp.html")), "<html/>");
    if (installed) Put(dir.filePath(QStringLiteral("share/help/KdHelp.html")), "<html/>");
    QCOMPARE(
        DataLocation::HelpPage(dir.filePath(QStringLiteral("bin")), dir.filePath(QStringLiteral("share"))),
        expected.isEmpty() ? QString() : dir.filePath(expected));
}

QTEST_GUILESS_MAIN(TestDataLocation)
#include "tst_datalocation.moc"
