#include "clubrows.h"

#include "gui/club_windows/clublistwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace kalvado;
using namespace kalvado::test;
using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

namespace {

QStringList ListTexts(const QListWidget *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class TestClubListWindow final : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;

    ClubListWindow *window() { return m_env->windows.get<ClubListWindow>(WindowId::New); }

    void setClubs(const QStringList &names) {
        m_env->clearTable(QStringLiteral("Tims"));
        for (int i = 0; i < names.size(); ++i) // the date tells duplicates apart
            AddClubRow(*m_env, names[i], QStringLiteral("2024-01-%1").arg(i + 1, 2, 10, QChar(u'0')));
    }

private slots:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_env->ctx.now = [] { return QDateTime(QDate(2024, 6, 14), QTime(21, 45, 10)); };
        setClubs({"ЦСКА", "Левски", "Локомотив Пд", "левски младежи", "Славия", "Берое"});
    }

    void cleanup() { m_env.reset(); }

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("capital") << "Л" << QStringList{"Левски", "Локомотив Пд"};
        QTest::newRow("small") << "л" << QStringList{"левски младежи", "Славия"};
        QTest::newRow("inside") << "ски" << QStringList{"Левски", "левски младежи"};
        QTest::newRow("blank") << " " << QStringList{"левски младежи", "Локомотив Пд"};
        QTest::newRow("none") << "Я" << QStringList{};
    }

    void search() {
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        ClubListWindow *w = window();
        TypeText(w->txtFind, typed);
        QCOMPARE(ListTexts(w->lstFind), listed);
        QCOMPARE(w->lblDom->text(), QStringLiteral("ЦСКА")); // back on the first row
        w->txtFind->clear();
        QCOMPARE(ListTexts(w->lstFind),
                 (QStringList{"Берое", "Левски", "левски младежи", "Локомотив Пд", "Славия", "ЦСКА"}));
    }

    void modes() {
        ClubListWindow *w = window();
        TypeText(w->txtFind, QStringLiteral("Л"));
        AddClubRow(*m_env, QStringLiteral("Лудогорец"), QStringLiteral("2024-01-01"));
        QStringList listed{"Левски", "Локомотив Пд", "Лудогорец"};
        for (const bool on : {true, false, true}) {
            QTest::mouseClick(w->Check1, Qt::LeftButton);
            QCOMPARE(w->cmdDel->isHidden(), !on);
            QCOMPARE(w->lstFind->isEnabled(), on);
            QCOMPARE(w->cmdOK->isEnabled(), !on);
            if (on) { // refilled from the current text
                QCOMPARE(ListTexts(w->lstFind), listed);
                m_env->exec(QStringLiteral("DELETE FROM Tims WHERE Tim = 'Лудогорец'"));
                listed.removeLast();
            }
        }
    }

    void add_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("listed"); // rows of that name afterwards, -1 none added
        const auto row = [](const char *tag, const QString &name, int listed) {
            QTest::newRow(tag) << name << Answer::Yes
                               << Box("Ще бъде добавен " + name, Icon::Information, Buttons::YesNo) << listed;
        };
        row("cyrillic", "Черно море", 1);
        row("existing", "Левски", 2);
        row("blanks", "  Берое  ", 1);
        row("apostrophe", "Nott'm Forest", 1);
        row("quotes", "Клуб \"Звезда\"", 1);
        row("sql", "x'); DROP TABLE Tims; --", 1);
        row("1000 characters", QString(1000, QChar(u'Ж')), 1);
        row("leading byte-order mark", QStringLiteral("\uFEFFБерое"), 1);
        QTest::newRow("empty") << "" << Answer::Yes
                               << Box("Не сте въвели име на клуб", Icon::None, Buttons::Ok) << -1;
        QTest::newRow("byte-order mark only")
            << QStringLiteral("\uFEFF") << Answer::Yes
            << Box("Не сте въвели име на клуб", Icon::None, Buttons::Ok) << -1;
        QTest::newRow("blanks and invisible characters")
            << QStringLiteral(" \u200B\u00A0\u2060 ") << Answer::Yes
            << Box("Не сте въвели име на клуб", Icon::None, Buttons::Ok) << -1;
        QTest::newRow("No") << "Етър" << Answer::No
                            << Box("Ще бъде добавен Етър", Icon::Information, Buttons::YesNo) << -1;
    }

    void add() {
        QFETCH(QString, name);
        QFETCH(Answer, answer);
        QFETCH(QString, box);
        QFETCH(int, listed);
        ClubListWindow *w = window();
        QStringList rows = DumpClubs(*m_env);
        w->txtFind->setText(name);
        const QStringList before = ListTexts(w->lstFind);
        w->clubCursor()->last();
        m_env->messages.queueAnswer(answer);
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);

        QCOMPARE(Boxes(*m_env), QStringList{box});
        if (listed > 0) rows << name + "|2024-06-14" + QString("|-").repeated(14);
        QCOMPARE(DumpClubs(*m_env), rows);
        if (listed < 0) return;
        // Name kept, list not refilled, cursor re-read from the first row.
        QCOMPARE(w->txtFind->text(), name);
        QCOMPARE(ListTexts(w->lstFind), before);
        QCOMPARE(w->lblDom->text(), QStringLiteral("ЦСКА"));
        w->Check1->setChecked(true);
        QCOMPARE(w->lstFind->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).size(), listed);
    }

    void remove_data() {
        QTest::addColumn<QStringList>("clubs");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("gone"); // index in clubs, -1 none
        // clang-format off
        QTest::newRow("one of several")   << QStringList{"ЦСКА", "Левски", "Славия"} << ""    << "Левски" << Answer::Yes << 1;
        QTest::newRow("first of two")     << QStringList{"Левски", "ЦСКА", "Левски"} << "Лев" << "Левски" << Answer::Yes << 0;
        QTest::newRow("only club")        << QStringList{"Берое"}                    << "Бер" << "Берое"  << Answer::Yes << 0;
        QTest::newRow("apostrophe")       << QStringList{"ЦСКА", "Nott'm"}           << "'"   << "Nott'm" << Answer::Yes << 1;
        QTest::newRow("No")               << QStringList{"ЦСКА", "Левски"}           << "Л"   << "Левски" << Answer::No  << -1;
        QTest::newRow("nothing selected") << QStringList{"ЦСКА"}                     << ""    << ""       << Answer::Yes << -1;
        // clang-format on
    }

    void remove() {
        QFETCH(QStringList, clubs);
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        QFETCH(Answer, answer);
        QFETCH(int, gone);
        setClubs(clubs);
        QStringList remaining = DumpClubs(*m_env);
        ClubListWindow *w = window();
        w->Check1->setChecked(true);
        w->txtFind->setText(typed);
        if (!selected.isEmpty())
            w->lstFind->setCurrentItem(w->lstFind->findItems(selected, Qt::MatchExactly).value(0));
        m_env->messages.queueAnswer(answer);
        QTest::mouseClick(w->cmdDel, Qt::LeftButton);

        QCOMPARE(Boxes(*m_env),
                 QStringList{selected.isEmpty()
                                 ? Box("Маркирайте клубът който ще изтривате", Icon::Information, Buttons::Ok)
                                 : Box("Ще бъде Изтрит " + selected, Icon::Information, Buttons::YesNo)});
        if (gone >= 0) remaining.removeAt(gone);
        QCOMPARE(DumpClubs(*m_env), remaining);
        QCOMPARE(w->txtFind->text(), gone >= 0 ? QString() : typed);
        if (gone >= 0) { // every remaining club, sorted
            clubs.removeAt(gone);
            clubs.sort();
            QCOMPARE(ListTexts(w->lstFind), clubs);
        }
    }

    void refusedWrite_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("reason");
        QTest::newRow("add, read-only") << "read-only" << true << "само за четене";
        QTest::newRow("delete, read-only") << "read-only" << false << "само за четене";
        QTest::newRow("add, locked") << "locked" << true << "зает от друга програма";
        QTest::newRow("delete, refused")
            << "CREATE TRIGGER refuse BEFORE DELETE ON Tims BEGIN SELECT RAISE(ABORT, 'full'); END" << false
            << "не може да бъде записана";
    }

    // One message naming the file; the table, the list and the typed name stay.
    void refusedWrite() {
        QFETCH(QString, cause);
        QFETCH(bool, adding);
        QFETCH(QString, reason);
        const QStringList rows = DumpClubs(*m_env);
        if (cause == QLatin1String("read-only")) m_env->refuseWrites(cause);
        ClubListWindow *w = window();
        w->Check1->setChecked(!adding);
        w->txtFind->setText(adding ? QStringLiteral("Етър") : QStringLiteral("Л"));
        const QStringList listed = ListTexts(w->lstFind);
        if (!adding)
            w->lstFind->setCurrentItem(
                w->lstFind->findItems(QStringLiteral("Левски"), Qt::MatchExactly).value(0));
        if (cause != QLatin1String("read-only")) m_env->refuseWrites(cause);
        m_env->messages.queueAnswer(Answer::Yes);
        QTest::mouseClick(adding ? w->cmdOK : w->cmdDel, Qt::LeftButton);
        if (cause == QLatin1String("locked")) m_env->allowWrites();
        QCOMPARE(m_env->messages.shown().size(), 2);
        const MessageBoxes::Shown box = m_env->messages.shown().last();
        QVERIFY2(box.text.contains(reason) && box.text.contains(m_env->dbPath()), qPrintable(box.text));
        QVERIFY(!box.details.isEmpty());
        QCOMPARE(DumpClubs(*m_env), rows);
        QCOMPARE(ListTexts(w->lstFind), listed);
        QCOMPARE(w->txtFind->text(), adding ? QStringLiteral("Етър") : QStringLiteral("Л"));
    }

    void openingAndClosing() {
        ClubListWindow *w = window();
        m_env->windows.show(WindowId::New);
        w->Check1->setChecked(true);
        w->txtFind->setText(QStringLiteral("Л"));
        w->close(); // unloads: the next use starts afresh
        QTRY_VERIFY(!m_env->windows.isLoaded(WindowId::New));
        w = window();
        QCOMPARE(w->windowTitle(), QStringLiteral("Нов Клуб"));
        QVERIFY(w->txtFind->text().isEmpty() && w->lstFind->count() == 0 && !w->Check1->isChecked());
        QVERIFY(!w->lstFind->isEnabled() && w->cmdOK->isEnabled() && w->cmdDel->isHidden());
        // The bound name sits on the first row, outside the visible area.
        QCOMPARE(w->lblDom->text(), QStringLiteral("ЦСКА"));
        QVERIFY(!w->rect().intersects(w->lblDom->geometry()));
    }
};

QTEST_MAIN(TestClubListWindow)
#include "tst_clublistwindow.moc"
