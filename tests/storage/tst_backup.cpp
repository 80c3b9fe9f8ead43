#include "storage/backup.h"
#include "storage/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvado;

namespace {

const QDate kToday(2026, 3, 1);

void Put(const QString &path, const QByteArray &content = "x") {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray Content(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs SQL on a file and returns the first column of the first row.
QString Query(const QString &path, const QString &sql) {
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next()) result = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return result;
}

QStringList Listing(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestBackup final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void fileNames_data();
    void fileNames();
    void due_data();
    void due();
    void keepsNewestTenAndOnlyItsOwn();
    void copyIsWholeAndConsistent();
    void failureLeavesNothingAndRetries_data();
    void failureLeavesNothingAndRetries();
    void twoCopiesAtOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
    QString m_ini;
    QString m_backups;
};

void TestBackup::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = m_dir->filePath(QStringLiteral("KD2.mdb"));
    m_ini = m_dir->filePath(QStringLiteral("config/Kalvado2.ini"));
    m_backups = m_dir->filePath(QStringLiteral("backups"));
    QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), m_db));
    QFile(m_db).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Put(m_ini, "[Last]\nl1=Левски - ЦСКА\n");
}

void TestBackup::fileNames_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("settings");
    QTest::newRow("padded") << QDate(2026, 1, 5) << "KD2-2026-01-05.mdb"
                            << "Kalvado2-2026-01-05.ini";
    QTest::newRow("leap day") << QDate(2028, 2, 29) << "KD2-2028-02-29.mdb"
                              << "Kalvado2-2028-02-29.ini";
    QTest::newRow("year end") << QDate(2026, 12, 31) << "KD2-2026-12-31.mdb"
                              << "Kalvado2-2026-12-31.ini";
}

void TestBackup::fileNames() {
    QFETCH(QDate, day);
    QFETCH(QString, database);
    QFETCH(QString, settings);
    QCOMPARE(Backup::DatabaseFileName(day), database);
    QCOMPARE(Backup::SettingsFileName(day), settings);
}

void TestBackup::due_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<bool>("written");
    QTest::newRow("none yet") << QStringList() << true;
    QTest::newRow("yesterday's") << QStringList{"KD2-2026-02-28.mdb", "Kalvado2-2026-02-28.ini"} << true;
    QTest::newRow("today's") << QStringList{"KD2-2026-03-01.mdb"} << false;
    QTest::newRow("only today's settings") << QStringList{"Kalvado2-2026-03-01.ini"} << true;
    QTest::newRow("look-alikes of today")
        << QStringList{"KD2-2026-03-01.mdb.old", "kd2-2026-03-01.mdb"} << true;
    QTest::newRow("dated later") << QStringList{"KD2-2026-03-02.mdb"} << true;
}

void TestBackup::due() {
    QFETCH(QStringList, present);
    QFETCH(bool, written);
    for (const QString &name : present)
        Put(m_backups + u'/' + name, "old");
    const Backup backup(m_db, m_ini);
    QCOMPARE(backup.folder(), m_backups);
    QCOMPARE(backup.isDue(kToday), written);
    QCOMPARE(backup.run(kToday), written ? Backup::Outcome::Written : Backup::Outcome::NotDue);
    // Never twice a day.
    QCOMPARE(backup.run(kToday), Backup::Outcome::NotDue);
    QCOMPARE(Content(m_backups + QStringLiteral("/KD2-2026-03-01.mdb")) == "old", !written);
}

void TestBackup::keepsNewestTenAndOnlyItsOwn() {
    QStringList expected;
    // Twelve earlier days of both kinds, every other day.
    for (int i = 1; i <= 12; ++i) {
        const QDate day = kToday.addDays(-2 * i);
        Put(m_backups + u'/' + Backup::DatabaseFileName(day));
        Put(m_backups + u'/' + Backup::SettingsFileName(day));
        if (i <= 9) expected << Backup::DatabaseFileName(day) << Backup::SettingsFileName(day);
    }
    const QStringList unrelated{"notes.txt",
                                "KD2-latest.mdb",
                                "KD2-2020-01-01.mdb.bak",
                                "KD2-2026-13-45.mdb",
                                "KD2-2020-1-1.mdb",
                                "Kalvado2-2020-01-01.ini~",
                                "other-2020-01-01.mdb",
                                ".keep",
                                ".KD2-2020-01-01.mdb-abc.part",
                                ".KD2-2020-01-01.mdb-abc.part-journal",
                                ".KD2-2020-01-01.mdb-Ab12Cd.part-wal"};
    for (const QString &name : unrelated)
        Put(m_backups + u'/' + name);
    QVERIFY(QDir().mkpath(m_backups + QStringLiteral("/KD2-2019-01-01.mdb")));
    // What a copy of the program killed while writing leaves behind.
    Put(m_backups + QStringLiteral("/.KD2-2026-02-27.mdb-Ab12Cd.part"));
    Put(m_backups + QStringLiteral("/.Kalvado2-2026-02-27.ini-Ab12Cd.part"));
    Put(m_backups + QStringLiteral("/.KD2-2026-02-27.mdb-Ab12Cd.part-journal"));

    QCOMPARE(Backup(m_db, m_ini).run(kToday), Backup::Outcome::Written);

    expected << Backup::DatabaseFileName(kToday) << Backup::SettingsFileName(kToday) << unrelated
             << QStringLiteral("KD2-2019-01-01.mdb");
    expected.sort();
    QCOMPARE(Listing(m_backups), expected);
}

void TestBackup::copyIsWholeAndConsistent() {
    Query(m_db, QStringLiteral("INSERT INTO KD (Nom, Dom, Gost) VALUES (1, 'Левски', 'O''Brien')"));
    QCOMPARE(Backup(m_db, m_ini).run(kToday), Backup::Outcome::Written);
    const QString copy = m_backups + QStringLiteral("/KD2-2026-03-01.mdb");
    QCOMPARE(Query(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(Query(copy, QStringLiteral("SELECT Gost FROM KD WHERE Dom = 'Левски'")),
             QStringLiteral("O'Brien"));
    QCOMPARE(Query(copy, QStringLiteral("SELECT count(*) FROM Tims")),
             Query(m_db, QStringLiteral("SELECT count(*) FROM Tims")));
    QCOMPARE(Content(m_backups + QStringLiteral("/Kalvado2-2026-03-01.ini")), Content(m_ini));
    // A user who never saved settings still gets the database copy.
    QFile::remove(m_ini);
    QCOMPARE(Backup(m_db, m_ini).run(kToday.addDays(1)), Backup::Outcome::Written);
    QVERIFY(!QFile::exists(m_backups + QStringLiteral("/Kalvado2-2026-03-02.ini")));
}

void TestBackup::failureLeavesNothingAndRetries_data() {
    QTest::addColumn<QString>("cause");
    QTest::newRow("disk full") << "full";
    QTest::newRow("backup folder cannot be made") << "blocked";
    QTest::newRow("database missing") << "missing";
    QTest::newRow("another copy is backing up") << "locked";
}

void TestBackup::failureLeavesNothingAndRetries() {
    QFETCH(QString, cause);
    // The database must outgrow the limit, or the copy would fit.
    Query(m_db, QStringLiteral("CREATE TABLE Pad (x BLOB)"));
    Query(m_db, QStringLiteral("INSERT INTO Pad VALUES (zeroblob(200000))"));
    QVERIFY(QFileInfo(m_db).size() > 200000);
    const Backup backup(m_db, m_ini);
    {
        std::unique_ptr<test::FileSizeLimit> full;
        std::unique_ptr<QLockFile> other;
        if (cause == QLatin1String("full")) full = std::make_unique<test::FileSizeLimit>(64 * 1024);
        if (cause == QLatin1String("blocked")) Put(m_backups, "a file, not a folder");
        if (cause == QLatin1String("missing")) QVERIFY(QFile::rename(m_db, m_db + QStringLiteral(".away")));
        if (cause == QLatin1String("locked")) {
            QDir().mkpath(m_backups);
            other = std::make_unique<QLockFile>(m_backups + QStringLiteral("/.backup.lock"));
            QVERIFY(other->tryLock(0));
        }
        const QStringList before = Listing(m_backups);
        const Backup::Outcome outcome = backup.run(kToday);
        QCOMPARE(outcome, cause == QLatin1String("locked") ? Backup::Outcome::Busy : Backup::Outcome::Failed);
        // Nothing half-written, no day marked as done.
        QStringList after = Listing(m_backups);
        after.removeAll(Backup::SettingsFileName(kToday)); // written whole before the database failed
        QCOMPARE(after, before);
    }
    if (cause == QLatin1String("blocked")) QCOMPARE(Content(m_backups), QByteArray("a file, not a folder"));
    QVERIFY(backup.isDue(kToday));
    // The next start, with the cause gone, tries again.
    if (cause == QLatin1String("blocked")) QFile::remove(m_backups);
    if (cause == QLatin1String("missing")) QFile::rename(m_db + QStringLiteral(".away"), m_db);
    QCOMPARE(backup.run(kToday), Backup::Outcome::Written);
    QCOMPARE(
        Query(m_backups + QStringLiteral("/KD2-2026-03-01.mdb"), QStringLiteral("PRAGMA integrity_check")),
        QStringLiteral("ok"));
}

void TestBackup::twoCopiesAtOnce() {
    const Backup backup(m_db, m_ini);
    BackgroundBackup first(backup);
    BackgroundBackup second(backup);
    first.start(kToday);
    second.start(kToday);
    // Meanwhile the program goes on writing.
    for (int i = 0; i < 20; ++i)
        Query(m_db, QStringLiteral("INSERT INTO KD (Nom, Dom, Gost) VALUES (%1, 'a', 'b')").arg(i));
    first.wait();
    second.wait();
    QList<Backup::Outcome> outcomes{first.outcome(), second.outcome()};
    QCOMPARE(outcomes.count(Backup::Outcome::Written), 1);
    QVERIFY(outcomes.contains(Backup::Outcome::Busy) || outcomes.contains(Backup::Outcome::NotDue));
    const QString copy = m_backups + QStringLiteral("/KD2-2026-03-01.mdb");
    QCOMPARE(Query(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(Listing(m_backups), (QStringList{"KD2-2026-03-01.mdb", "Kalvado2-2026-03-01.ini"}));
    QCOMPARE(Query(m_db, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
