#include "gui/history/filldialog.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/shell/optionswindow.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace kalvado;
using namespace kalvado::test;

class TestFillDialog final : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;

    PrognosisForm *form() { return m_env->windows.get<PrognosisForm>(WindowId::Pro); }

    void match(const QString &date, const QString &home, const QString &away, const QString &goals,
               const QString &odds = QStringLiteral("2.10/3.30/3.60")) {
        const QStringList g = goals.isEmpty() ? QStringList{"NULL", "NULL"} : goals.split(u':');
        const QStringList o = odds.split(u'/');
        m_env->exec(
            QStringLiteral("INSERT INTO Matches (League, Season, Date, Home, Away, HomeGoals, AwayGoals, "
                           "OddsH, OddsD, OddsA, OddsFrom) VALUES ('E0', '2024/25', '%1', '%2', '%3', "
                           "%4, %5, '%6', '%7', '%8', 'Avg')")
                .arg(date, home, away, g.at(0), g.at(1), o.value(0), o.value(1), o.value(2)));
    }

    // Types the clubs and presses "От историята"; the dialog, if one opened.
    HistoryFillDialog *open(const QString &home, const QString &guest) {
        form()->txtDom->setText(home);
        form()->txtGost->setText(guest);
        QTest::mouseClick(form()->cmdOtIstoria, Qt::LeftButton);
        return form()->findChild<HistoryFillDialog *>();
    }

    QString results(bool guest) {
        QStringList out;
        for (int i = 0; i < 8; ++i)
            out << (guest ? form()->txtGGplus : form()->txtGDplus)[size_t(i)]->text() + u':' +
                       (guest ? form()->txtGGminus : form()->txtGDminus)[size_t(i)]->text();
        return out.join(u' ');
    }

private slots:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_env->ctx.now = [] { return QDateTime(QDate(2024, 12, 1), QTime(12, 0)); };
        // Arsenal is linked to "Арсенал" in every new file; Wolves is not.
        match("2024-08-17", "Arsenal", "Wolves", "2:0");
        match("2024-08-24", "Wolves", "Chelsea", "1:1");
        match("2024-08-31", "Chelsea", "Arsenal", "3:1");
        match("2024-12-14", "Arsenal", "Wolves", {}, "1.55/4.2/6");
    }
    void cleanup() { m_env.reset(); }

    void fillsTheFormAsTyped();
    void clubNotFound_data();
    void clubNotFound();
    void optionsDecideWhatIsWritten();
};

void TestFillDialog::fillsTheFormAsTyped() {
    form()->cmdPro->setEnabled(false);
    HistoryFillDialog *dialog = open(QStringLiteral("арсенал"), QStringLiteral("Wolves"));
    QVERIFY(dialog);
    // Their next match from today sets the league and the date.
    QCOMPARE(dialog->dateD->date(), QDate(2024, 12, 14));
    QCOMPARE(dialog->lblLiga->text(), QStringLiteral("Англия – Висша лига (E0)"));
    QTest::mouseClick(dialog->cmdPopalni, Qt::LeftButton);
    QCOMPARE(results(false), QStringLiteral(": : : : : : 2:0 1:3"));
    QCOMPARE(results(true), QStringLiteral(": : : : : : 0:2 1:1"));
    QCOMPARE(form()->txtD->text() + u':' + form()->txtG->text(), QStringLiteral("1:0"));
    QCOMPARE(form()->txtClD->text() + u':' + form()->txtClG->text(), QStringLiteral("2:3"));
    QCOMPARE(form()->txt1->text() + u' ' + form()->txtX->text() + u' ' + form()->txt2->text(),
             QStringLiteral("1,55 4,20 6,00"));
    // Written as typed: the result boxes' change enabled the button; the
    // names stay as the user typed them.
    QVERIFY(form()->cmdPro->isEnabled());
    QCOMPARE(form()->txtDom->text(), QStringLiteral("арсенал"));
    QVERIFY(dialog->lblRezultat->text().startsWith(
        QStringLiteral("Англия – Висша лига 2024/25, мачове до 14.12.2024: резултати 2 и 2; срещи 1:0 за 10 "
                       "години; места 2 и 3; коефициенти 1,55 4,20 6,00\nНе е попълнено: Arsenal: 2 мача")));
}

void TestFillDialog::clubNotFound_data() {
    QTest::addColumn<QString>("guest");
    QTest::addColumn<bool>("emptyHistory");
    QTest::addColumn<QString>("message");
    const QString link = QStringLiteral("Свържете го с клуб от историята в „История на мачовете“.");
    QTest::newRow("no such club") << "Вълците" << false
                                  << "В историята на мачовете няма клуб „Вълците“. " + link;
    // Linked from the start, but the history holds no match of it.
    QTest::newRow("a link without matches")
        << "Ювентус" << false << "В историята на мачовете няма клуб „Ювентус“. " + link;
    QTest::newRow("nothing imported yet") << "Wolves" << true
                                          << "Историята на мачовете е празна. Внесете или изтеглете мачовете "
                                             "на лигата в „История на мачовете“.";
}

void TestFillDialog::clubNotFound() {
    QFETCH(QString, guest);
    QFETCH(bool, emptyHistory);
    QFETCH(QString, message);
    if (emptyHistory) {
        m_env->clearTable(QStringLiteral("Matches"));
        m_env->clearTable(QStringLiteral("Leagues"));
    }
    QVERIFY(!open(QStringLiteral("Арсенал"), guest));
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(m_env->messages.shown().at(0).text, message);
    QCOMPARE(results(false), QStringLiteral(": : : : : : : :"));
}

void TestFillDialog::optionsDecideWhatIsWritten() {
    m_env->windows.get<OptionsWindow>(WindowId::Opt)->chk6->setChecked(true);
    form()->tmrEnabTick();
    form()->chkNokoef->click();
    form()->chkIzkCl->click();
    HistoryFillDialog *dialog = open(QStringLiteral("Arsenal"), QStringLiteral("Wolves"));
    QVERIFY(dialog);
    dialog->dateD->setDate(QDate(2024, 9, 1));
    dialog->Fill();
    // Matches 1 and 2 stay with the six-match option; the odds stay "2"
    // while not announced; the places stay "10" while excluded.
    QCOMPARE(results(false), QStringLiteral("1:1 1:1 : : : : 2:0 1:3"));
    QCOMPARE(form()->txt1->text(), QStringLiteral("2"));
    QCOMPARE(form()->txtClD->text(), QStringLiteral("10"));
}

QTEST_MAIN(TestFillDialog)
#include "tst_filldialog.moc"
