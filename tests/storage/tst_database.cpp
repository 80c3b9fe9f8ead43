#include "storage/database.h"
#include "storage/recordset.h"
#include "support/testenv.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

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
    void openFailureSaysWhatIsWrong_data();
    void openFailureSaysWhatIsWrong();
    void unwritableFileIsBrowsedReadOnly_data();
    void unwritableFileIsBrowsedReadOnly();
    void writeFailureSaysWhy_data();
    void writeFailureSaysWhy();
    void fullDiskSaysSo();
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
    QVERIFY(!db.isReadOnly());
    // Every commit also syncs the folder, so the newest one survives a power cut.
    QSqlQuery q(QSqlDatabase::database(db.connectionName()));
    QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
    QCOMPARE(q.value(0).toInt(), 3);
}

void TestDatabase::missingFileIsNeverCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    Database db(path, QStringLiteral("missing"));
    QVERIFY(!db.isOpen());
    QVERIFY(db.errorMessage().contains(path));
    // A write attempted later names the file and says it is not open.
    QCOMPARE(Database::writeFailureText(db.connectionName(), QSqlError()),
             QStringLiteral("Базата данни не може да бъде записана:\n%1\n\nБазата данни не е отворена.\n"
                            "Промяната не е записана.")
                 .arg(path));
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

void TestDatabase::openFailureSaysWhatIsWrong_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "Файлът не съществува.";
    QTest::newRow("a folder") << "folder"
                              << "Файлът не може да бъде прочетен.";
    QTest::newRow("text file") << "text"
                               << "Файлът не е база данни на програмата.";
    QTest::newRow("damaged") << "damaged"
                             << "Файлът е повреден.";
    QTest::newRow("locked by another program") << "locked"
                                               << "Файлът е заключен от друга програма.";
    QTest::newRow("other tables") << "other"
                                  << "Файлът не е база данни на програмата: таблицата Tims липсва";
}

void TestDatabase::openFailureSaysWhatIsWrong() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    QSqlDatabase other;
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("text")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Standard Jet DB: not sqlite at all, but long enough to be taken for a header.");
    } else if (kind != QLatin1String("missing")) {
        QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), path));
        QFile f(path);
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        if (kind == QLatin1String("damaged")) {
            // The page that lists the tables, its header overwritten.
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(100);
            f.write(QByteArray(12, '\x7f'));
        } else {
            other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(kind == QLatin1String("locked")
                                              ? QStringLiteral("BEGIN EXCLUSIVE")
                                              : QStringLiteral("DROP TABLE Tims")));
        }
    }
    {
        Database db(path, QStringLiteral("failing"));
        QVERIFY(!db.isOpen());
        const QString text = db.errorMessage();
        QVERIFY2(text.startsWith(QStringLiteral("Базата данни не може да бъде отворена:\n%1\n\n").arg(path)),
                 qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("Програмата ще работи без данни.")), qPrintable(text));
        // Bulgarian throughout: the driver's own words only in the details.
        QString rest = text.mid(text.indexOf(QStringLiteral("\n\n")));
        rest.remove(QStringLiteral("Tims")).remove(QStringLiteral("Kalvado"));
        QVERIFY2(!rest.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(text));
        if (kind == QLatin1String("text") || kind == QLatin1String("damaged") ||
            kind == QLatin1String("locked"))
            QVERIFY2(!db.errorDetails().isEmpty(), qPrintable(kind));
    }
    if (other.isValid()) {
        QSqlQuery(other).exec(QStringLiteral("COMMIT"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
}

namespace {

// As a user who may read the file but not write it: root ignores
// permissions, so a child process drops to nobody first.
QString runWithoutRoot(const QString &path, int *exitCode) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KALVADO_CHILD_READ_ONLY"), path);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    QTemporaryDir folder;
    if (geteuid() != 0)
        child.start(QCoreApplication::applicationFilePath(), {});
    else if (!test::StartAsNobody(child, folder, {})) {
        *exitCode = -1;
        return {};
    }
    if (!child.waitForStarted() || !child.waitForFinished(60000)) {
        *exitCode = -1;
        return QString::fromUtf8(child.readAll());
    }
    *exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    return QString::fromUtf8(child.readAll());
}

} // namespace

void TestDatabase::unwritableFileIsBrowsedReadOnly_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("file read-only") << "file";
    QTest::newRow("folder read-only") << "folder";
}

void TestDatabase::unwritableFileIsBrowsedReadOnly() {
    QFETCH(QString, mode);
    if (geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("running as root without setpriv: permissions cannot bind");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("данни"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/KD2.mdb");
    QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), path));
    const auto all = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                     QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), all));
    QVERIFY(QFile::setPermissions(folder, mode == QLatin1String("folder")
                                              ? all
                                              : all | QFileDevice::WriteOther | QFileDevice::WriteOwner));
    const auto read = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(path, mode == QLatin1String("folder")
                                            ? read | QFileDevice::WriteOwner | QFileDevice::WriteOther
                                            : read));
    const QByteArray before = digest(path);
    int code = 0;
    const QString output = runWithoutRoot(path, &code);
    QVERIFY2(code == 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("Базата данни е само за четене:\n%1").arg(path)),
             qPrintable(output));
    QCOMPARE(digest(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QFile::setPermissions(dir.path(), all | QFileDevice::WriteOwner);
    QFile::setPermissions(folder, all | QFileDevice::WriteOwner);
}

// The child half: open, read everything a window reads, try every kind of write.
static int childReadOnly(const QString &path) {
    Database db(path, QStringLiteral("child"));
    if (!db.isOpen()) {
        std::printf("not open: %s\n", qPrintable(db.errorMessage()));
        return 2;
    }
    if (!db.isReadOnly() || !Database::isReadOnly(db.connectionName())) return 3;
    RecordSet clubs(db.connectionName(), QStringLiteral("Tims"));
    RecordSet archive(db.connectionName(), QStringLiteral("KD"));
    if (!clubs.open() || !archive.open() || clubs.count() != 55 || archive.count() != 0) return 4;
    if (clubs.scanColumn(QStringLiteral("Tim")).size() != 55 ||
        !clubs.findFirst(QStringLiteral("Tim"), QStringLiteral("Левски")))
        return 5;
    if (clubs.editCurrent({{QStringLiteral("v1"), QStringLiteral("3")}}) || clubs.deleteCurrent() ||
        archive.append({{QStringLiteral("Nom"), 0}, {QStringLiteral("Dom"), QStringLiteral("а")}}))
        return 6;
    std::printf("%s\n",
                Database::writeFailureText(db.connectionName(), archive.lastError()).toUtf8().constData());
    return 0;
}

void TestDatabase::writeFailureSaysWhy_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("text");
    QTest::newRow("read-only") << "read-only"
                               << "Базата данни е само за четене:\n%1\n\nПромяната не е записана.";
    QTest::newRow("locked")
        << "locked"
        << "Базата данни не може да бъде записана:\n%1\n\nФайлът е зает от друга програма. "
           "Опитайте отново, когато тя го освободи.\nПромяната не е записана.";
    QTest::newRow("refused")
        << "CREATE TRIGGER refuse BEFORE INSERT ON KD BEGIN SELECT RAISE(ABORT, 'x'); END"
        << "Базата данни не може да бъде записана:\n%1\n\nПромяната не е записана.";
}

void TestDatabase::writeFailureSaysWhy() {
    QFETCH(QString, cause);
    QFETCH(QString, text);
    test::TestEnv env;
    env.refuseWrites(cause);
    RecordSet archive(env.ctx.connectionName, QStringLiteral("KD"));
    QVERIFY(archive.open() || cause == QLatin1String("locked"));
    archive.open();
    QVERIFY(!archive.append({{QStringLiteral("Nom"), 0}, {QStringLiteral("Dom"), QStringLiteral("а")}}));
    QCOMPARE(Database::writeFailureText(env.ctx.connectionName, archive.lastError()), text.arg(env.dbPath()));
    if (cause == QLatin1String("read-only")) return;
    env.allowWrites();
    QVERIFY(archive.open());
    QVERIFY(archive.append({{QStringLiteral("Nom"), 0}, {QStringLiteral("Dom"), QStringLiteral("а")}}));
}

// The child half of fullDiskSaysSo, in a mount namespace of its own: a tiny
// file system, filled up, under a copy of the starter file.
static int childFullDisk(const QString &folder) {
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=128k"), QStringLiteral("tmpfs"), folder}) != 0)
        return 77;
    const QString path = folder + QStringLiteral("/KD2.mdb");
    if (!QFile::copy(QStringLiteral(KALVADO_STARTER_DB), path)) return 2;
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    {
        QFile fill(folder + QStringLiteral("/fill"));
        const QByteArray block(1024, 'x');
        if (fill.open(QIODevice::WriteOnly))
            while (fill.write(block) == block.size() && fill.flush()) {
            }
    }
    Database db(path, QStringLiteral("full"));
    RecordSet archive(db.connectionName(), QStringLiteral("KD"));
    if (!db.isOpen() || !archive.open()) return 3;
    if (archive.append({{QStringLiteral("Nom"), 0}, {QStringLiteral("Dom"), QString(2000, u'ж')}})) return 4;
    QSqlQuery q(QSqlDatabase::database(db.connectionName()));
    if (archive.count() != 0 || !q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next() ||
        q.value(0).toString() != QLatin1String("ok"))
        return 5;
    std::printf("%s\n",
                Database::writeFailureText(db.connectionName(), archive.lastError()).toUtf8().constData());
    return 0;
}

void TestDatabase::fullDiskSaysSo() {
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty())
        QSKIP("a private file system needs root and unshare");
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KALVADO_CHILD_FULL_DISK"), dir.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"),
                {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private"),
                 QCoreApplication::applicationFilePath()});
    QVERIFY(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    if (child.exitCode() == 77 || output.contains(QLatin1String("unshare failed")))
        QSKIP("no permission to mount a file system here");
    QVERIFY2(child.exitCode() == 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("Базата данни не може да бъде записана:\n%1/KD2.mdb\n\n"
                                            "Няма свободно място на диска.")
                                 .arg(dir.path())),
             qPrintable(output));
}

int main(int argc, char **argv) {
    const QByteArray fullDisk = qgetenv("KALVADO_CHILD_FULL_DISK");
    if (!fullDisk.isEmpty()) {
        QCoreApplication app(argc, argv);
        return childFullDisk(QString::fromLocal8Bit(fullDisk));
    }
    const QByteArray childPath = qgetenv("KALVADO_CHILD_READ_ONLY");
    if (!childPath.isEmpty()) {
        QCoreApplication app(argc, argv);
        return childReadOnly(QString::fromLocal8Bit(childPath));
    }
    QApplication app(argc, argv);
    TestDatabase t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_database.moc"
