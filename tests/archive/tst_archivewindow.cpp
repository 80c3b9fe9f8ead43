#include "gui/archive/archivewindow.h"
#include "support/testenv.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kalvado;
using kalvado::test::TestEnv;
using kalvado::test::TypeText;

// One archive row: home, guest, prognosis and real result ("" is empty).
struct Row {
    QString dom, gost, proD, proG, resD, resG;
};
Q_DECLARE_METATYPE(QList<Row>)

class TestArchiveWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheFirstRow();
    void loadedUnseenThenShownStartsAtTheFirstRow();
    void searchLines_data();
    void searchLines();
    void searchClearsTheBoxOnClick();
    void walk_data();
    void walk();
    void deleteAsksAndShowsTheNextRow_data();
    void deleteAsksAndShowsTheNextRow();
    void deleteWithoutARowDoesNothing();
    void navigationKeepsTheEnds();
    void resultIsStoredWhenTheRowChanges_data();
    void resultIsStoredWhenTheRowChanges();
    void resultIsStoredOnClosing();
    void resultIsStoredWhenMovedFromOutside();
    void resultIsStoredWhenTheProgramEnds();
    void resultThatCannotBeStoredStays_data();
    void resultThatCannotBeStoredStays();
    void resultLeftBehindIsStoredAtTheNextChance();
    void refusedDeletionKeepsTheRow();
    void longClubNamesFit();
    void keyFilter_data();
    void keyFilter();
    void noRowTakesNoTyping();

private:
    void insert(const QList<Row> &rows);
    ArchiveWindow *window() { return m_env->windows.get<ArchiveWindow>(WindowId::Data); }
    // resD and resG of the row with that number, as stored ("NULL" for empty).
    QString stored(int nom);
    void tickUntilStopped();

    std::unique_ptr<TestEnv> m_env;
};

namespace {

QString Sql(const QString &v) {
    return v.isEmpty() ? QStringLiteral("NULL") : u'\'' + v + u'\'';
}

const QList<Row> kThree{
    {"левски", "цска", "1", "0", "2", "1"},
    {"цска", "левски", "2", "2", "", ""},
    {"славия", "левски старт", "0", "1", "0", "1"},
};

} // namespace

void TestArchiveWindow::init() {
    m_env = std::make_unique<TestEnv>();
    m_env->clearTable(QStringLiteral("KD"));
}

void TestArchiveWindow::cleanup() {
    m_env.reset();
}

void TestArchiveWindow::insert(const QList<Row> &rows) {
    int nom = 0;
    for (const Row &r : rows)
        m_env->exec(QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) "
                                   "VALUES (%1, %2, %3, %4, %5, %6, %7)")
                        .arg(nom++)
                        .arg(Sql(r.dom), Sql(r.gost), Sql(r.proD), Sql(r.proG), Sql(r.resD), Sql(r.resG)));
}

QString TestArchiveWindow::stored(int nom) {
    QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
    q.exec(QStringLiteral("SELECT ifnull(resD, 'NULL') || ':' || ifnull(resG, 'NULL') FROM KD WHERE Nom = %1")
               .arg(nom));
    return q.next() ? q.value(0).toString() : QStringLiteral("no row");
}

void TestArchiveWindow::tickUntilStopped() {
    ArchiveWindow *w = window();
    for (int i = 0; i < 100 && w->Timer1->isActive(); ++i)
        w->Timer1Tick();
    QVERIFY(!w->Timer1->isActive());
}

void TestArchiveWindow::opensOnTheFirstRow() {
    insert(kThree);
    ArchiveWindow *w = window();
    QCOMPARE(w->objectName(), QStringLiteral("frmData"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Архив"));
    QCOMPARE(w->lblproNom->text(), QStringLiteral("0"));
    QCOMPARE(w->lblDom->text(), QStringLiteral("левски"));
    QCOMPARE(w->lblGost->text(), QStringLiteral("цска"));
    QCOMPARE(w->lblPD->text() + u':' + w->lblPG->text(), QStringLiteral("1:0"));
    QCOMPARE(w->txtresDom->text() + u':' + w->txtresG->text(), QStringLiteral("2:1"));
    QVERIFY(w->optDom->isChecked());
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 10);
}

void TestArchiveWindow::loadedUnseenThenShownStartsAtTheFirstRow() {
    // Recording loads the window over an empty archive and appends through it.
    ArchiveWindow *w = window();
    QVERIFY(!w->archiveCursor()->hasCurrent());
    insert(kThree);
    QCOMPARE(w->lblDom->text(), QString());
    m_env->windows.show(WindowId::Data);
    QCOMPARE(w->lblDom->text(), QStringLiteral("левски"));
    // Later showings leave the user's position alone.
    w->cmdFind->click();
    w->hide();
    m_env->windows.show(WindowId::Data);
    QCOMPARE(w->lblDom->text(), QString());
}

void TestArchiveWindow::searchLines_data() {
    QTest::addColumn<bool>("byGuest");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    const QString first = QStringLiteral("левски-цска 1:0    Реален резултат 2:1");
    const QString second = QStringLiteral("цска-левски 2:2    Реален резултат :");
    const QString third = QStringLiteral("славия-левски старт 0:1    Реален резултат 0:1");
    QTest::newRow("home, capital first letter") << false << "Левски" << QStringList{first};
    QTest::newRow("home, all capitals") << false << "ЦСКА" << QStringList{second};
    QTest::newRow("guest, part of the name") << true << "ЛЕВ" << QStringList{second, third};
    QTest::newRow("guest with a blank") << true << "Левски Старт" << QStringList{third};
    QTest::newRow("empty text finds every row") << false << "" << QStringList{first, second, third};
    QTest::newRow("nothing found") << true << "Берое" << QStringList{};
}

void TestArchiveWindow::searchLines() {
    QFETCH(bool, byGuest);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    insert(kThree);
    ArchiveWindow *w = window();
    (byGuest ? w->optGost : w->optDom)->setChecked(true);
    w->lstFind->addItem(QStringLiteral("left over"));
    w->txtFindD->setText(text);
    QTest::mouseClick(w->cmdFind, Qt::LeftButton);

    QStringList found;
    for (int i = 0; i < w->lstFind->count(); ++i)
        found << w->lstFind->item(i)->text();
    QCOMPARE(found, lines);
    // The search leaves the cursor past the last row.
    QVERIFY(!w->archiveCursor()->hasCurrent());
    QVERIFY(w->lblDom->text().isEmpty());
    QVERIFY(w->txtresDom->text().isEmpty());
}

void TestArchiveWindow::searchClearsTheBoxOnClick() {
    ArchiveWindow *w = window();
    w->txtFindD->setText(QStringLiteral("левски"));
    QTest::mouseClick(w->txtFindD, Qt::LeftButton);
    QVERIFY(w->txtFindD->text().isEmpty());
}

void TestArchiveWindow::walk_data() {
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<int>("startAt");     // row made current before the walk
    QTest::addColumn<QString>("stopsAt"); // Nom of the row found, "" for none

    const Row done{"a", "b", "1", "0", "1", "1"};
    const Row open{"c", "d", "2", "0", "", ""};
    const Row half{"e", "f", "0", "0", "3", ""};
    QTest::newRow("next row without a result") << QList<Row>{done, done, open, done} << 0 << "2";
    QTest::newRow("skips the current row") << QList<Row>{open, done, open} << 0 << "2";
    QTest::newRow("only the home goals entered") << QList<Row>{done, done, half} << 0 << "2";
    QTest::newRow("from the last row it starts at the first") << QList<Row>{open, done, done} << 2 << "0";
    QTest::newRow("after wrapping it walks on") << QList<Row>{done, open, done} << 2 << "1";
    QTest::newRow("every row complete") << QList<Row>{done, done, done} << 0 << "";
    QTest::newRow("empty archive") << QList<Row>{} << 0 << "";
}

void TestArchiveWindow::walk() {
    QFETCH(QList<Row>, rows);
    QFETCH(int, startAt);
    QFETCH(QString, stopsAt);
    insert(rows);
    ArchiveWindow *w = window();
    for (int i = 0; i < startAt; ++i)
        w->navNext->click();
    w->cmdVav->click();
    QVERIFY(w->Timer1->isActive());
    tickUntilStopped();
    QCOMPARE(w->lblproNom->text(), stopsAt);
    QCOMPARE(w->archiveCursor()->hasCurrent(), !stopsAt.isEmpty());
}

void TestArchiveWindow::deleteAsksAndShowsTheNextRow_data() {
    QTest::addColumn<int>("deleteAt");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("first shows the second") << 0 << "1";
    QTest::newRow("middle shows the last") << 1 << "2";
    QTest::newRow("last leaves no row") << 2 << "";
}

void TestArchiveWindow::deleteAsksAndShowsTheNextRow() {
    QFETCH(int, deleteAt);
    QFETCH(QString, shownAfter);
    insert(kThree);
    ArchiveWindow *w = window();
    for (int i = 0; i < deleteAt; ++i)
        w->navNext->click();
    const QString home = kThree[deleteAt].dom;
    const QString guest = kThree[deleteAt].gost;

    m_env->messages.queueAnswer(MessageBoxes::Answer::No);
    w->cmdDel->click();
    QCOMPARE(m_env->messages.shown().size(), 1);
    const auto &m = m_env->messages.shown().first();
    QCOMPARE(m.title, QStringLiteral("Kalvado-Ruby"));
    QCOMPARE(m.text, QStringLiteral("Прогнозата за мача ") + home + QStringLiteral(" - ") + guest +
                         QStringLiteral(" ще бъде изтрита\rЖелаете ли това?"));
    QCOMPARE(m.icon, MessageBoxes::Icon::Question);
    QCOMPARE(m.buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(w->archiveCursor()->count(), 3);
    QCOMPARE(w->lblproNom->text(), QString::number(deleteAt));

    m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
    w->cmdDel->click();
    QCOMPARE(w->archiveCursor()->count(), 2);
    QCOMPARE(stored(deleteAt), QStringLiteral("no row"));
    QCOMPARE(w->lblproNom->text(), shownAfter);
}

void TestArchiveWindow::deleteWithoutARowDoesNothing() {
    insert(kThree);
    ArchiveWindow *w = window();
    w->cmdFind->click(); // leaves no current row
    m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
    w->cmdDel->click();
    QVERIFY(m_env->messages.shown().isEmpty());
    QCOMPARE(w->archiveCursor()->count(), 3);
}

void TestArchiveWindow::navigationKeepsTheEnds() {
    insert(kThree);
    ArchiveWindow *w = window();
    w->navPrevious->click();
    QCOMPARE(w->lblproNom->text(), QStringLiteral("0"));
    w->navLast->click();
    QCOMPARE(w->lblproNom->text(), QStringLiteral("2"));
    w->navNext->click();
    QCOMPARE(w->lblproNom->text(), QStringLiteral("2"));
    w->navPrevious->click();
    QCOMPARE(w->lblproNom->text(), QStringLiteral("1"));
    w->navFirst->click();
    QCOMPARE(w->lblproNom->text(), QStringLiteral("0"));
}

void TestArchiveWindow::resultIsStoredWhenTheRowChanges_data() {
    QTest::addColumn<QString>("move");
    QTest::newRow("next") << "navNext";
    QTest::newRow("previous") << "navPrevious";
    QTest::newRow("first") << "navFirst";
    QTest::newRow("last") << "navLast";
    QTest::newRow("walk") << "cmdVav";
    QTest::newRow("search") << "cmdFind";
}

void TestArchiveWindow::resultIsStoredWhenTheRowChanges() {
    QFETCH(QString, move);
    insert(kThree);
    ArchiveWindow *w = window();
    w->navNext->click(); // the row without a result
    TypeText(w->txtresDom, QStringLiteral("3"));
    TypeText(w->txtresG, QStringLiteral("1"));
    QCOMPARE(stored(1), QStringLiteral("NULL:NULL"));
    w->findChild<QAbstractButton *>(move)->click();
    QCOMPARE(stored(1), QStringLiteral("3:1"));

    // Emptied boxes store empty results.
    w->navFirst->click();
    w->txtresDom->clear();
    w->txtresG->clear();
    w->navNext->click();
    QCOMPARE(stored(0), QStringLiteral("NULL:NULL"));
    QCOMPARE(w->txtresDom->text() + u':' + w->txtresG->text(), QStringLiteral("3:1"));
}

void TestArchiveWindow::resultIsStoredOnClosing() {
    insert(kThree);
    QPointer<ArchiveWindow> w = window();
    w->show();
    w->navNext->click();
    TypeText(w->txtresDom, QStringLiteral("0"));
    TypeText(w->txtresG, QStringLiteral("4"));
    w->close();
    QCOMPARE(stored(1), QStringLiteral("0:4"));
    QTRY_VERIFY(w.isNull());
    QVERIFY(!m_env->windows.isLoaded(WindowId::Data));
    // The next use opens afresh on the first row.
    QCOMPARE(window()->lblproNom->text(), QStringLiteral("0"));
}

void TestArchiveWindow::resultIsStoredWhenMovedFromOutside() {
    insert(kThree);
    ArchiveWindow *w = window();
    w->navNext->click();
    TypeText(w->txtresDom, QStringLiteral("5"));
    w->archiveCursor()->first();
    QCOMPARE(stored(1), QStringLiteral("5:NULL"));
    QCOMPARE(w->txtresDom->text(), QStringLiteral("2"));
}

void TestArchiveWindow::resultIsStoredWhenTheProgramEnds() {
    insert(kThree);
    ArchiveWindow *w = window();
    w->show();
    w->navNext->click();
    TypeText(w->txtresDom, QStringLiteral("1"));
    TypeText(w->txtresG, QStringLiteral("1"));
    // The windows are destroyed without being closed.
    m_env->windows.destroyAll();
    QCOMPARE(stored(1), QStringLiteral("1:1"));
}

void TestArchiveWindow::resultThatCannotBeStoredStays_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("move");
    QTest::addColumn<QString>("reason");
    const QString refuse =
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON KD BEGIN SELECT RAISE(ABORT, 'full'); END");
    QTest::newRow("refused, next") << refuse << "navNext"
                                   << "не може да бъде записана";
    QTest::newRow("refused, delete") << refuse << "cmdDel"
                                     << "не може да бъде записана";
    QTest::newRow("locked, walk") << "locked"
                                  << "cmdVav"
                                  << "зает от друга програма";
    QTest::newRow("read-only, search") << "read-only"
                                       << "cmdFind"
                                       << "само за четене";
    QTest::newRow("read-only, first") << "read-only"
                                      << "navFirst"
                                      << "само за четене";
}

// The message names the file; the cursor and the typed result stay; the
// next chance stores it.
void TestArchiveWindow::resultThatCannotBeStoredStays() {
    QFETCH(QString, cause);
    QFETCH(QString, move);
    QFETCH(QString, reason);
    insert(kThree);
    if (cause == QLatin1String("read-only")) m_env->refuseWrites(cause);
    ArchiveWindow *w = window();
    w->navNext->click();
    TypeText(w->txtresDom, QStringLiteral("3"));
    TypeText(w->txtresG, QStringLiteral("1"));
    if (cause != QLatin1String("read-only")) m_env->refuseWrites(cause);
    w->findChild<QAbstractButton *>(move)->click();
    QCOMPARE(m_env->messages.shown().size(), 1);
    const QString text = m_env->messages.shown().first().text;
    QVERIFY2(text.contains(reason) && text.contains(m_env->dbPath()), qPrintable(text));
    if (cause == QLatin1String("locked")) m_env->allowWrites();
    QCOMPARE(stored(1), QStringLiteral("NULL:NULL"));
    QCOMPARE(w->lblproNom->text(), QStringLiteral("1"));
    QCOMPARE(w->txtresDom->text() + u':' + w->txtresG->text(), QStringLiteral("3:1"));
    QVERIFY(!w->Timer1->isActive());
    if (cause == QLatin1String("read-only")) return;
    m_env->allowWrites();
    w->navNext->click();
    QCOMPARE(stored(1), QStringLiteral("3:1"));
    QCOMPARE(m_env->messages.shown().size(), 1);
}

// A move from outside the window cannot be refused: the result waits.
void TestArchiveWindow::resultLeftBehindIsStoredAtTheNextChance() {
    insert(kThree);
    ArchiveWindow *w = window();
    w->navNext->click();
    TypeText(w->txtresDom, QStringLiteral("5"));
    m_env->refuseWrites(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON KD BEGIN SELECT RAISE(ABORT, 'full'); END"));
    w->archiveCursor()->first();
    QCOMPARE(stored(1), QStringLiteral("NULL:NULL"));
    w->navNext->click(); // still refused: told, and kept
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(w->lblproNom->text(), QStringLiteral("0"));
    m_env->allowWrites();
    w->navNext->click();
    QCOMPARE(stored(1), QStringLiteral("5:NULL"));
    QCOMPARE(w->lblproNom->text(), QStringLiteral("1"));
}

void TestArchiveWindow::refusedDeletionKeepsTheRow() {
    insert(kThree);
    ArchiveWindow *w = window();
    m_env->refuseWrites(
        QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON KD BEGIN SELECT RAISE(ABORT, 'full'); END"));
    m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
    w->cmdDel->click();
    QCOMPARE(m_env->messages.shown().size(), 2);
    QVERIFY(m_env->messages.shown().last().text.startsWith(
        QStringLiteral("Базата данни не може да бъде записана:\n") + m_env->dbPath()));
    QCOMPARE(stored(0), QStringLiteral("2:1"));
    QCOMPARE(w->lblproNom->text(), QStringLiteral("0"));
}

void TestArchiveWindow::longClubNamesFit() {
    insert(
        {{"черноморец бургас", "локомотив пловдив", "1", "0", "", ""}, {"цска", "левски", "0", "0", "", ""}});
    ArchiveWindow *w = window();
    const QFont full = w->lblproNom->font();
    for (QLabel *l : {w->lblDom, w->lblGost}) {
        QVERIFY(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width());
        QVERIFY(l->font().pointSizeF() < full.pointSizeF());
    }
    // A short name gets the full size back.
    w->navNext->click();
    QCOMPARE(w->lblDom->font(), full);
    QCOMPARE(w->lblGost->font(), full);
}

void TestArchiveWindow::keyFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const char *typed, const char *shown) {
        QTest::newRow(name) << QString::fromUtf8(typed) << QString(shown);
    };
    row("digits", "12", "12");
    row("latin letter refused", "2a", "2");
    row("cyrillic refused", "ж3", "3");
    row("colon refused", "1:", "1");
    row("minus and blank pass", "- 1", "- 1");
    row("comma and point pass", "1,5.", "1,5.");
}

void TestArchiveWindow::keyFilter() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    insert({{"a", "b", "1", "1", "", ""}});
    ArchiveWindow *w = window();
    for (QLineEdit *box : {w->txtresDom, w->txtresG}) {
        TypeText(box, typed);
        QCOMPARE(box->text(), shown);
    }
}

void TestArchiveWindow::noRowTakesNoTyping() {
    ArchiveWindow *w = window();
    TypeText(w->txtresDom, QStringLiteral("2"));
    QVERIFY(w->txtresDom->text().isEmpty());
}

QTEST_MAIN(TestArchiveWindow)
#include "tst_archivewindow.moc"
