#include "gui/finance/financewindow.h"
#include "support/testenv.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kalvado;
using kalvado::test::TestEnv;
using kalvado::test::TypeText;

namespace {

// Store order of the totals, with the box that feeds each.
const QStringList kKeys{"t", "e", "1v", "3v", "5v", "8v", "10v", "Sv", "1", "3", "5", "8", "10", "S"};
const QStringList kTotals{"lblT",  "lblE", "lbl1v", "lbl3v", "lbl5v", "lbl8v", "lbl10v",
                          "lblSv", "lbl1", "lbl3",  "lbl5",  "lbl8",  "lbl10", "lblS"};
const QStringList kBoxes{"txtTalon", "txtVest", "txtV1", "txtV3", "txtV5", "txtV8",  "txtV10",
                         "txtVS",    "txtP1",   "txtP3", "txtP5", "txtP8", "txtP10", "txtPS"};

} // namespace

class TestFinanceWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstUseAndTheNewspaper();
    void status_data();
    void status();
    void equalAmountsKeepTheTitle();
    void keyFilter_data();
    void keyFilter();
    void enterAddsEveryBox();
    void enterIsAllOrNothing_data();
    void enterIsAllOrNothing();
    void clear_data();
    void clear();
    void unreadableTotalsAreShownAndCountAsZero();
    void totalsSurviveClosing();
    void totalsSurviveTheProgramEnd();
    void longTotalsFit();

private:
    FinanceWindow *window() { return m_env->windows.get<FinanceWindow>(WindowId::Finans); }
    QLabel *total(const QString &name) { return window()->findChild<QLabel *>(name); }
    QLineEdit *box(const QString &name) { return window()->findChild<QLineEdit *>(name); }
    void tick(int times) {
        for (int i = 0; i < times; ++i)
            window()->Timer1Tick();
    }
    QStringList totals() {
        QStringList texts;
        for (const QString &name : kTotals)
            texts << total(name)->text();
        return texts;
    }

    std::unique_ptr<TestEnv> m_env;
};

void TestFinanceWindow::init() {
    m_env = std::make_unique<TestEnv>();
}

void TestFinanceWindow::cleanup() {
    m_env.reset();
}

void TestFinanceWindow::firstUseAndTheNewspaper() {
    FinanceWindow *w = window();
    QCOMPARE(w->objectName(), QStringLiteral("frmFinans"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Финансов анализатор"));
    QCOMPARE(totals(), QStringList(QList<QString>(14, QStringLiteral("0"))));
    for (const QString &name : kBoxes)
        QVERIFY(box(name)->text().isEmpty());
    QCOMPARE(w->lblOv->text(), QStringLiteral("0"));
    QCOMPARE(w->lblO->text(), QStringLiteral("0"));
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Неизвестен"));
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 50);
    tick(2);
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Неизвестен"));
    // The fourth row's caption ends its "мачa" with a Latin a.
    QStringList captions;
    for (const QLabel *l : w->findChildren<QLabel *>())
        captions << l->text();
    QVERIFY(
        captions.contains(QStringLiteral("Залог на 3-4 мач") + QChar(u'a') + QStringLiteral(" в колонка:")));

    // 10 for the newspaper: the grand total a tick later, the title one more tick later.
    TypeText(w->txtVest, QStringLiteral("10"));
    w->cmdOK->click();
    QCOMPARE(w->lblE->text(), QStringLiteral("10"));
    QCOMPARE(w->lblOv->text(), QStringLiteral("0"));
    tick(1);
    QCOMPARE(w->lblOv->text(), QStringLiteral("10"));
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Неизвестен"));
    tick(1);
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Аматьор"));
}

void TestFinanceWindow::status_data() {
    QTest::addColumn<QString>("won");
    QTest::addColumn<QString>("invested");
    QTest::addColumn<QString>("title");
    const auto row = [](const char *name, const char *won, const char *invested, const char *title) {
        QTest::newRow(name) << QString(won) << QString(invested) << QString::fromUtf8(title);
    };
    row("blood donor", "100", "1000", "Кръводарител");
    row("strongly pushed", "400", "1000", "Силно набутан");
    row("pushed", "600", "1000", "Набутан");
    row("slightly pushed", "700", "1000", "Леко набутан");
    row("amateur", "820", "1000", "Аматьор");
    row("hopeful player", "900", "1000", "Надежден играч");
    row("threat", "1000", "100", "Заплаха за букмейкърите");
    row("bashmaistor", "250", "100", "Башмайстор");
    row("master", "180", "100", "Майстор");
    row("candidate master", "130", "100", "Кандидат Майстор");
    row("good player", "121", "100", "Добър Играч");
    row("very hopeful", "110", "100", "Много надежден");
    row("small loss fails the sums", "0", "10", "Аматьор");
    row("fractions compare exactly", "100", "100,0001", "Надежден играч");
    row("both zero", "0", "0", "Неизвестен");
}

void TestFinanceWindow::status() {
    QFETCH(QString, won);
    QFETCH(QString, invested);
    QFETCH(QString, title);
    FinanceWindow *w = window();
    w->lblS->setText(won);
    w->lbl10v->setText(invested);
    tick(1);
    QCOMPARE(w->lblO->text(), won);
    QCOMPARE(w->lblOv->text(), invested);
    // The title follows the grand totals one tick later.
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Неизвестен"));
    tick(1);
    QCOMPARE(w->lblStatus->text(), title);
}

void TestFinanceWindow::equalAmountsKeepTheTitle() {
    FinanceWindow *w = window();
    w->lbl1->setText(QStringLiteral("121"));
    w->lbl1v->setText(QStringLiteral("100"));
    tick(2);
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Добър Играч"));
    w->lbl1->setText(QStringLiteral("50"));
    w->lbl1v->setText(QStringLiteral("50"));
    tick(3);
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Добър Играч"));
}

void TestFinanceWindow::keyFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const char *typed, const char *shown) {
        QTest::newRow(name) << QString::fromUtf8(typed) << QString(shown);
    };
    row("point becomes comma", "12.5", "12,5");
    row("letter deletes the previous character", "12a", "1");
    row("cyrillic deletes too", "7ж", "");
    row("blank deletes", "34 ", "3");
    row("sign, slash and digits pass", "-1/2", "-1/2");
}

void TestFinanceWindow::keyFilter() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    for (const QString &name : kBoxes) {
        QLineEdit *b = box(name);
        TypeText(b, typed);
        QCOMPARE(b->text(), shown);
    }
    // Enter is no exception: it deletes as well.
    QLineEdit *b = box(QStringLiteral("txtPS"));
    b->setText(QStringLiteral("45"));
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(b->text(), QStringLiteral("4"));
    // Tab moves on and deletes nothing.
    QTest::keyClick(b, Qt::Key_Tab);
    QCOMPARE(b->text(), QStringLiteral("4"));
}

void TestFinanceWindow::enterAddsEveryBox() {
    FinanceWindow *w = window();
    for (int i = 0; i < kTotals.size(); ++i)
        total(kTotals[i])->setText(QString::number(i));
    for (int i = 0; i < kBoxes.size(); i += 2)
        box(kBoxes[i])->setText(QStringLiteral("1,25"));
    w->cmdOK->click();
    QVERIFY(m_env->messages.shown().isEmpty());
    for (int i = 0; i < kBoxes.size(); ++i) {
        const bool filled = i % 2 == 0;
        QCOMPARE(box(kBoxes[i])->text(), filled ? QStringLiteral("1,25") : QStringLiteral("0"));
        QCOMPARE(total(kTotals[i])->text(),
                 filled ? QString::number(i + 1) + QStringLiteral(",25") : QString::number(i));
    }
    // Pressing again adds the same amounts again.
    w->cmdOK->click();
    QCOMPARE(w->lblT->text(), QStringLiteral("2,5"));
    QCOMPARE(w->lbl3v->text(), QStringLiteral("3"));
    QCOMPARE(w->lblS->text(), QStringLiteral("13"));
}

void TestFinanceWindow::enterIsAllOrNothing_data() {
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("totalName");
    QTest::addColumn<QString>("totalText");
    const auto row = [](const char *name, const char *box, const char *typed, const char *total,
                        const char *text) {
        QTest::newRow(name) << QString(box) << QString(typed) << QString(total) << QString(text);
    };
    row("malformed amount in the last box", "txtPS", "1,2,3", "", "");
    row("sign alone", "txtV5", "-", "", "");
    row("comma alone", "txtP1", ",", "", "");
    row("sum beyond the range", "txtP10", "1", "lbl10", "922337203685477,5807");
    row("unreadable stored total", "", "", "lblS", "abc");
}

void TestFinanceWindow::enterIsAllOrNothing() {
    QFETCH(QString, boxName);
    QFETCH(QString, typed);
    QFETCH(QString, totalName);
    QFETCH(QString, totalText);
    FinanceWindow *w = window();
    w->txtTalon->setText(QStringLiteral("5"));
    if (!boxName.isEmpty()) box(boxName)->setText(typed);
    if (!totalName.isEmpty()) total(totalName)->setText(totalText);
    const QStringList before = totals();

    w->cmdOK->click();
    QCOMPARE(totals(), before);
    QCOMPARE(w->txtVest->text(), QString()); // empty boxes untouched too
    QCOMPARE(m_env->messages.shown().size(), 1);
    const auto &m = m_env->messages.shown().first();
    QCOMPARE(m.title, QStringLiteral("Грешка"));
    QCOMPARE(m.text, QStringLiteral("Въвели сте невалидна сума"));
    QCOMPARE(m.icon, MessageBoxes::Icon::Information);
    QCOMPARE(m.buttons, MessageBoxes::Buttons::Ok);
}

void TestFinanceWindow::clear_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestFinanceWindow::clear() {
    QFETCH(bool, yes);
    FinanceWindow *w = window();
    for (const QString &name : kTotals)
        total(name)->setText(QStringLiteral("7,5"));
    w->txtV8->setText(QStringLiteral("3"));
    tick(2);
    // Won 45 against 60 invested.
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Леко набутан"));
    m_env->messages.queueAnswer(yes ? MessageBoxes::Answer::Yes : MessageBoxes::Answer::No);
    w->cmdClear->click();

    QCOMPARE(m_env->messages.shown().size(), 1);
    const auto &m = m_env->messages.shown().first();
    QCOMPARE(m.title, QStringLiteral("ВНИМАНИЕ!!!"));
    QCOMPARE(m.text, QStringLiteral("Данните ще получат стойност НУЛА\nСигурни ли сте?"));
    QCOMPARE(m.icon, MessageBoxes::Icon::Critical);
    QCOMPARE(m.buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(totals(), QStringList(QList<QString>(14, yes ? QStringLiteral("0") : QStringLiteral("7,5"))));
    QCOMPARE(w->txtV8->text(), QStringLiteral("3"));
    tick(1);
    QCOMPARE(w->lblOv->text(), yes ? QStringLiteral("0") : QStringLiteral("60"));
    QCOMPARE(w->lblStatus->text(), QStringLiteral("Леко набутан"));
    tick(1);
    QCOMPARE(w->lblStatus->text(), yes ? QStringLiteral("Неизвестен") : QStringLiteral("Леко набутан"));
}

void TestFinanceWindow::unreadableTotalsAreShownAndCountAsZero() {
    m_env->settings->WriteSetting(QStringLiteral("fin"), QStringLiteral("e"), QStringLiteral("12.5 лв"));
    m_env->settings->WriteSetting(QStringLiteral("fin"), QStringLiteral("t"), QStringLiteral("20"));
    FinanceWindow *w = window();
    QCOMPARE(w->lblE->text(), QStringLiteral("12.5 лв"));
    tick(2);
    QCOMPARE(w->lblOv->text(), QStringLiteral("20"));
    QVERIFY(m_env->messages.shown().isEmpty());
    w->cmdOK->click();
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(w->lblE->text(), QStringLiteral("12.5 лв"));
    QCOMPARE(w->lblT->text(), QStringLiteral("20"));
}

void TestFinanceWindow::totalsSurviveClosing() {
    for (int i = 0; i < kKeys.size(); ++i)
        m_env->settings->WriteSetting(QStringLiteral("fin"), kKeys[i], QString::number(i * 10));
    QPointer<FinanceWindow> w = window();
    for (int i = 0; i < kKeys.size(); ++i)
        QCOMPARE(total(kTotals[i])->text(), QString::number(i * 10));
    w->txtVS->setText(QStringLiteral("0,5"));
    w->txtP8->setText(QStringLiteral("-2"));
    w->cmdOK->click();
    const QStringList expected = totals();
    QCOMPARE(w->lblSv->text(), QStringLiteral("70,5"));
    QCOMPARE(w->lbl8->text(), QStringLiteral("108"));

    w->close();
    QTRY_VERIFY(w.isNull());
    QVERIFY(!m_env->windows.isLoaded(WindowId::Finans));
    m_env->reopenSettings();
    for (int i = 0; i < kKeys.size(); ++i)
        QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("fin"), kKeys[i]), expected[i]);
    // The next use loads them again.
    QCOMPARE(totals(), expected);
}

void TestFinanceWindow::totalsSurviveTheProgramEnd() {
    FinanceWindow *w = window();
    w->show();
    w->txtV1->setText(QStringLiteral("2,5"));
    w->cmdOK->click();
    // The windows are destroyed without being closed.
    m_env->windows.destroyAll();
    m_env->reopenSettings();
    QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("fin"), QStringLiteral("1v")),
             QStringLiteral("2,5"));
    QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("fin"), QStringLiteral("t")), QStringLiteral("0"));
}

void TestFinanceWindow::longTotalsFit() {
    FinanceWindow *w = window();
    const QFont normal = w->lbl1v->font();
    w->lbl10v->setText(QStringLiteral("922337203685477,5807"));
    tick(1);
    for (QLabel *l : {w->lbl10v, w->lblOv})
        QVERIFY(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width());
    // Back to a short amount, back to the full size.
    w->lbl10v->setText(QStringLiteral("5"));
    tick(1);
    QCOMPARE(w->lbl10v->font(), normal);
    QCOMPARE(w->lblOv->font(), w->lblO->font());
}

QTEST_MAIN(TestFinanceWindow)
#include "tst_financewindow.moc"
