#include "storage/settingsstore.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvado;

class TestSettingsStore final : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void missingKeyGivesTheDefault();
    void handEditedValuesReadVerbatim();
    void failedSavesAreReported_data();
    void failedSavesAreReported();
};

void TestSettingsStore::roundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("cyrillic") << "Ех да знаех резултата...";
    QTest::newRow("no odds") << "N\\A";
    QTest::newRow("comma") << "1,85";
    QTest::newRow("match") << "Арсенал - Челси, \"реванш\"";
    QTest::newRow("empty") << "";
    QTest::newRow("true") << "True";
    QTest::newRow("semicolon and equals") << "a=b; c#d";
}

void TestSettingsStore::roundTrip() {
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("k.ini"));
    {
        SettingsStore store(file);
        store.WriteSetting(QStringLiteral("Last"), QStringLiteral("M4"), value);
        QVERIFY(store.sync());
    }
    SettingsStore again(file);
    QCOMPARE(again.ReadSetting(QStringLiteral("Last"), QStringLiteral("M4"), QStringLiteral("x")), value);
}

void TestSettingsStore::missingKeyGivesTheDefault() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("k.ini")));
    QCOMPARE(store.ReadSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("0")),
             QStringLiteral("0"));
    QCOMPARE(store.ReadSetting(QStringLiteral("pic"), QStringLiteral("L")), QString());
    // Keys are case-sensitive and sections are separate.
    store.WriteSetting(QStringLiteral("fin"), QStringLiteral("S"), QStringLiteral("5"));
    QCOMPARE(store.ReadSetting(QStringLiteral("fin"), QStringLiteral("s"), QStringLiteral("0")),
             QStringLiteral("0"));
    QCOMPARE(store.ReadSetting(QStringLiteral("opt"), QStringLiteral("S"), QStringLiteral("0")),
             QStringLiteral("0"));
}

void TestSettingsStore::handEditedValuesReadVerbatim() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("k.ini"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[pic]\nP1=maybe\nL=a, b, c\n[fin]\n1v=12,,5\nt=@Rect(1 2 3 4)\n[Last]\nK14=1,85\n"
            "M0=\xd0\x9b\xd0\xb5\xd0\xb2\xd1\x81\xd0\xba\xd0\xb8\n");
    f.close();
    SettingsStore store(file);
    QCOMPARE(store.ReadSetting(QStringLiteral("pic"), QStringLiteral("P1")), QStringLiteral("maybe"));
    QCOMPARE(store.ReadSetting(QStringLiteral("pic"), QStringLiteral("L")), QStringLiteral("a, b, c"));
    QCOMPARE(store.ReadSetting(QStringLiteral("Last"), QStringLiteral("M0")), QStringLiteral("Левски"));
    QCOMPARE(store.ReadSetting(QStringLiteral("fin"), QStringLiteral("1v"), QStringLiteral("0")),
             QStringLiteral("12,,5"));
    QCOMPARE(store.ReadSetting(QStringLiteral("Last"), QStringLiteral("K14")), QStringLiteral("1,85"));
    QCOMPARE(store.ReadSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("0")),
             QStringLiteral("@Rect(1 2 3 4)"));
}

namespace {

enum class Cause { FolderIsAFile, ReadOnlyFile, ReadOnlyFolder };

// Makes the settings file unwritable (on) or writable again (off).
bool Block(Cause cause, const QString &folder, bool on) {
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    switch (cause) {
    case Cause::FolderIsAFile:
        if (on) {
            QFile f(folder);
            return QDir(folder).removeRecursively() && f.open(QIODevice::WriteOnly);
        }
        return QFile::remove(folder) && QDir().mkpath(folder);
    case Cause::ReadOnlyFile:
        return QFile::setPermissions(folder + QStringLiteral("/k.ini"),
                                     on ? QFileDevice::ReadOwner
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    case Cause::ReadOnlyFolder:
        return QFile::setPermissions(folder, on ? all & ~QFileDevice::WriteOwner : all);
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Cause)

void TestSettingsStore::failedSavesAreReported_data() {
    QTest::addColumn<Cause>("cause");
    QTest::newRow("folder is a file") << Cause::FolderIsAFile;
    QTest::newRow("read-only file") << Cause::ReadOnlyFile;
    QTest::newRow("read-only folder") << Cause::ReadOnlyFolder;
}

// A failed save says so, keeps what it could not write, and the next save
// once the cause is gone writes it and says so too.
void TestSettingsStore::failedSavesAreReported() {
    QFETCH(Cause, cause);
    if (cause != Cause::FolderIsAFile && test::RanAsNobody()) return;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("conf"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/k.ini");
    SettingsStore store(file);
    store.WriteSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("1"));
    QVERIFY(store.sync());

    QVERIFY(Block(cause, folder, true));
    store.WriteSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("5"));
    store.WriteSetting(QStringLiteral("opt"), QStringLiteral("o3"), QStringLiteral("1"));
    QVERIFY(!store.sync());
    QVERIFY(!store.sync()); // and again, while the cause lasts
    QCOMPARE(store.ReadSetting(QStringLiteral("fin"), QStringLiteral("t")), QStringLiteral("5"));

    QVERIFY(Block(cause, folder, false));
    QVERIFY(store.sync());
    SettingsStore again(file);
    QCOMPARE(again.ReadSetting(QStringLiteral("fin"), QStringLiteral("t")), QStringLiteral("5"));
    QCOMPARE(again.ReadSetting(QStringLiteral("opt"), QStringLiteral("o3")), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
