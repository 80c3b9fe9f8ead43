#include "storage/settingsstore.h"

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

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
