// An archive made before the odds columns and the history: opened, it gains
// the columns at the end of KD and the history's tables, keeps every row and
// value, and is never replaced; a file that cannot be written stays as it was
// and still reads.
#include "storage/database.h"
#include "storage/recordset.h"
#include "storage/schemaupgrade.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kalvado;

namespace {

// A file of the previous release with four archive rows (one with an
// apostrophe, quotes and ";" in its names, one with a blank real result) and
// one club row written by a prognosis.
const QString kOldFile = QStringLiteral(KALVADO_SOURCE_DIR "/tests/storage/fixtures/KD2-before-odds.mdb");

const QStringList kOldColumns{"Nom", "Dom", "Gost", "proD", "proG", "resD", "resG"};

QByteArray Digest(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of a table, every column, NULL as "<null>".
QList<QStringList> Rows(const QString &connection, const QString &table, const QStringList &columns) {
    QSqlQuery q(QSqlDatabase::database(connection));
    q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns.join(u','), table));
    QList<QStringList> rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i)
            row << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << row;
    }
    return rows;
}

ino_t Inode(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QStringList Columns(const QString &connection, const QString &table) {
    QSqlQuery q(QSqlDatabase::database(connection));
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList names;
    while (q.next())
        names << q.value(1).toString();
    return names;
}

// The statement that made a table or index, spacing aside.
QString SchemaSql(const QString &connection, const QString &name) {
    QSqlQuery q(QSqlDatabase::database(connection));
    q.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"));
    q.addBindValue(name);
    q.exec();
    return q.next() ? q.value(0).toString().simplified().remove(u' ') : QString();
}

// Opens a file with a plain connection for checking or preparing it.
struct Plain {
    Plain(const QString &path, const QString &name, bool readOnly = false) : name(name) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (readOnly) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
    }
    ~Plain() {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    void exec(const QString &sql) const { QSqlQuery(QSqlDatabase::database(name)).exec(sql); }
    QString name;
};

QString CopyOf(const QTemporaryDir &dir, const QString &source) {
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    QFile::copy(source, path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

} // namespace

class TestSchemaUpgrade final : public QObject {
    Q_OBJECT

private slots:
    void upgradesOnOpen_data();
    void upgradesOnOpen();
    void foreignArchiveIsStillRefused();
    void readOnlyFileIsLeftAndStillReads();
    void upgradedRowsTakeTheNewColumns();
};

void TestSchemaUpgrade::upgradesOnOpen_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("prepare"); // SQL run on the copy before opening
    QTest::addColumn<bool>("changes");
    QTest::addColumn<bool>("upgraded"); // false: refused, and nothing done
    QTest::addColumn<int>("links");     // in ClubLinks afterwards
    const int defaults = DefaultClubLinks().size();
    QTest::newRow("file of the previous release") << kOldFile << QString() << true << true << defaults;
    // Left half-done by hand: only what is missing is added.
    QTest::newRow("some columns there already")
        << kOldFile << "ALTER TABLE KD ADD COLUMN k1 TEXT" << true << true << defaults;
    QTest::newRow("column there in other letter case")
        << kOldFile << "ALTER TABLE KD ADD COLUMN CREATED TEXT" << true << true << defaults;
    // The user's links are theirs: the defaults go only into a new table.
    QTest::newRow("links table there already")
        << kOldFile << "CREATE TABLE ClubLinks (Name TEXT PRIMARY KEY, Tim TEXT)" << true << true << 0;
    // Something in the way of the last index: the columns added before it go too.
    QTest::newRow("refused midway") << kOldFile << "CREATE VIEW MatchesBySeason AS SELECT 1" << false << false
                                    << 0;
    QTest::newRow("starter of this release")
        << QStringLiteral(KALVADO_STARTER_DB) << QString() << false << true << defaults;
}

void TestSchemaUpgrade::upgradesOnOpen() {
    QFETCH(QString, source);
    QFETCH(QString, prepare);
    QFETCH(bool, changes);
    QFETCH(bool, upgraded);
    QFETCH(int, links);
    QTemporaryDir dir;
    const QString path = CopyOf(dir, source);
    if (!prepare.isEmpty()) Plain(path, QStringLiteral("prepare")).exec(prepare);
    QList<QStringList> archive;
    QList<QStringList> clubs;
    QStringList columnsBefore;
    {
        Plain before(path, QStringLiteral("before"));
        archive = Rows(before.name, QStringLiteral("KD"), kOldColumns);
        clubs = Rows(before.name, QStringLiteral("Tims"), Columns(before.name, QStringLiteral("Tims")));
        columnsBefore = Columns(before.name, QStringLiteral("KD"));
    }
    const QByteArray digest = Digest(path);
    const ino_t inode = Inode(path);
    {
        Database db(path, QStringLiteral("upgrade"));
        QVERIFY2(db.isOpen(), qPrintable(db.errorMessage()));
        QCOMPARE(HasArchiveOddsColumns(QSqlDatabase::database(db.connectionName())), upgraded);
        QCOMPARE(HasHistoryTables(QSqlDatabase::database(db.connectionName())), upgraded);
    }
    QCOMPARE(Digest(path) != digest, changes);
    QCOMPARE(Inode(path), inode); // changed in place, not replaced
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    Plain after(path, QStringLiteral("after"));
    const QStringList columns = Columns(after.name, QStringLiteral("KD"));
    QCOMPARE(Rows(after.name, QStringLiteral("KD"), kOldColumns), archive);
    QCOMPARE(Rows(after.name, QStringLiteral("Tims"), Columns(after.name, QStringLiteral("Tims"))), clubs);
    if (!upgraded) {
        QCOMPARE(columns, columnsBefore);
        return;
    }
    // The old columns keep their places; the new ones follow, each once.
    QCOMPARE(columns.mid(0, 7), kOldColumns);
    QCOMPARE(columns.size(), 11);
    QCOMPARE(columns.mid(0, columnsBefore.size()), columnsBefore);
    for (const QStringList &row : Rows(after.name, QStringLiteral("KD"), ArchiveOddsColumns()))
        QCOMPARE(row, QStringList(4, QStringLiteral("<null>")));
    QList<QStringList> defaults;
    for (const auto &[name, tim] : DefaultClubLinks())
        defaults << QStringList{name, tim};
    QCOMPARE(Rows(after.name, QStringLiteral("ClubLinks"), {"Name", "Tim"}), defaults.mid(0, links));
    QVERIFY(Rows(after.name, QStringLiteral("Matches"), {"Home"}).isEmpty());
    // Made here or by the build, the history's tables are the same.
    Plain starter(QStringLiteral(KALVADO_STARTER_DB), QStringLiteral("starter"), true);
    for (const SchemaObject &o : HistorySchema()) {
        const QString made = SchemaSql(after.name, o.name);
        QVERIFY(!made.isEmpty());
        QCOMPARE(made, SchemaSql(starter.name, o.name));
    }
}

void TestSchemaUpgrade::foreignArchiveIsStillRefused() {
    QTemporaryDir dir;
    const QString path = CopyOf(dir, kOldFile);
    // An archive without the real-result columns is no archive of this program.
    Plain(path, QStringLiteral("prepare")).exec(QStringLiteral("ALTER TABLE KD DROP COLUMN resG"));
    const QByteArray digest = Digest(path);
    {
        Database db(path, QStringLiteral("foreign"));
        QVERIFY(!db.isOpen());
        QVERIFY(db.errorMessage().contains(path));
    }
    QCOMPARE(Digest(path), digest);
}

void TestSchemaUpgrade::readOnlyFileIsLeftAndStillReads() {
    QTemporaryDir dir;
    const QString path = CopyOf(dir, kOldFile);
    const QByteArray digest = Digest(path);
    {
        Plain ro(path, QStringLiteral("ro"), true);
        const QSqlDatabase db = QSqlDatabase::database(ro.name);
        QVERIFY(!UpgradeSchema(db));
        QVERIFY(!HasArchiveOddsColumns(db));
        QVERIFY(!HasHistoryTables(db));
        RecordSet archive(ro.name, QStringLiteral("KD"));
        QVERIFY(archive.open());
        QCOMPARE(archive.count(), 4);
        QCOMPARE(archive.value(QStringLiteral("Dom")), QStringLiteral("левски"));
    }
    QCOMPARE(Digest(path), digest);
}

void TestSchemaUpgrade::upgradedRowsTakeTheNewColumns() {
    QTemporaryDir dir;
    const QString path = CopyOf(dir, kOldFile);
    Database db(path, QStringLiteral("append"));
    QVERIFY(db.isOpen());
    RecordSet archive(db.connectionName(), QStringLiteral("KD"));
    QVERIFY(archive.open());
    QVERIFY(archive.append({{"Nom", 4},
                            {"Dom", "а"},
                            {"Gost", "б"},
                            {"proD", "1"},
                            {"proG", "0"},
                            {"k1", "1,85"},
                            {"kX", "3,40"},
                            {"k2", "4,20"},
                            {"Created", "2026-12-08 10:00:00"}}));
    archive.last();
    QCOMPARE(archive.value(QStringLiteral("k2")), QStringLiteral("4,20"));
    QCOMPARE(archive.value(10), QStringLiteral("2026-12-08 10:00:00"));
    QCOMPARE(archive.count(), 5);
}

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
