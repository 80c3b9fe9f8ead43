// The road of one prognosis from the "Прогнозирай" click: the computed
// score, the archive row, both club rows, the sign and the main window's
// panel, and the one failure path at each step.
#include "gui/archive/archivewindow.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/prognosis_form/prognosisrecorder.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/recentpanel.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kalvado;

namespace {

const QDateTime kMoment(QDate(2024, 3, 9), QTime(18, 45, 7));

// One row of a table as text, NULL shown as "<null>".
QStringList Row(const QString &connection, const QString &sql) {
    QSqlQuery q(QSqlDatabase::database(connection));
    if (!q.exec(sql) || !q.next()) return {};
    QStringList values;
    for (int i = 0; i < q.record().count(); ++i)
        values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
    return values;
}

int Count(const QString &connection, const QString &table) {
    return Row(connection, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).value(0).toInt();
}

} // namespace

class TestPrognosisRecording final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;
    PrognosisForm *m_form = nullptr;

    QString db() const { return m_env->ctx.connectionName; }
    QStringList club(const QString &name) const {
        QSqlQuery q(QSqlDatabase::database(db()));
        q.prepare(QStringLiteral("SELECT * FROM Tims WHERE Tim = ? ORDER BY rowid"));
        q.addBindValue(name);
        QStringList values;
        if (q.exec() && q.next())
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        return values;
    }

    // The worked example: home won every match by two, the guest drew every
    // match 1:1, chances 1,845 and 1,825, odds 2 / 3,2 / 3,5; it gives 3:1.
    void enterMatch(const QString &home, const QString &guest) {
        QTest::mousePress(m_form->txtDom, Qt::LeftButton);
        test::TypeText(m_form->txtDom, home);
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        test::TypeText(m_form->txtGost, guest);
        for (int i = 0; i < 8; ++i) {
            // Different winning scores per match show where each one is stored.
            test::TypeText(m_form->txtGDplus[i], QString::number(i + 2));
            test::TypeText(m_form->txtGDminus[i], QStringLiteral("0"));
            test::TypeText(m_form->txtGGplus[i], QStringLiteral("1"));
            test::TypeText(m_form->txtGGminus[i], QStringLiteral("1"));
        }
        test::TypeText(m_form->txtD, QStringLiteral("1"));
        test::TypeText(m_form->txtG, QStringLiteral("1"));
        test::TypeText(m_form->txt1, QStringLiteral("2,00"));
        test::TypeText(m_form->txtX, QStringLiteral("3.20"));
        test::TypeText(m_form->txt2, QStringLiteral("3,50"));
        m_form->lblShansDom->setText(QStringLiteral("1,845"));
        m_form->lblShansGost->setText(QStringLiteral("1,825"));
    }
    void press() { QTest::mouseClick(m_form->cmdPro, Qt::LeftButton); }
    RecentPanel *panel() { return m_env->windows.get<MainWindow>(WindowId::Kalv)->panel(); }
    void expectFailureMessage() {
        QCOMPARE(m_env->messages.shown().size(), 1);
        const auto &box = m_env->messages.shown().first();
        QCOMPARE(box.title, QStringLiteral("Kalvado"));
        QCOMPARE(box.text,
                 QStringLiteral("Не сте въвели правилно резултатите\r\nили не сте въвели всички срещи."));
        QCOMPARE(box.icon, MessageBoxes::Icon::Information);
        QCOMPARE(box.buttons, MessageBoxes::Buttons::Ok);
        QCOMPARE(m_form->lblProD->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lblProg->text(), QStringLiteral("0"));
    }

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        m_env->ctx.now = [] { return kMoment; };
        m_form = test::HandDrivenPrognosisForm(*m_env);
    }
    void cleanup() {
        m_form = nullptr;
        m_env.reset();
    }

    void recordsTheWholeRoad() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        const QStringList before = club(QStringLiteral("Рома"));
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(m_form->lblProD->text(), QStringLiteral("3"));
        QCOMPARE(m_form->lblProg->text(), QStringLiteral("1"));
        QCOMPARE(m_form->lblZnak->text(), QStringLiteral("1"));
        QVERIFY(m_form->lblZnak->isHidden()); // shown at minute 90
        QVERIFY(m_form->tmrProgres->isActive());
        QVERIFY(!m_form->cmdPro->isEnabled());

        QCOMPARE(Row(db(), QStringLiteral("SELECT Nom, Dom, Gost, proD, proG, resD, resG FROM KD")),
                 (QStringList{"0", "арсенал", "челси", "3", "1", "<null>", "<null>"}));
        // Matches 2 to 8 become the seven stored results, oldest first.
        QCOMPARE(club(QStringLiteral("Арсенал")),
                 (QStringList{"Арсенал", "2024-03-09 18:45:07", "3", "0", "4", "0", "5", "0", "6", "0", "7",
                              "0", "8", "0", "9", "0"}));
        QCOMPARE(club(QStringLiteral("Челси")),
                 (QStringList{"Челси", "2024-03-09 18:45:07", "1", "1", "1", "1", "1", "1", "1", "1", "1",
                              "1", "1", "1", "1", "1"}));
        QCOMPARE(club(QStringLiteral("Рома")), before);
        QCOMPARE(Count(db(), QStringLiteral("Tims")), 55);

        RecentPanel *p = panel();
        QCOMPARE(p->lblMa4[4]->text(), QStringLiteral("Арсенал - Челси"));
        QCOMPARE(p->lblOne[4]->text(), QStringLiteral("2,00"));
        QCOMPARE(p->lblRaven[4]->text(), QStringLiteral("3,20"));
        QCOMPARE(p->lblDvoika[4]->text(), QStringLiteral("3,50"));
        QCOMPARE(p->lblRD[4]->text(), QStringLiteral("3"));
        QCOMPARE(p->lblRG[4]->text(), QStringLiteral("1"));
    }

    void numbersFollowTheArchiveCount() {
        m_env->exec(
            QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG) VALUES (0, 'а', 'б', '1', '0'), "
                           "(1, 'в', 'г', '2', '2'), (7, 'д', 'е', '0', '1')"));
        enterMatch(QStringLiteral("Милан"), QStringLiteral("Интер"));
        press();
        m_env->exec(QStringLiteral("DELETE FROM KD WHERE Nom = 1"));
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        m_form->txtGost->clear();
        test::TypeText(m_form->txtGost, QStringLiteral("Лацио"));
        test::TypeText(m_form->txtD, QStringLiteral("2"));
        test::TypeText(m_form->txtG, QStringLiteral("0"));
        test::TypeText(m_form->txt1, QStringLiteral("2"));
        test::TypeText(m_form->txtX, QStringLiteral("3"));
        test::TypeText(m_form->txt2, QStringLiteral("4"));
        press();
        QSqlQuery q(QSqlDatabase::database(db()));
        QVERIFY(q.exec(QStringLiteral("SELECT Nom, Gost FROM KD ORDER BY rowid")));
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString() + u' ' + q.value(1).toString();
        QCOMPARE(rows, (QStringList{"0 б", "7 е", "3 интер", "3 лацио"}));
    }

    void namesAreLowerCasedInTheArchiveOnly() {
        enterMatch(QStringLiteral("ПСВ Айндховен"), QStringLiteral("ЦСКА 1948"));
        press();
        QCOMPARE(Row(db(), QStringLiteral("SELECT Dom, Gost FROM KD")),
                 (QStringList{"псв айндховен", "цска 1948"}));
        QCOMPARE(club(QStringLiteral("ЦСКА 1948")).value(1), QStringLiteral("2024-03-09 18:45:07"));
        QCOMPARE(panel()->lblMa4[4]->text(), QStringLiteral("ПСВ Айндховен - ЦСКА 1948"));
    }

    void oddsNotAnnouncedReachThePanelAsNA() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        m_form->chkNokoef->click();
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        for (QLabel *cell : {panel()->lblOne[4], panel()->lblRaven[4], panel()->lblDvoika[4]})
            QCOMPARE(cell->text(), QStringLiteral("N\\A"));
    }

    // The odds as the form held them and the moment go with the archive row;
    // a file that could not take the columns still gets its row.
    void oddsAndMomentGoWithTheArchiveRow_data() {
        QTest::addColumn<QString>("before"); // "nokoef", or SQL run before pressing
        QTest::addColumn<QStringList>("row");
        const QStringList row{"0", "арсенал", "челси", "3", "1", "<null>", "<null>"};
        const QString moment = QStringLiteral("2024-03-09 18:45:07");
        QTest::newRow("odds announced") << QString() << row + QStringList{"2,00", "3,20", "3,50", moment};
        QTest::newRow("odds not announced")
            << "nokoef" << row + QStringList{"<null>", "<null>", "<null>", moment};
        QTest::newRow("file without the new columns")
            << "ALTER TABLE KD DROP COLUMN Created; ALTER TABLE KD DROP COLUMN k2"
            << row + QStringList{"<null>", "<null>"};
    }
    void oddsAndMomentGoWithTheArchiveRow() {
        QFETCH(QString, before);
        QFETCH(QStringList, row);
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        if (before == QStringLiteral("nokoef"))
            m_form->chkNokoef->click();
        else
            for (const QString &sql : before.split(QStringLiteral("; "), Qt::SkipEmptyParts))
                m_env->exec(sql);
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(Row(db(), QStringLiteral("SELECT * FROM KD")), row);
    }

    void clubWithAnApostrophe() {
        m_env->exec(QStringLiteral("INSERT INTO Tims (Tim, Date) VALUES ('Сейнт Джоунс''', '2020-01-01')"));
        enterMatch(QStringLiteral("Сейнт Джоунс'"), QStringLiteral("Челси"));
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(club(QStringLiteral("Сейнт Джоунс'")).mid(1, 3),
                 (QStringList{"2024-03-09 18:45:07", "3", "0"}));
        QCOMPARE(Row(db(), QStringLiteral("SELECT Dom FROM KD")).value(0), QStringLiteral("сейнт джоунс'"));
        QCOMPARE(Count(db(), QStringLiteral("Tims")), 56);
    }

    void unknownClubGetsItsOwnRow() {
        const auto all = [this] {
            QSqlQuery q(QSqlDatabase::database(db()));
            q.exec(QStringLiteral("SELECT * FROM Tims WHERE Tim <> 'Челси' ORDER BY rowid"));
            QStringList rows;
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < 16; ++i)
                    values << q.value(i).toString();
                rows << values.join(u'|');
            }
            return rows;
        };
        const QStringList before = all();
        enterMatch(QStringLiteral("Зенит"), QStringLiteral("Челси"));
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(Count(db(), QStringLiteral("Tims")), 56);
        QCOMPARE(all().mid(0, before.size()), before); // no other club touched
        QCOMPARE(club(QStringLiteral("Зенит")),
                 (QStringList{"Зенит", "2024-03-09 18:45:07", "3", "0", "4", "0", "5", "0", "6", "0", "7",
                              "0", "8", "0", "9", "0"}));
        // The new club is listed next time.
        QTest::mousePress(m_form->txtDom, Qt::LeftButton);
        test::TypeText(m_form->txtDom, QStringLiteral("Зен"));
        QCOMPARE(m_form->lstDom->count(), 1);
    }

    void secondPrognosisSlidesTheStoredResults() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        press();
        m_env->ctx.now = [] { return kMoment.addDays(7); };
        // Next week: the newest six results come back, two new ones follow.
        for (int i = 0; i < 7; ++i)
            m_form->txtGDplus[i]->setText(m_form->txtGDplus[i + 1]->text());
        m_form->txtGDplus[7]->setText(QStringLiteral("0"));
        m_form->txtGDminus[7]->setText(QStringLiteral("5"));
        press();
        QCOMPARE(club(QStringLiteral("Арсенал")),
                 (QStringList{"Арсенал", "2024-03-16 18:45:07", "4", "0", "5", "0", "6", "0", "7", "0", "8",
                              "0", "9", "0", "0", "5"}));
    }

    void buttonReenabledByEditsOnly() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        press();
        test::TypeText(m_form->txtGGminus[3], QStringLiteral("2"));
        QVERIFY(!m_form->cmdPro->isEnabled());
        test::TypeText(m_form->txtGGplus[3], QStringLiteral("2"));
        QVERIFY(m_form->cmdPro->isEnabled());
    }

    // Once an edit re-enables the button, a new prognosis takes over the
    // running clock instead of restarting it.
    void pressingAgainWhileTheClockRuns() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        press();
        for (int minute = 0; minute < 30; ++minute)
            m_form->tmrProgresTick();
        for (int i = 0; i < 8; ++i) // the guest now wins every match 4:0
            test::TypeText(m_form->txtGGplus[i], QStringLiteral("4"));
        QVERIFY(m_form->cmdPro->isEnabled());
        for (int i = 0; i < 8; ++i)
            m_form->txtGGminus[i]->setText(QStringLiteral("0"));
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(Count(db(), QStringLiteral("KD")), 2);
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("30"));
        QVERIFY(m_form->tmrProgres->isActive());
        const QString home = m_form->lblProD->text();
        const QString guest = m_form->lblProg->text();
        QVERIFY(guest.toInt() > 1);
        for (int tick = 0; tick < 100 && m_form->tmrProgres->isActive(); ++tick)
            m_form->tmrProgresTick();
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("90"));
        QCOMPARE(m_form->lblTempG->text(), guest);
        QCOMPARE(m_form->lblTempD->text(), home);
    }

    void pressingAgainAfterAFailure() {
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        m_form->txtD->clear();
        press();
        press();
        QCOMPARE(m_env->messages.shown().size(), 2);
        QCOMPARE(Count(db(), QStringLiteral("KD")), 0);
        test::TypeText(m_form->txtD, QStringLiteral("1"));
        press();
        QCOMPARE(m_env->messages.shown().size(), 2);
        QCOMPARE(Row(db(), QStringLiteral("SELECT Nom, proD, proG FROM KD")), (QStringList{"0", "3", "1"}));
        QCOMPARE(m_form->lblZnak->text(), QStringLiteral("1"));
    }

    void failureBeforeAnyWrite_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty head-to-head") << "txtD"
                                            << "";
        QTest::newRow("empty result box") << "txtGGminus_7"
                                          << "";
        QTest::newRow("empty odds") << "txt2"
                                    << "";
        QTest::newRow("odds left as 2,,00") << "txtX"
                                            << "2,,00";
        QTest::newRow("goal count overflows") << "txtGDminus_3"
                                              << "32767";
        QTest::newRow("place overflows") << "txtClD"
                                         << "32758";
        QTest::newRow("place not a number") << "txtClG"
                                            << "десети";
        QTest::newRow("no home club") << "txtDom"
                                      << "";
        QTest::newRow("blank guest club") << "txtGost"
                                          << "  ";
        QTest::newRow("home of a byte-order mark") << "txtDom" << QStringLiteral("\uFEFF");
        QTest::newRow("guest of invisible characters") << "txtGost" << QStringLiteral("\u200B \u2060\u00A0");
    }
    void failureBeforeAnyWrite() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        m_form->lblZnak->setText(QStringLiteral("X"));
        const QStringList arsenal = club(QStringLiteral("Арсенал"));
        m_form->findChild<QLineEdit *>(box)->setText(text);
        press();
        expectFailureMessage();
        QCOMPARE(Count(db(), QStringLiteral("KD")), 0);
        QCOMPARE(club(QStringLiteral("Арсенал")), arsenal);
        QCOMPARE(Count(db(), QStringLiteral("Tims")), 55);
        QVERIFY(!m_form->tmrProgres->isActive());
        QVERIFY(m_form->cmdPro->isEnabled());
        QCOMPARE(m_form->lblZnak->text(), QStringLiteral("X"));
        QVERIFY(panel()->lblMa4[4]->text().isEmpty());
    }

    // A write that the database refuses stores nothing at all and leaves the
    // form as it was; once the cause is gone the same prognosis records.
    void failureAtADatabaseStep_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("archive row refused")
            << "CREATE TRIGGER refuse BEFORE INSERT ON KD BEGIN SELECT RAISE(ABORT, 'full'); END"
            << "не може да бъде записана";
        QTest::newRow("club rows refused")
            << "CREATE TRIGGER refuse BEFORE UPDATE ON Tims BEGIN SELECT RAISE(ABORT, 'full'); END"
            << "не може да бъде записана";
        QTest::newRow("guest row refused")
            << "CREATE TRIGGER refuse BEFORE UPDATE ON Tims WHEN OLD.Tim = 'Челси' "
               "BEGIN SELECT RAISE(ABORT, 'full'); END"
            << "не може да бъде записана";
        QTest::newRow("new club refused")
            << "CREATE TRIGGER refuse BEFORE INSERT ON Tims BEGIN SELECT RAISE(ABORT, 'full'); END"
            << "не може да бъде записана";
        QTest::newRow("locked by another program") << "locked"
                                                   << "зает от друга програма";
        QTest::newRow("read-only") << "read-only"
                                   << "само за четене";
    }
    void failureAtADatabaseStep() {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        if (cause == QLatin1String("read-only")) { // before the form opens its cursors
            m_form = nullptr;
            m_env = std::make_unique<test::TestEnv>();
            m_env->ctx.now = [] { return kMoment; };
            m_env->refuseWrites(cause);
            m_form = test::HandDrivenPrognosisForm(*m_env);
        }
        enterMatch(QStringLiteral("Арсенал"),
                   cause.startsWith(QLatin1String("CREATE TRIGGER refuse BEFORE INSERT ON Tims"))
                       ? QStringLiteral("Зенит")
                       : QStringLiteral("Челси"));
        m_form->lblZnak->setText(QStringLiteral("X"));
        m_form->lblProD->setText(QStringLiteral("5"));
        const QStringList arsenal = club(QStringLiteral("Арсенал"));
        const QStringList chelsea = club(QStringLiteral("Челси"));
        if (cause != QLatin1String("read-only")) m_env->refuseWrites(cause);
        press();
        QCOMPARE(m_env->messages.shown().size(), 1);
        const auto &box = m_env->messages.shown().first();
        QCOMPARE(box.title, QStringLiteral("Kalvado"));
        QVERIFY2(box.text.contains(reason) && box.text.contains(m_env->dbPath()), qPrintable(box.text));
        QVERIFY(!box.details.isEmpty());
        if (cause == QLatin1String("locked")) m_env->allowWrites();
        // Nothing stored, nothing on the form changed.
        QCOMPARE(Count(db(), QStringLiteral("KD")), 0);
        QCOMPARE(club(QStringLiteral("Арсенал")), arsenal);
        QCOMPARE(club(QStringLiteral("Челси")), chelsea);
        QCOMPARE(Count(db(), QStringLiteral("Tims")), 55);
        QVERIFY(!m_form->tmrProgres->isActive());
        QVERIFY(m_form->cmdPro->isEnabled());
        QCOMPARE(m_form->lblProD->text(), QStringLiteral("5"));
        QCOMPARE(m_form->lblZnak->text(), QStringLiteral("X"));
        QVERIFY(panel()->lblMa4[4]->text().isEmpty());
        if (cause == QLatin1String("read-only")) return;
        // The cause gone, the same prognosis records without a restart.
        m_env->allowWrites();
        press();
        QCOMPARE(m_env->messages.shown().size(), 1);
        QCOMPARE(Row(db(), QStringLiteral("SELECT Nom, Dom, proD, proG FROM KD")),
                 (QStringList{"0", "арсенал", "3", "1"}));
        QCOMPARE(club(QStringLiteral("Арсенал")).value(1), QStringLiteral("2024-03-09 18:45:07"));
        QCOMPARE(m_form->lblZnak->text(), QStringLiteral("1"));
        QVERIFY(m_form->tmrProgres->isActive());
    }

    // A cursor that could not open once (the file was locked when the
    // archive window loaded) opens at the next prognosis, over an empty table.
    void cursorThatFailedOnceOpensLater() {
        m_env->refuseWrites(QStringLiteral("locked"));
        auto *archive = m_env->windows.get<ArchiveWindow>(WindowId::Data);
        QVERIFY(!archive->archiveCursor()->isOpen());
        m_env->allowWrites();
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        press();
        QVERIFY(m_env->messages.shown().isEmpty());
        QCOMPARE(Count(db(), QStringLiteral("KD")), 1);
    }

    void noDatabaseFailsAtTheDatabaseStep() {
        m_form = nullptr;
        m_env = std::make_unique<test::TestEnv>();
        m_env->ctx.connectionName = QStringLiteral("no such database");
        m_form = m_env->windows.get<PrognosisForm>(WindowId::Pro);
        m_form->tmrEnab->stop();
        enterMatch(QStringLiteral("Арсенал"), QStringLiteral("Челси"));
        press();
        QVERIFY(!m_env->messages.shown().isEmpty());
        QVERIFY(m_env->messages.shown().last().text.startsWith(
            QStringLiteral("Базата данни не може да бъде записана")));
        QVERIFY(!m_form->tmrProgres->isActive());
    }
};

QTEST_MAIN(TestPrognosisRecording)
#include "tst_prognosisrecording.moc"
