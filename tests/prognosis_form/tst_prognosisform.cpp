// The prognosis form as the user meets it: club entry, typed numbers, the
// odds check, the resets and the factor options.
#include "gui/club_windows/clubresultswindow.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/shell/optionswindow.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kalvado;

namespace {

QStringList Items(const QListWidget *list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void ClickItem(QListWidget *list, const QString &text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

const QColor kBlack(Qt::black);
const QColor kWhite(Qt::white);

} // namespace

class TestPrognosisForm final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;
    PrognosisForm *m_form = nullptr;

    // The form, shown and active so that focus moves as it does for a user.
    void showActive() {
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
    }
    void leaveOddsBox(QLineEdit *box) {
        box->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
    }
    void fillBoxes() {
        for (int i = 0; i < 8; ++i) {
            m_form->txtGDplus[i]->setText(QStringLiteral("2"));
            m_form->txtGDminus[i]->setText(QStringLiteral("0"));
            m_form->txtGGplus[i]->setText(QStringLiteral("1"));
            m_form->txtGGminus[i]->setText(QStringLiteral("1"));
        }
        m_form->txtD->setText(QStringLiteral("3"));
        m_form->txtG->setText(QStringLiteral("4"));
        m_form->txt1->setText(QStringLiteral("2,00"));
        m_form->txtX->setText(QStringLiteral("3,20"));
        m_form->txt2->setText(QStringLiteral("3,50"));
        m_form->txtClD->setText(QStringLiteral("3"));
        m_form->txtClG->setText(QStringLiteral("7"));
    }

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        m_form = test::HandDrivenPrognosisForm(*m_env);
        QVERIFY(m_form);
    }
    void cleanup() {
        m_form = nullptr;
        m_env.reset();
    }

    void loadsWithItsDefaults() {
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
        for (QRadioButton *selected :
             {m_form->optN, m_form->opt0D, m_form->opt0G, m_form->optLiga, m_form->Option1})
            QVERIFY2(selected->isChecked(), qPrintable(selected->objectName()));
        for (QWidget *hidden :
             std::initializer_list<QWidget *>{m_form->lstDom, m_form->lstGost, m_form->lstClD, m_form->chkD,
                                              m_form->Option1, m_form->lblZnak})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QCOMPARE(Items(m_form->lstClG).size(), 24);
        QCOMPARE(BackgroundOf(m_form->txtDom), kBlack);
        QCOMPARE(m_form->lblDoma->text(), QStringLiteral("Арсенал")); // the first club is current
        QCOMPARE(m_form->size(), QSize(Px(11085), Px(8460)));
        test::TestEnv env; // timers untouched by init()
        auto *form = env.windows.get<PrognosisForm>(WindowId::Pro);
        for (QTimer *t : {form->tmrEnab, form->tmrTemp, form->tmrShansDom, form->tmrShansGost})
            QVERIFY2(t->isActive(), qPrintable(t->objectName()));
        QVERIFY(!form->tmrProgres->isActive());
    }

    // Where the layout puts each control, in twips; -1 where no size is drawn.
    void controlsStandWhereDrawn_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const auto row = [](const char *name, int left, int top, int width = -1, int height = -1) {
            QTest::newRow(name) << QString::fromLatin1(name) << QRect(left, top, width, height);
        };
        row("txtDom", 240, 360, 3375);
        row("txtGost", 3840, 360, 3375);
        row("lstDom", 240, 600, 3375, 2205);
        row("lstGost", 3840, 600, 3375, 2205);
        row("lblDoma", 240, 8760);
        row("lblDPG_0", 480, 4080, 5655);
        row("txtD", 6240, 4080, 495);
        row("lblDPG_1", 6720, 4080);
        row("lblGDP", 480, 4440);
        row("txtG", 6240, 4440, 495);
        row("lblDPG_3", 6720, 4440);
        row("txt1", 2040, 6840, 855);
        row("txtX", 2040, 7200, 855);
        row("txt2", 2040, 7560, 855);
        row("txtGDplus_0", 600, 2160, 375, 285);
        row("txtGDminus_4", 2640, 2160, 375, 285);
        row("txtGDplus_7", 2160, 3240, 375, 285);
        row("txtGGplus_3", 4320, 3240, 375, 285);
        row("txtGGminus_5", 6360, 2520, 375, 285);
        row("Frame1", 9240, 960);
        row("Frame2", 7440, 960);
        row("Frame6", 7440, 3000);
        row("Frame7", 7440, 4080);
        row("Frame3", 7440, 5040);
        row("Frame4", 9240, 5040);
        row("Frame5", 360, 5160);
        row("chkD", 3600, 5280);
        row("chkG", 3600, 5520);
        row("Option1", 3600, 5760);
        row("chkIzkl10", 480, 4680);
        row("lblMinuta", 5040, 7440);
        row("lblTempD", 5640, 7440);
        row("lblTempG", 6120, 7440);
        row("lstStatistika", 4080, 6480, 6735, 750);
        row("picSimul", 4080, 7920, 6720, 375);
        row("lblProD", 7080, 6120);
        row("lblProg", 7560, 6120);
        row("lblZnak", 10080, 7320);
    }
    void controlsStandWhereDrawn() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        auto *w = m_form->findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), m_form);
        QCOMPARE(w->pos(), QPoint(Px(twips.left()), Px(twips.top())));
        if (twips.width() >= 0) QCOMPARE(w->width(), Px(twips.width()));
        if (twips.height() >= 0) QCOMPARE(w->height(), Px(twips.height()));
    }

    // Every caption fits its control, inside its parent, clear of the
    // controls beside it.
    void captionsAreNotCut() {
        m_form->show();
        QList<QWidget *> captioned;
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            const auto *label = qobject_cast<QLabel *>(w);
            const auto *button = qobject_cast<QAbstractButton *>(w);
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (text.trimmed().isEmpty() || w->isHidden() || w == m_form->lblDoma) continue;
            if (label && label->wordWrap()) continue;
            captioned << w;
            if (!qobject_cast<QPushButton *>(w))
                QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName() + u' ' + text));
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(text));
        }
        for (QWidget *a : captioned)
            for (QWidget *b : captioned)
                if (a != b && a->parentWidget() == b->parentWidget() && qobject_cast<QAbstractButton *>(a))
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + u'/' + b->objectName()));
    }

    void aDroppedListLeavesItsNameBoxVisible_data() {
        QTest::addColumn<bool>("guest");
        QTest::newRow("home") << false;
        QTest::newRow("guest") << true;
    }
    void aDroppedListLeavesItsNameBoxVisible() {
        QFETCH(bool, guest);
        QLineEdit *box = guest ? m_form->txtGost : m_form->txtDom;
        QListWidget *list = guest ? m_form->lstGost : m_form->lstDom;
        m_form->show();
        test::TypeText(box, QStringLiteral("Ла"));
        QVERIFY(list->isVisible());
        QVERIFY(list->geometry().top() < box->geometry().bottom()); // they do overlap
        const QPoint lowInBox(box->geometry().center().x(), box->geometry().bottom() - 1);
        QCOMPARE(m_form->childAt(lowInBox), box);
        const QPoint belowBox(box->geometry().center().x(), box->geometry().bottom() + 10);
        QVERIFY(list->isAncestorOf(m_form->childAt(belowBox)));
    }

    void framesAndTheirCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("orange"); // orange and bold, else plain grey
        QTest::newRow("Frame1") << "Frame1" << QStringLiteral("Място в ") << true;
        QTest::newRow("Frame2") << "Frame2" << QStringLiteral("Домакин") << true;
        QTest::newRow("Frame3") << "Frame3" << QStringLiteral("Контузени") << true;
        QTest::newRow("Frame4") << "Frame4" << QStringLiteral("Контузени") << true;
        QTest::newRow("Frame5") << "Frame5" << QStringLiteral("Мача е за :") << false;
        QTest::newRow("Frame6") << "Frame6" << QStringLiteral("Треньор пред уволнение") << true;
        QTest::newRow("Frame7") << "Frame7" << QStringLiteral("Трансферна бомба") << true;
    }
    void framesAndTheirCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(bool, orange);
        auto *frame = m_form->findChild<QGroupBox *>(name);
        QVERIFY(frame);
        QCOMPARE(frame->title(), title);
        QCOMPARE(frame->font().bold(), orange);
        QCOMPARE(BackgroundOf(frame) == QColor(0xFF, 0x80, 0x00), orange);
        for (auto *inside : frame->findChildren<QAbstractButton *>())
            QVERIFY2(!inside->font().bold(), qPrintable(inside->objectName()));
    }

    void tabVisitsAWholeMatchInOrder_data() {
        QTest::addColumn<bool>("cup");
        QTest::newRow("league") << false;
        QTest::newRow("cup, with the division group") << true;
    }
    void tabVisitsAWholeMatchInOrder() {
        QFETCH(bool, cup);
        if (cup) m_form->optKupa->click();
        showActive();
        QStringList expected{QStringLiteral("txtDom"), QStringLiteral("txtGost")};
        for (const char *club : {"D", "G"})
            for (int i = 0; i < 8; ++i)
                expected << QStringLiteral("txtG%1plus_%2").arg(QLatin1String(club)).arg(i)
                         << QStringLiteral("txtG%1minus_%2").arg(QLatin1String(club)).arg(i);
        expected << QStringLiteral("txtD") << QStringLiteral("txtG") << QStringLiteral("txt1")
                 << QStringLiteral("txtX") << QStringLiteral("txt2") << QStringLiteral("cmdPro");
        // Hidden controls are skipped (the division group, the lists), and an
        // option group is one stop, at its chosen option.
        for (const char *name : {"optN", "opt0D", "opt0G", "optLiga", "chkIzkl10", "picSimul",
                                 "lstStatistika", "chkNokoef", "chkTUdom", "chkTUgost", "chkTBdom",
                                 "chkTBgost", "txtClD", "cmdClD", "chkIzkCl", "txtClG", "cmdClG"})
            expected << QLatin1String(name);
        if (cup) {
            // The division group shows up and the place buttons are disabled.
            expected.replace(expected.indexOf(QStringLiteral("optLiga")), QStringLiteral("optKupa"));
            expected.insert(expected.indexOf(QStringLiteral("optKupa")) + 1, QStringLiteral("Option1"));
            expected.removeAll(QStringLiteral("cmdClD"));
            expected.removeAll(QStringLiteral("cmdClG"));
        }

        m_form->txtDom->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_form->txtDom->hasFocus());
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
        QCOMPARE(QApplication::focusWidget(), m_form->txtDom); // round again
    }

    void homeListFilters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("capital") << QStringLiteral("Ла")
                                 << QStringList{QStringLiteral("Ла Коруня"), QStringLiteral("Лацио")};
        QTest::newRow("lower case inside names")
            << QStringLiteral("ла") << QStringList{QStringLiteral("Милан"), QStringLiteral("Славия")};
        QTest::newRow("anywhere in the name")
            << QStringLiteral("04") << QStringList{QStringLiteral("Шалке 04")};
        QTest::newRow("sorted") << QStringLiteral("Бот")
                                << QStringList{QStringLiteral("Ботев Вр"), QStringLiteral("Ботев Пд")};
        QTest::newRow("nothing") << QStringLiteral("Зенит") << QStringList{};
    }
    void homeListFilters() {
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        test::TypeText(m_form->txtDom, typed);
        QVERIFY(!m_form->lstDom->isHidden());
        QCOMPARE(Items(m_form->lstDom), listed);
        QCOMPARE(m_form->lblDoma->text(), QStringLiteral("Арсенал"));
    }

    void typingRereadsTheClubTable() {
        test::TypeText(m_form->txtDom, QStringLiteral("Л"));
        m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('Лаваля')"));
        test::TypeText(m_form->txtDom, QStringLiteral("а"));
        QCOMPARE(Items(m_form->lstDom), (QStringList{QStringLiteral("Ла Коруня"), QStringLiteral("Лаваля"),
                                                     QStringLiteral("Лацио")}));
    }

    void listsStopAtAClubWithoutAName() {
        m_env->clearTable(QStringLiteral("Tims"));
        m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('Щит'), ('Арда'), (NULL), ('Берое')"));
        QTest::mouseClick(m_form->txtDom, Qt::LeftButton);
        QCOMPARE(Items(m_form->lstDom), (QStringList{QStringLiteral("Арда"), QStringLiteral("Щит")}));
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        QCOMPARE(Items(m_form->lstGost), (QStringList{QStringLiteral("Щит"), QStringLiteral("Арда")}));
    }

    void emptyBoxesListEveryClub() {
        QTest::mouseClick(m_form->txtDom, Qt::LeftButton);
        QVERIFY(!m_form->lstDom->isHidden() && m_form->lstGost->isHidden());
        QStringList sorted = Items(m_form->lstDom);
        QCOMPARE(sorted.size(), 55);
        QCOMPARE(sorted.first(), QStringLiteral("1860 Мюнхен"));
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        QVERIFY(m_form->lstDom->isHidden() && !m_form->lstGost->isHidden());
        const QStringList stored = Items(m_form->lstGost); // the table's own order
        QCOMPARE(stored.first(), QStringLiteral("Арсенал"));
        QCOMPARE(stored.last(), QStringLiteral("Ботев Вр"));
        QStringList expected = stored;
        QCOMPARE(QSet<QString>(sorted.begin(), sorted.end()),
                 QSet<QString>(expected.begin(), expected.end()));
    }

    void homeListIsAlphabetical_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        const QStringList clubs{"Ювентус", "ПСВ Айндховен", "Zenit",   "Парма",
                                "ювентус", "1860 Мюнхен",   "Пари СЖ", "ajax"};
        QTest::newRow("every club") << clubs << QString()
                                    << QStringList{"1860 Мюнхен", "Пари СЖ", "Парма", "ПСВ Айндховен",
                                                   "ювентус",     "Ювентус", "ajax",  "Zenit"};
        QTest::newRow("filtered") << clubs << QStringLiteral("н")
                                  << QStringList{"1860 Мюнхен", "ПСВ Айндховен", "ювентус", "Ювентус"};
    }
    void homeListIsAlphabetical() {
        QFETCH(QStringList, stored);
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        m_env->clearTable(QStringLiteral("Tims"));
        for (const QString &name : stored)
            m_env->exec(QStringLiteral("INSERT INTO Tims (Tim) VALUES ('%1')").arg(name));
        QTest::mouseClick(m_form->txtDom, Qt::LeftButton);
        test::TypeText(m_form->txtDom, typed);
        QCOMPARE(Items(m_form->lstDom), listed);
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        QCOMPARE(Items(m_form->lstGost), stored); // the guest list keeps the table's order
    }

    void choosingClubsColoursTheBoxes() {
        showActive();
        QTest::mouseClick(m_form->txtDom, Qt::LeftButton);
        ClickItem(m_form->lstDom, QStringLiteral("Ювентус"));
        QCOMPARE(m_form->txtDom->text(), QStringLiteral("Ювентус"));
        QVERIFY(m_form->lstDom->isHidden()); // although the text change showed it
        QCOMPARE(BackgroundOf(m_form->txtDom), kWhite);
        QCOMPARE(TextColourOf(m_form->txtDom), kBlack);
        QVERIFY(m_env->windows.isLoaded(WindowId::Tims));
        QVERIFY(m_env->windows.get<ClubResultsWindow>(WindowId::Tims)->isVisible());
        m_env->windows.get<ClubResultsWindow>(WindowId::Tims)->hide();

        // A club without colours keeps those of the previous choice.
        m_form->txtDom->setText(QStringLiteral("Лев"));
        ClickItem(m_form->lstDom, QStringLiteral("Левски"));
        QCOMPARE(m_form->txtDom->text(), QStringLiteral("Левски"));
        QCOMPARE(BackgroundOf(m_form->txtDom), kWhite);

        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        ClickItem(m_form->lstGost, QStringLiteral("Челси"));
        QCOMPARE(BackgroundOf(m_form->txtGost), QColor(Qt::blue));
        QCOMPARE(TextColourOf(m_form->txtGost), kWhite);
        // The press on the guest list restores white on black first.
        m_form->txtGost->setText(QStringLiteral("Лев"));
        ClickItem(m_form->lstGost, QStringLiteral("Левски"));
        QCOMPARE(BackgroundOf(m_form->txtGost), kBlack);
        QCOMPARE(TextColourOf(m_form->txtGost), kWhite);
        QCOMPARE(m_form->lblDPG[0]->text(), QStringLiteral("Левски е победил Левски"));
    }

    void guestTextSetsTheCaptions() {
        m_form->txtDom->setText(QStringLiteral("Арсенал"));
        m_form->cmdPro->setEnabled(false);
        m_form->lblProD->setText(QStringLiteral("3"));
        m_form->lblProD->show();
        m_form->lblZnak->setText(QStringLiteral("1"));
        m_form->lblZnak->show();
        m_form->lblMinuta->setText(QStringLiteral("90"));
        m_form->lstStatistika->addItem(QStringLiteral("line"));
        test::TypeText(m_form->txtGost, QStringLiteral("Челси"));
        QCOMPARE(m_form->lblDPG[0]->text(), QStringLiteral("Арсенал е победил Челси"));
        QCOMPARE(m_form->lblGDP->text(), QStringLiteral("Челси е победил Арсенал"));
        QCOMPARE(m_form->lblDomakin->text(), QStringLiteral("Арсенал"));
        QCOMPARE(m_form->lblGost->text(), QStringLiteral("Челси"));
        QVERIFY(m_form->cmdPro->isEnabled());
        QVERIFY(m_form->lblProD->isHidden());
        QCOMPARE(m_form->lblProD->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lstStatistika->count(), 0);
        QVERIFY(!m_form->lblZnak->isHidden()); // only the resets hide the sign
        QCOMPARE(Items(m_form->lstGost), QStringList{QStringLiteral("Челси")});

        // A later home change leaves the captions behind until the guest changes.
        m_form->txtDom->setText(QStringLiteral("Милан"));
        QCOMPARE(m_form->lblDPG[0]->text(), QStringLiteral("Арсенал е победил Челси"));
    }

    void pressOnHomeBoxStartsANewMatch_data() {
        QTest::addColumn<bool>("oddsNotAnnounced");
        QTest::newRow("odds announced") << false;
        QTest::newRow("odds not announced") << true;
    }
    void pressOnHomeBoxStartsANewMatch() {
        QFETCH(bool, oddsNotAnnounced);
        m_form->txtDom->setText(QStringLiteral("Ювентус"));
        SetColours(m_form->txtDom, kWhite, kBlack);
        m_form->txtGost->setText(QStringLiteral("Челси"));
        fillBoxes();
        if (oddsNotAnnounced) m_form->chkNokoef->click();
        m_form->chkTUdom->setChecked(true);
        m_form->lblZnak->setText(QStringLiteral("1"));
        m_form->lblZnak->show();
        m_form->lblTempD->setText(QStringLiteral("2"));
        m_form->cmdPro->setEnabled(false);

        QTest::mousePress(m_form->txtDom, Qt::LeftButton);
        for (QLineEdit *box : {m_form->txtDom, m_form->txtGost, m_form->txtD, m_form->txtG})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        for (int i = 0; i < 8; ++i)
            for (QLineEdit *box :
                 {m_form->txtGDplus[i], m_form->txtGDminus[i], m_form->txtGGplus[i], m_form->txtGGminus[i]})
                QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(m_form->txt1->text(), oddsNotAnnounced ? QStringLiteral("2") : QString());
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
        QCOMPARE(m_form->txtClG->text(), QStringLiteral("10"));
        QVERIFY(m_form->lblZnak->text().isEmpty() && m_form->lblZnak->isHidden());
        QCOMPARE(m_form->lblTempD->text(), QStringLiteral("0"));
        QCOMPARE(m_form->simulBarWidth(), 0.01);
        QCOMPARE(BackgroundOf(m_form->txtDom), kBlack);
        QCOMPARE(m_form->lblDPG[0]->text(), QStringLiteral(" е победил "));
        QVERIFY(m_form->cmdPro->isEnabled());
        QVERIFY(m_form->chkTUdom->isChecked()); // options carry over
        QCOMPARE(m_form->chkNokoef->isChecked(), oddsNotAnnounced);
        QVERIFY(!m_form->lstDom->isHidden());
        QVERIFY(m_form->lstGost->isHidden());
        QCOMPARE(Items(m_form->lstDom).size(), 55);
    }

    void clickOnGuestBoxKeepsTheClubs() {
        m_form->txtDom->setText(QStringLiteral("Ювентус"));
        m_form->txtGost->setText(QStringLiteral("Челси"));
        fillBoxes();
        m_form->lblZnak->show();
        m_form->lstDom->show();
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        QCOMPARE(m_form->txtDom->text(), QStringLiteral("Ювентус"));
        QCOMPARE(m_form->txtGost->text(), QStringLiteral("Челси"));
        QCOMPARE(m_form->txtGDplus[7]->text(), QStringLiteral("2"));
        QVERIFY(m_form->txtD->text().isEmpty());
        QVERIFY(m_form->txt2->text().isEmpty());
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
        QVERIFY(m_form->lblZnak->isHidden());
        QVERIFY(m_form->lstDom->isHidden());
        QVERIFY(!m_form->lstGost->isHidden());
        QCOMPARE(Items(m_form->lstGost), QStringList{QStringLiteral("Челси")});
    }

    void oddsAreCheckedWhenLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // while typing
        QTest::addColumn<QString>("after"); // after leaving the box
        QTest::addColumn<bool>("message");
        QTest::newRow("2") << "2"
                           << "2"
                           << "2,00" << false;
        QTest::newRow("15") << "15"
                            << "15"
                            << "15,00" << false;
        QTest::newRow("1,5") << "1,5"
                             << "1,5"
                             << "1,50" << false;
        QTest::newRow("point typed as comma") << "1.5"
                                              << "1,5"
                                              << "1,50" << false;
        QTest::newRow("1,85") << "1,85"
                              << "1,85"
                              << "1,85" << false;
        QTest::newRow("cut, not rounded") << "1,855"
                                          << "1,855"
                                          << "1,85" << false;
        QTest::newRow("12,55") << "12,55"
                               << "12,55"
                               << "12,5" << false;
        QTest::newRow("lower limit") << "1,01"
                                     << "1,01"
                                     << "1,01" << false;
        QTest::newRow("upper limit") << "50"
                                     << "50"
                                     << "50,00" << false;
        QTest::newRow("trailing comma: the number, not 2,,00") << "2,"
                                                               << "2,"
                                                               << "2,00" << false;
        QTest::newRow("leading zeros: not 0020") << "002"
                                                 << "002"
                                                 << "2,00" << false;
        QTest::newRow("leading zero: not 0200") << "020"
                                                << "020"
                                                << "20,00" << false;
        QTest::newRow("trailing blank") << "2 "
                                        << "2 "
                                        << "2,00" << false;
        QTest::newRow("leading blank kept") << " 2"
                                            << " 2"
                                            << " 2,00" << false;
        QTest::newRow("zero appended keeps it") << "02,"
                                                << "02,"
                                                << "02,0" << false;
        QTest::newRow("cut still cuts") << "11,64"
                                        << "11,64"
                                        << "11,6" << false;
        QTest::newRow("cut below the range") << "01,01"
                                             << "01,01"
                                             << "1,01" << false;
        QTest::newRow("cut to blanks") << "    2"
                                       << "    2"
                                       << "2,00" << false;
        QTest::newRow("letter deletes") << "12a5"
                                        << "15"
                                        << "15,00" << false;
        QTest::newRow("empty") << ""
                               << ""
                               << "" << false;
        QTest::newRow("below") << "1"
                               << "1"
                               << "" << true;
        QTest::newRow("above") << "50,5"
                               << "50,5"
                               << "" << true;
        QTest::newRow("just below") << "1,009"
                                    << "1,009"
                                    << "" << true;
        QTest::newRow("lone comma") << ","
                                    << ","
                                    << "" << true;
        QTest::newRow("lone minus") << "-"
                                    << "-"
                                    << "" << true;
        QTest::newRow("not a number") << "1-2"
                                      << "1-2"
                                      << "" << true;
    }
    void oddsAreCheckedWhenLeft() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, after);
        QFETCH(bool, message);
        showActive();
        for (QLineEdit *box : {m_form->txt1, m_form->txtX, m_form->txt2}) {
            m_env->messages.clearShown();
            box->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(box->hasFocus());
            test::TypeText(box, typed);
            QCOMPARE(box->text(), shown);
            QTest::keyClick(box, Qt::Key_Tab);
            QVERIFY(!box->hasFocus());
            QCOMPARE(box->text(), after);
            QCOMPARE(m_env->messages.shown().size(), message ? 1 : 0);
            if (message) {
                const auto &box = m_env->messages.shown().first();
                QCOMPARE(box.title, QStringLiteral("Kalvado - Ruby"));
                QCOMPARE(box.text, QStringLiteral("Коефициента може да е между 1,01 и 50"));
                QCOMPARE(box.icon, MessageBoxes::Icon::Exclamation);
                QCOMPARE(box.buttons, MessageBoxes::Buttons::Ok);
            }
        }
    }

    void scoreBoxesTakeDigitsOnly_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits") << "12"
                                << "12";
        QTest::newRow("latin letter deletes") << "12x"
                                              << "1";
        QTest::newRow("cyrillic letter deletes") << "3б"
                                                 << "";
        QTest::newRow("signs below 0 pass") << "2,5"
                                            << "2,5";
        QTest::newRow("point stays a point") << "2.5"
                                             << "2.5";
    }
    void scoreBoxesTakeDigitsOnly() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        for (QLineEdit *box : {m_form->txtGDplus[0], m_form->txtGGminus[7], m_form->txtD, m_form->txtG}) {
            test::TypeText(box, typed);
            QCOMPARE(box->text(), shown);
        }
    }

    void resultEditsReenableTheButton_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("enables");
        QTest::newRow("home conceded") << "txtGDminus_0" << true;
        QTest::newRow("guest scored") << "txtGGplus_7" << true;
        QTest::newRow("home scored") << "txtGDplus_3" << false;
        QTest::newRow("guest conceded") << "txtGGminus_2" << false;
        QTest::newRow("head-to-head") << "txtD" << false;
        QTest::newRow("odds") << "txt1" << false;
    }
    void resultEditsReenableTheButton() {
        QFETCH(QString, box);
        QFETCH(bool, enables);
        m_form->cmdPro->setEnabled(false);
        test::TypeText(m_form->findChild<QLineEdit *>(box), QStringLiteral("3"));
        QCOMPARE(m_form->cmdPro->isEnabled(), enables);
    }

    void resultsFilledByTheClubWindow() {
        m_form->cmdPro->setEnabled(false);
        ClubBoxes *boxes = m_form;
        boxes->setResult(true, 2, QStringLiteral("4"), QStringLiteral("1"));
        QCOMPARE(m_form->txtGGplus[2]->text(), QStringLiteral("4"));
        QCOMPARE(m_form->txtGGminus[2]->text(), QStringLiteral("1"));
        QVERIFY(m_form->cmdPro->isEnabled());
        boxes->setResult(false, 0, QString(), QStringLiteral("2"));
        QCOMPARE(m_form->txtGDminus[0]->text(), QStringLiteral("2"));
        boxes->setResult(false, 8, QStringLiteral("9"), QStringLiteral("9")); // no such match
        m_form->txtDom->setText(QStringLiteral("Рома"));
        QCOMPARE(boxes->homeName(), QStringLiteral("Рома"));
    }

    void oddsNotAnnounced() {
        m_form->txt1->setText(QStringLiteral("1,50"));
        m_form->chkNokoef->click();
        for (QLineEdit *box : {m_form->txt1, m_form->txtX, m_form->txt2}) {
            QCOMPARE(box->text(), QStringLiteral("2"));
            QVERIFY(box->isHidden());
        }
        m_form->chkNokoef->click();
        for (QLineEdit *box : {m_form->txt1, m_form->txtX, m_form->txt2}) {
            QVERIFY(box->text().isEmpty()); // the earlier odds are gone
            QVERIFY(!box->isHidden());
        }
    }

    void headToHeadExcluded() {
        m_form->txtD->setText(QStringLiteral("5"));
        m_form->chkIzkl10->click();
        QCOMPARE(m_form->chkIzkl10->text(), QStringLiteral("Включи в прогнозата"));
        m_form->tmrEnabTick();
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_form->txtD, m_form->txtG, m_form->lblDPG[0],
                                              m_form->lblDPG[1], m_form->lblDPG[3], m_form->lblGDP})
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        QCOMPARE(m_form->txtD->text(), QStringLiteral("1"));
        QCOMPARE(m_form->txtG->text(), QStringLiteral("1"));
        m_form->txtG->setText(QStringLiteral("7"));
        m_form->tmrEnabTick();
        QCOMPARE(m_form->txtG->text(), QStringLiteral("1"));

        m_form->chkIzkl10->click();
        QCOMPARE(m_form->chkIzkl10->text(), QStringLiteral("Изключи от прогнозата"));
        QVERIFY(m_form->txtD->text().isEmpty() && m_form->txtG->text().isEmpty());
        m_form->tmrEnabTick();
        QVERIFY(!m_form->txtD->isHidden() && !m_form->lblGDP->isHidden());
        QVERIFY(m_form->txtD->text().isEmpty());
    }

    void placesExcluded() {
        m_form->txtClD->setText(QStringLiteral("3"));
        m_form->lstClD->show();
        m_form->chkIzkCl->click();
        QCOMPARE(m_form->chkIzkCl->text(), QStringLiteral("Изключи"));
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
        QVERIFY(!m_form->cmdClD->isEnabled() && !m_form->cmdClG->isEnabled());
        QVERIFY(m_form->lstClD->isHidden());
        m_form->chkIzkCl->click();
        QCOMPARE(m_form->chkIzkCl->text(), QStringLiteral("Включи"));
        QVERIFY(m_form->cmdClD->isEnabled() && m_form->cmdClG->isEnabled());
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
    }

    void placeLists() {
        // Both lists drop down under their boxes, whole, inside the frame.
        QCOMPARE(m_form->lstClD->size(), QSize(Px(615), Px(1035)));
        QCOMPARE(m_form->lstClG->size(), QSize(Px(615), Px(645)));
        for (QWidget *box : {m_form->txtClD, m_form->txtClG}) {
            QListWidget *list = box == m_form->txtClD ? m_form->lstClD : m_form->lstClG;
            QCOMPARE(list->parentWidget(), m_form->Frame1);
            QCOMPARE(list->y(), box->geometry().bottom() + 1);
            QVERIFY(m_form->Frame1->rect().contains(list->geometry()));
        }
        QTest::mouseClick(m_form->cmdClD, Qt::LeftButton);
        QVERIFY(!m_form->lstClD->isHidden());
        QTest::mouseClick(m_form->cmdClD, Qt::LeftButton);
        QVERIFY(m_form->lstClD->isHidden());
        QTest::mouseClick(m_form->cmdClD, Qt::LeftButton);
        QTest::mouseClick(m_form->cmdClG, Qt::LeftButton);
        QVERIFY(m_form->lstClD->isHidden());
        QVERIFY(!m_form->lstClG->isHidden());
        ClickItem(m_form->lstClG, QStringLiteral("3"));
        QCOMPARE(m_form->txtClG->text(), QStringLiteral("3"));
        QVERIFY(m_form->lstClG->isHidden());

        // A click on the form's background or on the frame closes the lists.
        QTest::mouseClick(m_form->cmdClD, Qt::LeftButton);
        QTest::mouseClick(m_form, Qt::LeftButton, {}, QPoint(5, m_form->height() - 5));
        QVERIFY(m_form->lstClD->isHidden());
        QTest::mouseClick(m_form->cmdClG, Qt::LeftButton);
        QTest::mouseClick(m_form->Frame1, Qt::LeftButton, {}, QPoint(m_form->Frame1->width() - 3, 3));
        QVERIFY(m_form->lstClG->isHidden());
    }

    void cupAndLeague() {
        m_form->txtClD->setText(QStringLiteral("2"));
        QTest::mouseClick(m_form->cmdClG, Qt::LeftButton);
        m_form->optKupa->click();
        for (QRadioButton *division : {m_form->chkD, m_form->chkG, m_form->Option1})
            QVERIFY(!division->isHidden());
        QCOMPARE(m_form->txtClD->text(), QStringLiteral("10"));
        QCOMPARE(m_form->txtClG->text(), QStringLiteral("10"));
        QVERIFY(!m_form->cmdClD->isEnabled() && !m_form->cmdClG->isEnabled());
        // An open place list stays open and still sets the place.
        QVERIFY(!m_form->lstClG->isHidden());
        ClickItem(m_form->lstClG, QStringLiteral("5"));
        QCOMPARE(m_form->txtClG->text(), QStringLiteral("5"));
        m_form->chkG->click();
        QVERIFY(m_form->chkG->isChecked());

        m_form->chkIzkCl->click();
        m_form->optLiga->click();
        for (QRadioButton *division : {m_form->chkD, m_form->chkG, m_form->Option1})
            QVERIFY(division->isHidden());
        QVERIFY(m_form->Option1->isChecked());
        QVERIFY(!m_form->chkG->isChecked());
        // League enables the buttons even while the places stay excluded.
        QVERIFY(m_form->cmdClD->isEnabled() && m_form->cmdClG->isEnabled());
        QVERIFY(m_form->chkIzkCl->isChecked());
    }

    void sixMatchOption() {
        auto *options = m_env->windows.get<OptionsWindow>(WindowId::Opt);
        QVERIFY(options && options->chk6);
        const QList<QLineEdit *> firstTwo{m_form->txtGDplus[0],  m_form->txtGDminus[0], m_form->txtGDplus[1],
                                          m_form->txtGDminus[1], m_form->txtGGplus[0],  m_form->txtGGminus[0],
                                          m_form->txtGGplus[1],  m_form->txtGGminus[1]};
        test::TypeText(m_form->txtGDplus[0], QStringLiteral("5"));
        m_form->txtGDplus[2]->setText(QStringLiteral("4"));
        options->chk6->click();
        m_form->tmrEnabTick();
        for (QLineEdit *box : firstTwo) {
            QVERIFY2(box->isHidden(), qPrintable(box->objectName()));
            QCOMPARE(box->text(), QStringLiteral("1"));
        }
        QCOMPARE(m_form->txtGDplus[2]->text(), QStringLiteral("4"));
        // Rewriting the same "1" is no edit: a finished prognosis keeps its
        // button disabled while the option holds the boxes.
        m_form->cmdPro->setEnabled(false);
        m_form->tmrEnabTick();
        QVERIFY(!m_form->cmdPro->isEnabled());

        options->chk6->click();
        m_form->tmrEnabTick();
        for (QLineEdit *box : firstTwo) {
            QVERIFY(!box->isHidden());
            QCOMPARE(box->text(), QStringLiteral("1"));
        }
    }

    void noDatabaseLeavesTheListsEmpty() {
        test::TestEnv env;
        env.ctx.connectionName = QStringLiteral("no such database");
        auto *form = env.windows.get<PrognosisForm>(WindowId::Pro);
        form->tmrEnab->stop();
        QTest::mouseClick(form->txtDom, Qt::LeftButton);
        test::TypeText(form->txtDom, QStringLiteral("Ла"));
        QTest::mouseClick(form->txtGost, Qt::LeftButton);
        QCOMPARE(form->lstDom->count(), 0);
        QCOMPARE(form->lstGost->count(), 0);
        QVERIFY(form->lblDoma->text().isEmpty());
    }
};

QTEST_MAIN(TestPrognosisForm)
#include "tst_prognosisform.moc"
