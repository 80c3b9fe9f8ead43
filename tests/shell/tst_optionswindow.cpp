#include "gui/shell/optionswindow.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kalvado;

class TestOptionsWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;

    OptionsWindow *options() { return m_env->windows.get<OptionsWindow>(WindowId::Opt); }
    QString stored() {
        return m_env->settings->ReadSetting(QStringLiteral("opt"), QStringLiteral("o3"),
                                            QStringLiteral("<none>"));
    }
    // Lets a closed window finish going away, as the event loop would.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void init() { m_env = std::make_unique<test::TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void firstRunIsClearAndOkStoresZero() {
        OptionsWindow *w = options();
        QCOMPARE(w->windowTitle(), QStringLiteral("Опция шест мача"));
        QCOMPARE(w->chk6->text(), QStringLiteral("Шест мача"));
        QCOMPARE(w->lblText->text(),
                 QStringLiteral("Тази опция Ви дава възможност да прогнозирате само с въведени 6 мача"));
        QVERIFY(!w->sixMatchOn());
        m_env->windows.show(WindowId::Opt);
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        QCOMPARE(stored(), QStringLiteral("0"));
        settle();
        QVERIFY(!m_env->windows.isLoaded(WindowId::Opt));
    }

    void captionFollowsTheBox() {
        OptionsWindow *w = options();
        w->chk6->click();
        QCOMPARE(w->chk6->text(), QStringLiteral("Осем Мача"));
        QVERIFY(w->sixMatchOn());
        w->chk6->click();
        QCOMPARE(w->chk6->text(), QStringLiteral("Шест Мача"));
        QVERIFY(!w->sixMatchOn());
    }

    void storedValueIsLoaded_data() {
        QTest::addColumn<QString>("o3");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << "1" << true << "Осем Мача";
        QTest::newRow("0") << "0" << false << "Шест мача";
        QTest::newRow("blanks around 1") << " 1 " << true << "Осем Мача";
        QTest::newRow("1,0 reads as 1") << "1,0" << true << "Осем Мача";
        QTest::newRow("not a number") << "да" << false << "Шест мача";
        QTest::newRow("empty") << "" << false << "Шест мача";
        QTest::newRow("2 is no state of the box") << "2" << false << "Шест мача";
        QTest::newRow("-1") << "-1" << false << "Шест мача";
        QTest::newRow("huge") << "99999999" << false << "Шест мача";
    }
    void storedValueIsLoaded() {
        QFETCH(QString, o3);
        QFETCH(bool, ticked);
        QFETCH(QString, caption);
        m_env->settings->WriteSetting(QStringLiteral("opt"), QStringLiteral("o3"), o3);
        OptionsWindow *w = options();
        QCOMPARE(w->sixMatchOn(), ticked);
        QCOMPARE(w->chk6->text(), caption);
    }

    void okPersistsTheTickedBox() {
        OptionsWindow *w = options();
        m_env->windows.show(WindowId::Opt);
        w->chk6->click();
        w->cmdOK->click();
        QCOMPARE(stored(), QStringLiteral("1"));
        settle();
        m_env->reopenSettings();
        OptionsWindow *again = qobject_cast<OptionsWindow *>(m_env->windows.show(WindowId::Opt));
        QVERIFY(again->chk6->isChecked());
        QCOMPARE(again->chk6->text(), QStringLiteral("Осем Мача"));
    }

    void frameCloseDiscardsTheChange() {
        m_env->settings->WriteSetting(QStringLiteral("opt"), QStringLiteral("o3"), QStringLiteral("1"));
        OptionsWindow *w = qobject_cast<OptionsWindow *>(m_env->windows.show(WindowId::Opt));
        w->chk6->click();
        // Until it is confirmed or discarded the query answers with the box as it stands.
        QVERIFY(!options()->sixMatchOn());
        QVERIFY(w->close());
        settle();
        QCOMPARE(stored(), QStringLiteral("1"));
        QVERIFY(options()->sixMatchOn());
        QVERIFY(!options()->isVisible());
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_optionswindow.moc"
