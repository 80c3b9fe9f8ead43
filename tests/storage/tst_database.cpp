#include "storage/database.h"
#include "storage/recordset.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvado;

namespace {
QByteArray digest(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
} // namespace

class TestDatabase final : public QObject {
    Q_OBJECT

private slots:
    void starterFileOpens();
    void missingFileIsNeverCreated();
    void foreignFileIsLeftUntouched_data();
    void foreignFileIsLeftUntouched();
    void pathWithSpecialCharacters();
};

void TestDatabase::starterFileOpens() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Database db(path, QStringLiteral("starter"));
    QVERIFY2(db.isOpen(), qPrintable(db.errorMessage()));
    QVERIFY(db.errorMessage().isEmpty());
    RecordSet clubs(db.connectionName(), QStringLiteral("Tims"));
    QVERIFY(clubs.open());
    // The starter list holds every club the program knows by name.
    for (const char *name : {"Арсенал", "Челси", "1860 Мюнхен", "Бетис", "Левски", "ЦСКА", "ПСВ Айндховен"})
        QVERIFY2(clubs.findFirst(QStringLiteral("Tim"), QString::fromUtf8(name)), name);
    QCOMPARE(clubs.value(QStringLiteral("v1")), QString()); // no stored results yet
    QVERIFY(!clubs.value(QStringLiteral("Date")).isEmpty());
    RecordSet archive(db.connectionName(), QStringLiteral("KD"));
    archive.open();
    QCOMPARE(archive.count(), 0);
}

void TestDatabase::missingFileIsNeverCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    Database db(path, QStringLiteral("missing"));
    QVERIFY(!db.isOpen());
    QVERIFY(db.errorMessage().contains(path));
    QVERIFY(!QFile::exists(path));
    RecordSet rs(db.connectionName(), QStringLiteral("Tims"));
    QVERIFY(!rs.open());
    QVERIFY(!rs.append({{QStringLiteral("Tim"), QStringLiteral("x")}}));
    QCOMPARE(rs.count(), -1);
    QVERIFY(!QFile::exists(path));
}

void TestDatabase::foreignFileIsLeftUntouched_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("sql");
    QTest::newRow("text file") << QByteArray("Standard Jet DB\0\0 not sqlite at all", 34) << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("other sqlite database") << QByteArray() << "CREATE TABLE Other (x TEXT)";
    QTest::newRow("club table with other columns")
        << QByteArray() << "CREATE TABLE Tims (Tim TEXT, Date TEXT)";
}

void TestDatabase::foreignFileIsLeftUntouched() {
    QFETCH(QByteArray, content);
    QFETCH(QString, sql);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    if (sql.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    } else {
        QSqlDatabase maker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        maker.setDatabaseName(path);
        QVERIFY(maker.open());
        QSqlQuery(maker).exec(sql);
        maker.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    const QByteArray before = digest(path);
    {
        Database db(path, QStringLiteral("foreign"));
        QVERIFY(!db.isOpen());
        QVERIFY(db.errorMessage().contains(path));
        RecordSet rs(db.connectionName(), QStringLiteral("Tims"));
        QVERIFY(!rs.open());
        QVERIFY(!rs.append({{QStringLiteral("Tim"), QStringLiteral("x")}}));
    }
    QCOMPARE(digest(path), before);
}

void TestDatabase::pathWithSpecialCharacters() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Моите файлове #1 ?%"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/KD2.mdb");
    QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Database db(path, QStringLiteral("special"));
    QVERIFY2(db.isOpen(), qPrintable(db.errorMessage()));
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
