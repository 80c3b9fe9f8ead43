#include "clubrows.h"

#include "gui/club_windows/clubresultswindow.h"
#include "gui/common/clubboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/shell/optionswindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kalvado;
using namespace kalvado::test;

namespace {

// Stands in for the prognosis form: two names and a record of the writes.
class FakeForm final : public QWidget, public ClubBoxes {
public:
    QString home, guest;
    QMap<std::pair<bool, int>, QString> written; // (guest, index) -> "scored:conceded"

    QString homeName() const override { return home; }
    QString guestName() const override { return guest; }
    void setResult(bool toGuest, int index, const QString &scored, const QString &conceded) override {
        written.insert({toGuest, index}, scored + u':' + conceded);
    }
};

// Stored match k of a club with data: k goals scored, 9 - k conceded; p4 empty.
QString Stored(int k) {
    return QString::number(k) + u':' + (k == 4 ? QString() : QString::number(9 - k));
}

} // namespace

class TestClubResultsWindow final : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;

    FakeForm *form() { return dynamic_cast<FakeForm *>(m_env->windows.load(WindowId::Pro)); }
    ClubResultsWindow *window() { return m_env->windows.get<ClubResultsWindow>(WindowId::Tims); }

    void lookUp(const QString &home, const QString &guest, bool sixMatch = false) {
        m_env->windows.get<OptionsWindow>(WindowId::Opt)
            ->findChild<QCheckBox *>("chk6")
            ->setChecked(sixMatch);
        form()->home = home;
        form()->guest = guest;
        window()->StartLookup();
        window()->Timer1Tick();
    }

    QStringList shownRows() {
        QStringList rows;
        for (int k = 0; k < 7; ++k)
            rows << window()->lblV[k]->text() + u':' + window()->lblP[k]->text();
        return rows;
    }

private slots:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_env->windows.setFactory(WindowId::Pro, [] { return new FakeForm; });
        m_env->clearTable(QStringLiteral("Tims"));
        QStringList results;
        for (int k = 1; k <= 7; ++k)
            results << Stored(k).split(u':');
        AddClubRow(*m_env, QStringLiteral("Арсенал"), QStringLiteral("2024-01-10 12:00:00"), {"5", "5"});
        AddClubRow(*m_env, QStringLiteral("Левски"), QStringLiteral("2024-03-05 18:30:00"), results);
        AddClubRow(*m_env, QStringLiteral("Нов"), QStringLiteral("2024-04-01"));
        AddClubRow(*m_env, QStringLiteral("Nott'm Forest"), QStringLiteral("2024-03-05 18:30:00"), results);
        // A later row of the same name is never the one shown.
        AddClubRow(*m_env, QStringLiteral("Левски"), QStringLiteral("2024-05-05"), QStringList(14, "9"));
    }

    void cleanup() { m_env.reset(); }

    void loadAndStart() {
        ClubResultsWindow *w = window();
        QCOMPARE(w->windowTitle(), QStringLiteral("Статистикака на клуб"));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!w->isVisible() && !w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 5);
        form()->home = QStringLiteral("Левски");
        w->StartLookup();
        QVERIFY(w->isVisible());
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Последни 7 мача на Левски"));
        QVERIFY(!w->Timer1->isActive());
    }

    void lookup_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("guest");
        QTest::addColumn<QString>("club");
        QTest::addColumn<QString>("date"); // empty: no row at all
        QTest::addColumn<bool>("hasData");
        const QString levski = DateText(QStringLiteral("2024-03-05 18:30:00"));
        // clang-format off
        QTest::newRow("home")             << ""       << "Левски"        << ""       << "Левски"        << levski       << true;
        QTest::newRow("guest box filled") << ""       << "Арсенал"       << "Левски" << "Левски"        << levski       << true;
        QTest::newRow("apostrophe")       << ""       << "Nott'm Forest" << ""       << "Nott'm Forest" << levski       << true;
        QTest::newRow("no results")       << "Левски" << "Нов"           << ""       << "Нов"           << "01.04.2024" << false;
        QTest::newRow("data after none")  << "Нов"    << "Левски"        << ""       << "Левски"        << levski       << true;
        QTest::newRow("unknown name")     << "Левски" << "Ботев"         << ""       << "Ботев"         << ""           << false;
        QTest::newRow("unknown guest")    << "Левски" << "Левски"        << "Ботев"  << "Ботев"         << ""           << false;
        // clang-format on
    }

    void lookup() {
        QFETCH(QString, before);
        QFETCH(QString, home);
        QFETCH(QString, guest);
        QFETCH(QString, club);
        QFETCH(QString, date);
        QFETCH(bool, hasData);
        if (!before.isEmpty()) lookUp(before, QString());
        window()->optI[5]->setChecked(true);
        lookUp(home, guest);

        ClubResultsWindow *w = window();
        QCOMPARE(w->windowTitle(), QStringLiteral("Последни 7 мача на ") + club);
        QCOMPARE(w->lblInfo->text(),
                 hasData ? QStringLiteral("Последни 7 мача на:") : QStringLiteral("Няма данни за:"));
        QCOMPARE(w->lblClub->text(), club);
        QCOMPARE(w->lblDate->text(), date);
        QStringList rows(7, QStringLiteral(":"));
        for (int k = 1; hasData && k <= 7; ++k)
            rows[k - 1] = Stored(k);
        QCOMPARE(shownRows(), rows);
        QVERIFY(w->optI[0]->isChecked());
        for (int i = 1; i < 8; ++i)
            QCOMPARE(w->optI[i]->isEnabled(), hasData);
    }

    void missIgnoresOtherRows() {
        // Recording moves datTims over other clubs' rows.
        lookUp(QStringLiteral("Ботев"), QString());
        ClubResultsWindow *w = window();
        QVERIFY(w->clubCursor()->findFirst(QStringLiteral("Tim"), QStringLiteral("Левски")));
        QCOMPARE(w->lblClub->text(), QStringLiteral("Ботев"));
        QCOMPARE(shownRows(), QStringList(7, QStringLiteral(":")));
        QCOMPARE(w->lblDate->text(), QString());
        // The shown club's own row is followed when it is rewritten.
        lookUp(QStringLiteral("Левски"), QString());
        w->clubCursor()->editCurrent({{QStringLiteral("v7"), QStringLiteral("4")}});
        QCOMPARE(w->lblV[6]->text(), QStringLiteral("4"));
    }

    void layout_data() {
        QTest::addColumn<bool>("sixMatch");
        QTest::addColumn<int>("top");
        QTest::addColumn<QString>("captions");
        QTest::newRow("eight") << false << 1560 << "0 мача|1 мач|2 мача|3 мача|4 мача|5 мача|6 мача|7 мача";
        QTest::newRow("six") << true << 1800 << "0 мача|1 мач|2 мача|1 мач|2 мача|3 мача|4 мача|5 мача";
    }

    void layout() {
        QFETCH(bool, sixMatch);
        QFETCH(int, top);
        QFETCH(QString, captions);
        ClubResultsWindow *w = window();
        lookUp(QStringLiteral("Левски"), QString(), !sixMatch);
        w->optI[7]->setChecked(true);
        lookUp(QStringLiteral("Левски"), QString(), sixMatch);
        QCOMPARE(w->optI[0]->geometry().topLeft(), QPoint(w->optI[2]->x(), Px(top)));
        QVERIFY(w->optI[0]->isChecked());
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(w->optI[i]->text(), captions.split(u'|').at(i));
            QCOMPARE(w->optI[i]->isHidden(), sixMatch && (i == 1 || i == 2));
            QCOMPARE(w->optI[i]->x(), w->optI[i % 2]->x()); // two columns, four lines
            if (i > 0) QCOMPARE(w->optI[i]->y(), Px(1560 + (i / 2) * 240));
        }
        QVERIFY(w->optI[1]->x() > w->optI[0]->x());
    }

    void fill_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("guest");
        QTest::addColumn<QString>("homeAtOk");
        QTest::addColumn<QString>("guestAtOk");
        QTest::addColumn<bool>("sixMatch");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("fills");
        // clang-format off
        for (const bool six : {false, true})
            for (int n = 0; n < 8; ++n)
                if (!six || n == 0 || n > 2) {
                    QTest::addRow("%s optI(%d) home", six ? "six" : "eight", n)
                        << "Левски" << "" << "Левски" << "" << six << n << true;
                    QTest::addRow("%s optI(%d) guest", six ? "six" : "eight", n)
                        << "Арсенал" << "Левски" << "Арсенал" << "Левски" << six << n << true;
                }
        // Never another club's results, nor a club's empty rows over typed ones.
        QTest::newRow("unknown club")       << "Ботев"   << ""       << "Ботев"   << ""    << false << 7 << false;
        QTest::newRow("no results")         << "Нов"     << ""       << "Нов"     << ""    << false << 7 << false;
        QTest::newRow("guest typed since")  << "Левски"  << ""       << "Левски"  << "Нов" << false << 7 << false;
        QTest::newRow("home renamed since") << "Левски"  << ""       << "Арсенал" << ""    << false << 7 << false;
        QTest::newRow("guest cleared since")<< "Арсенал" << "Левски" << "Арсенал" << ""    << false << 7 << false;
        // clang-format on
    }

    void fill() {
        QFETCH(QString, home);
        QFETCH(QString, guest);
        QFETCH(QString, homeAtOk);
        QFETCH(QString, guestAtOk);
        QFETCH(bool, sixMatch);
        QFETCH(int, option);
        QFETCH(bool, fills);
        const QStringList before = DumpClubs(*m_env);
        lookUp(home, guest, sixMatch);
        ClubResultsWindow *w = window();
        if (fills)
            QTest::mouseClick(w->optI[option], Qt::LeftButton);
        else
            w->optI[option]->setChecked(true); // forced, even where disabled
        QVERIFY(w->optI[option]->isChecked());
        form()->home = homeAtOk;
        form()->guest = guestAtOk;
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);

        QMap<std::pair<bool, int>, QString> expected;
        for (int j = 0; fills && j < option; ++j)
            expected.insert({!guest.isEmpty(), j}, Stored(8 - option + j));
        QCOMPARE(form()->written, expected);
        QVERIFY(!w->isVisible());
        QVERIFY(m_env->windows.isLoaded(WindowId::Tims));
        QCOMPARE(DumpClubs(*m_env), before);
    }
};

QTEST_MAIN(TestClubResultsWindow)
#include "tst_clubresultswindow.moc"
