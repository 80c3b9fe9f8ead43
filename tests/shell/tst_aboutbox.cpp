#include "gui/common/widgets.h"
#include "gui/shell/aboutbox.h"
#include "gui/shell/picturebox.h"
#include "support/testenv.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace kalvado;

class TestAboutBox : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;

    AboutBox *box() { return qobject_cast<AboutBox *>(m_env->windows.show(WindowId::ForAs)); }

private slots:
    void init() { m_env = std::make_unique<test::TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void showsNameAndVersion() {
        AboutBox *b = box();
        QCOMPARE(b->windowTitle(), QStringLiteral("Kalvado - Ruby  version 3.1"));
        QCOMPARE(b->Label2->text(), QStringLiteral("Kalvado - Ruby  version 3.3"));
        QCOMPARE(b->Label1[0]->objectName(), QStringLiteral("Label1_0"));
        QVERIFY(b->Timer1->isActive());
        QCOMPARE(b->picOK->geometry(), b->picN->geometry());
        QCOMPARE(b->childAt(b->picOK->geometry().center()), b->picOK);
    }

    void bannerCyclesThroughFiveColours() {
        AboutBox *b = box();
        const QList<QColor> cycle{QColor(255, 255, 255), QColor(255, 0, 0), QColor(255, 255, 0),
                                  QColor(0, 255, 0), QColor(255, 192, 128)};
        QCOMPARE(TextColourOf(b->Label1[0]), QColor(255, 192, 128));
        for (int round = 0; round < 2; ++round)
            for (const QColor &c : cycle) {
                b->Timer1Tick();
                QCOMPARE(TextColourOf(b->Label1[0]), c);
            }
    }

    void colourOutsideTheCycleStays_data() {
        QTest::addColumn<QColor>("colour");
        QTest::newRow("blue") << QColor(0, 0, 255);
        QTest::newRow("nearly white") << QColor(255, 255, 254);
        QTest::newRow("black") << QColor(0, 0, 0);
    }
    void colourOutsideTheCycleStays() {
        QFETCH(QColor, colour);
        AboutBox *b = box();
        SetColours(b->Label1[0], BackgroundOf(b->Label1[0]), colour);
        b->Timer1Tick();
        QCOMPARE(TextColourOf(b->Label1[0]), colour);
    }

    void pointerLightsTheButtonAndClickCloses() {
        AboutBox *b = box();
        QVERIFY(QTest::qWaitForWindowExposed(b));
        const QPoint background(4, b->height() - 4);
        QVERIFY(b->childAt(background) == nullptr);
        QTest::mouseMove(b, background);
        QTest::mouseMove(b->picOK, b->picOK->rect().center());
        QTRY_VERIFY(b->picOK->isHidden());
        QCOMPARE(b->childAt(b->picN->geometry().center()), b->picN);
        QTest::mouseMove(b, background);
        QTRY_VERIFY(b->picOK->isVisible());

        QTest::mouseMove(b->picOK, b->picOK->rect().center());
        QTRY_VERIFY(b->picOK->isHidden());
        QTest::mouseClick(b->picN, Qt::LeftButton);
        QVERIFY(!b->isVisible());
        // Opened again: the same box, with the button's normal look.
        QCOMPARE(box(), b);
        QVERIFY(b->isVisible());
        QVERIFY(!b->picOK->isHidden());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
