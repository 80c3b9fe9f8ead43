#include "gui/shell/mainwindow.h"
#include "gui/shell/picturebox.h"
#include "gui/shell/splashwindow.h"
#include "support/testenv.h"

#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace kalvado;

class TestSplashWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;

private slots:
    void init() { m_env = std::make_unique<test::TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void startsWithItsTexts() {
        auto *s = m_env->windows.get<SplashWindow>(WindowId::Splash);
        QCOMPARE(s->Label1->text(), QStringLiteral("Зареждане...."));
        QCOMPARE(s->Label2->text(), QStringLiteral("Version 3.3"));
        QCOMPARE(s->progress(), 15);
        QVERIFY(s->Timer1->isActive());
        QCOMPARE(s->picPro->width(), s->Picture1->contentsRect().width() * 15 / 100);
        QCOMPARE(s->picPro->height(), s->Picture1->contentsRect().height());
    }

    // Tick by tick: the status line, which windows exist, and when the main
    // window comes up.
    void ticksBringUpTheProgramInOrder() {
        auto *s = m_env->windows.get<SplashWindow>(WindowId::Splash);
        s->Timer1->stop();
        s->show();
        int lastWidth = s->picPro->width();
        for (int tick = 1; tick <= 29; ++tick) {
            s->Timer1Tick();
            QCOMPARE(s->progress(), 15 + 3 * tick);
            const QString status = tick < 12   ? QStringLiteral("Зареждане....")
                                   : tick < 25 ? QStringLiteral("Настройки....")
                                               : QStringLiteral("Стартиране....");
            QCOMPARE(s->Label1->text(), status);
            QCOMPARE(m_env->windows.isLoaded(WindowId::Kalv), tick >= 12);
            QCOMPARE(m_env->windows.isLoaded(WindowId::Pro), tick >= 25);
            auto *main = m_env->windows.ifLoaded<MainWindow>(WindowId::Kalv);
            QCOMPARE(main && main->isVisible(), tick == 29);
            if (QWidget *pro = m_env->windows.ifLoaded<QWidget>(WindowId::Pro)) QVERIFY(!pro->isVisible());
            QCOMPARE(s->Timer1->isActive(), false);
            QVERIFY(s->picPro->width() >= lastWidth);
            lastWidth = s->picPro->width();
        }
        QCOMPARE(s->picPro->width(), s->Picture1->contentsRect().width());
        QVERIFY(s->isVisible()); // stays behind the main window
    }

    void timerStopsWhenTheBarIsFull() {
        auto *s = m_env->windows.get<SplashWindow>(WindowId::Splash);
        QTRY_VERIFY_WITH_TIMEOUT(!s->Timer1->isActive(), 20000);
        QCOMPARE(s->progress(), 102);
        QVERIFY(m_env->windows.ifLoaded<MainWindow>(WindowId::Kalv)->isVisible());
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_splashwindow.moc"
