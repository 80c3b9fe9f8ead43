#include "storage/database.h"
#include "storage/fastscan.h"
#include "storage/recordset.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>
#include <thread>

using namespace kalvado;

class TestRecordSet final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void movesInStoredOrder();
    void emptyTableHasNoRow();
    void findFirstTakesTheFirstOfDuplicates();
    void namesAreStoredAndFoundVerbatim_data();
    void namesAreStoredAndFoundVerbatim();
    void appendKeepsTheCurrentRow();
    void editCurrentStoresEmptyAsNull();
    void deleteThenNextMovesOn();
    void scanStopsAtTheFirstEmptyName();
    void countFollowsAppendAndDelete();
    void directScanReadsWhatTheDriverReads();
    void blankNames_data();
    void blankNames();
    void writeSurvivesAKilledProcess();

private:
    std::unique_ptr<test::TestEnv> m_env;
};

void TestRecordSet::init() {
    m_env = std::make_unique<test::TestEnv>();
    m_env->clearTable(QStringLiteral("Tims"));
    for (const char *name : {"Алфа", "Бета", "Гама"})
        m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('%1')").arg(QString::fromUtf8(name)));
}

void TestRecordSet::cleanup() {
    m_env.reset();
}

void TestRecordSet::movesInStoredOrder() {
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    QSignalSpy changed(&rs, &RecordSet::currentChanged);
    QVERIFY(rs.open());
    QCOMPARE(rs.value(QStringLiteral("Tim")), QStringLiteral("Алфа"));
    QVERIFY(rs.next());
    QCOMPARE(rs.value(0), QStringLiteral("Бета"));
    QVERIFY(rs.last());
    QCOMPARE(rs.value(0), QStringLiteral("Гама"));
    QVERIFY(!rs.next());
    QVERIFY(!rs.hasCurrent());
    QCOMPARE(rs.value(0), QString());
    QVERIFY(rs.previous()); // from past the end back to the last row
    QCOMPARE(rs.value(0), QStringLiteral("Гама"));
    QVERIFY(rs.previous());
    QVERIFY(rs.previous());
    QCOMPARE(rs.value(0), QStringLiteral("Алфа"));
    QVERIFY(!rs.previous());
    QVERIFY(!rs.hasCurrent());
    QVERIFY(changed.count() >= 8);
}

void TestRecordSet::emptyTableHasNoRow() {
    m_env->clearTable(QStringLiteral("Tims"));
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    QVERIFY(rs.open()); // an empty table is not a failure
    QVERIFY(!rs.hasCurrent());
    QVERIFY(rs.isOpen());
    QVERIFY(!rs.findFirst(QStringLiteral("Tim"), QStringLiteral("Алфа")));
    QCOMPARE(rs.count(), 0);
    QVERIFY(rs.scan({QStringLiteral("Tim")}, QStringLiteral("Tim")).isEmpty());
    QVERIFY(!rs.editCurrent({{QStringLiteral("v1"), QStringLiteral("1")}}));
    QVERIFY(!rs.deleteCurrent());
}

void TestRecordSet::findFirstTakesTheFirstOfDuplicates() {
    m_env->exec(QStringLiteral("INSERT INTO Tims (Tim, v1) VALUES ('Бета', '7')"));
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    QVERIFY(rs.findFirst(QStringLiteral("Tim"), QStringLiteral("Бета")));
    QCOMPARE(rs.value(QStringLiteral("v1")), QString());
    QVERIFY(rs.next());
    QVERIFY(rs.next());
    QCOMPARE(rs.value(QStringLiteral("v1")), QStringLiteral("7"));
    QVERIFY(!rs.findFirst(QStringLiteral("Tim"), QStringLiteral("бета"))); // case matters
    QVERIFY(!rs.hasCurrent());
}

void TestRecordSet::namesAreStoredAndFoundVerbatim_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << "Ньюкасъл'с";
    QTest::newRow("quotes") << "\"Бетис\" ''";
    QTest::newRow("sql text") << "x'); DROP TABLE Tims; --";
    QTest::newRow("blanks around") << "  Левски  ";
    QTest::newRow("long") << QString(1000, u'Щ');
    QTest::newRow("percent and underscore") << "50%_";
    QTest::newRow("leading byte-order mark") << QStringLiteral("\uFEFFЛевски");
    QTest::newRow("leading reversed mark") << QStringLiteral("\uFFFEЛевски");
    QTest::newRow("only a byte-order mark") << QStringLiteral("\uFEFF");
    QTest::newRow("zero-width characters") << QStringLiteral("\u200BЦСКА\u200D\uFEFF");
    QTest::newRow("1000 characters after a mark") << QStringLiteral("\uFEFF") + QString(999, u'Щ');
}

void TestRecordSet::namesAreStoredAndFoundVerbatim() {
    QFETCH(QString, name);
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    QVERIFY(
        rs.append({{QStringLiteral("Tim"), name}, {QStringLiteral("Date"), QStringLiteral("2026-12-07")}}));
    QVERIFY(rs.findFirst(QStringLiteral("Tim"), name));
    QCOMPARE(rs.value(QStringLiteral("Tim")), name);
    QCOMPARE(rs.count(), 4);
    // Stored byte for byte, read back the same by every route, ending no scan.
    QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
    QVERIFY(q.exec(QStringLiteral("SELECT hex(Tim) FROM Tims ORDER BY rowid DESC LIMIT 1")) && q.next());
    QCOMPARE(q.value(0).toByteArray(), name.toUtf8().toHex().toUpper());
    QVERIFY(rs.last());
    QCOMPARE(rs.value(QStringLiteral("Tim")), name);
    QCOMPARE(rs.scanColumn(QStringLiteral("Tim")).value(3), name);
    QCOMPARE(rs.scan({QStringLiteral("Tim")}, QStringLiteral("Tim")).value(3).value(0), name);
    QVERIFY(rs.first());
    QVERIFY(rs.editCurrent({{QStringLiteral("Tim"), name}}));
    QVERIFY(q.exec(QStringLiteral("SELECT hex(Tim) FROM Tims ORDER BY rowid LIMIT 1")) && q.next());
    QCOMPARE(q.value(0).toByteArray(), name.toUtf8().toHex().toUpper());
    QVERIFY(!rs.findFirst(QStringLiteral("Tim"), name.trimmed() + QStringLiteral("x")));
}

void TestRecordSet::appendKeepsTheCurrentRow() {
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    rs.next();
    QVERIFY(rs.append({{QStringLiteral("Tim"), QStringLiteral("Делта")}}));
    QCOMPARE(rs.value(0), QStringLiteral("Бета"));
    QVERIFY(rs.last());
    QCOMPARE(rs.value(0), QStringLiteral("Делта"));
    QVERIFY(!rs.append({{QStringLiteral("NoSuchColumn"), QStringLiteral("x")}}));
}

void TestRecordSet::editCurrentStoresEmptyAsNull() {
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    QVERIFY(rs.editCurrent({{QStringLiteral("v1"), RecordSet::textOrNull(QStringLiteral("0"))},
                            {QStringLiteral("p1"), RecordSet::textOrNull(QString())},
                            {QStringLiteral("v2"), RecordSet::textOrNull(QStringLiteral("03"))}}));
    QCOMPARE(rs.value(QStringLiteral("v1")), QStringLiteral("0"));
    QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
    QVERIFY(q.exec(QStringLiteral("SELECT v1, p1 IS NULL, v2 FROM Tims WHERE Tim = 'Алфа'")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("0"));
    QCOMPARE(q.value(1).toInt(), 1);
    QCOMPARE(q.value(2).toString(), QStringLiteral("03")); // the typed digits come back
}

void TestRecordSet::deleteThenNextMovesOn() {
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    rs.next();
    QVERIFY(rs.deleteCurrent());
    QVERIFY(!rs.hasCurrent());
    QVERIFY(rs.next());
    QCOMPARE(rs.value(0), QStringLiteral("Гама"));
    QVERIFY(rs.deleteCurrent());
    QVERIFY(!rs.next()); // deleting the last row leaves no current row
    QCOMPARE(rs.count(), 1);
}

void TestRecordSet::scanStopsAtTheFirstEmptyName() {
    m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('')"));
    m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('След')"));
    RecordSet rs(m_env->ctx.connectionName, QStringLiteral("Tims"));
    rs.open();
    const auto rows = rs.scan({QStringLiteral("Tim"), QStringLiteral("v1")}, QStringLiteral("Tim"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(2).at(0), QStringLiteral("Гама"));
    QVERIFY(!rs.hasCurrent());
    QVERIFY(rs.first());
}

void TestRecordSet::countFollowsAppendAndDelete() {
    RecordSet a(m_env->ctx.connectionName, QStringLiteral("KD"));
    RecordSet b(m_env->ctx.connectionName, QStringLiteral("KD"));
    a.open();
    b.open();
    QCOMPARE(a.count(), 0);
    QVERIFY(
        a.append({{QStringLiteral("Nom"), a.count()}, {QStringLiteral("Dom"), QStringLiteral("левски")}}));
    QVERIFY(a.append({{QStringLiteral("Nom"), a.count()}, {QStringLiteral("Dom"), QStringLiteral("цска")}}));
    QCOMPARE(b.count(), 2); // another cursor sees rows appended elsewhere
    QVERIFY(b.last());
    QCOMPARE(b.value(QStringLiteral("Nom")), QStringLiteral("1"));
}

void TestRecordSet::directScanReadsWhatTheDriverReads() {
    m_env->exec(QStringLiteral("INSERT INTO Tims (Tim, v1, p1) VALUES ('Ünïcødé ✓ Щ', '0', NULL)"));
    const QSqlDatabase db = QSqlDatabase::database(m_env->ctx.connectionName);
    const QString sql = QStringLiteral("SELECT Tim, v1, p1 FROM Tims ORDER BY rowid");
    QList<QStringList> direct;
    QVERIFY(FastScan(db, sql, 3, [&direct](const QStringList &row) {
        direct << row;
        return true;
    }));
    QList<QStringList> viaDriver;
    QSqlQuery q(db);
    QVERIFY(q.exec(sql));
    while (q.next())
        viaDriver << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    QCOMPARE(direct, viaDriver);
    QCOMPARE(direct.last().at(1), QStringLiteral("0"));
    // Stopping early, a bad query and a closed connection.
    int seen = 0;
    QVERIFY(FastScan(db, sql, 1, [&seen](const QStringList &) { return ++seen < 2; }));
    QStringList names;
    QVERIFY(FastScanColumn(db, QStringLiteral("SELECT Tim FROM Tims ORDER BY rowid"), names));
    QCOMPARE(names.size(), 4);
    QCOMPARE(names.last(), QStringLiteral("Ünïcødé ✓ Щ"));
    QCOMPARE(seen, 2);
    QVERIFY(!FastScan(db, QStringLiteral("SELECT nothing FROM nowhere"), 1,
                      [](const QStringList &) { return true; }));
    QVERIFY(!FastScan(QSqlDatabase(), sql, 1, [](const QStringList &) { return true; }));
}

void TestRecordSet::blankNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("spaces and tab") << " \t " << true;
    QTest::newRow("byte-order mark") << QStringLiteral("\uFEFF") << true;
    QTest::newRow("zero-width and no-break")
        << QStringLiteral("\u200B\u200C\u200D\u2060\u00A0\u3000") << true;
    QTest::newRow("soft hyphen and direction marks") << QStringLiteral("\u00AD\u200E\u202E") << true;
    QTest::newRow("reversed mark") << QStringLiteral("\uFFFE") << false;
    QTest::newRow("one letter among marks") << QStringLiteral("\uFEFFЛ\u200B") << false;
    QTest::newRow("digit") << "0" << false;
    QTest::newRow("letter beyond the first plane") << QStringLiteral("\U0001D49C") << false;
}

void TestRecordSet::blankNames() {
    QFETCH(QString, name);
    QFETCH(bool, blank);
    QCOMPARE(IsBlankName(name), blank);
}

// The child half of writeSurvivesAKilledProcess: append one row, report, wait to be killed.
static int childWrite(const QString &dbPath) {
    Database db(dbPath, QStringLiteral("child"));
    RecordSet rs(db.connectionName(), QStringLiteral("KD"));
    if (!rs.open() && !rs.isOpen()) return 2;
    if (!rs.append({{QStringLiteral("Nom"), 41}, {QStringLiteral("Dom"), QStringLiteral("записан")}}))
        return 3;
    std::printf("written\n");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

void TestRecordSet::writeSurvivesAKilledProcess() {
    const QString path = m_env->dbPath();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KALVADO_CHILD_WRITE"), path);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    for (int i = 0; i < 100 && !output.contains("written") && child.state() == QProcess::Running; ++i) {
        child.waitForReadyRead(100);
        output += child.readAll();
    }
    QVERIFY2(output.contains("written"), output.constData());
    child.kill();
    QVERIFY(child.waitForFinished());
    Database fresh(path, QStringLiteral("after-kill"));
    QVERIFY(fresh.isOpen());
    QSqlQuery q(QSqlDatabase::database(fresh.connectionName()));
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM KD WHERE Nom = 41 AND Dom = 'записан'")) && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
}

int main(int argc, char **argv) {
    const QByteArray childPath = qgetenv("KALVADO_CHILD_WRITE");
    if (!childPath.isEmpty()) {
        QCoreApplication app(argc, argv);
        return childWrite(QString::fromLocal8Bit(childPath));
    }
    QApplication app(argc, argv);
    TestRecordSet t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_recordset.moc"
